// The in-place editor: a borderless text field over the cell being edited. Enter, Up, Down and
// leaving it commit its text to the cell's behaviour; Escape drops it.
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

#include "cells/cmcCellFont.h"
#include "events/cmcEvMan.h"
#include "ui/sheet/cuiSheet.h"

namespace {

constexpr int kEditorMaxLength = 1024;

// The editor control: a multi-line text field without border or scroll bars whose text starts
// about where the cell's own text stood.
class InPlaceEdit : public QPlainTextEdit {
public:
    explicit InPlaceEdit(QWidget* parent) : QPlainTextEdit(parent) {
        setFrameShape(QFrame::NoFrame);
        setLineWrapMode(QPlainTextEdit::NoWrap);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setTabChangesFocus(true);
        document()->setDocumentMargin(0);
        setViewportMargins(3, 0, 0, 0);
    }
};

std::string EditorText(const QPlainTextEdit* editor) {
    return editor->toPlainText().toLocal8Bit().toStdString();
}

}  // namespace

bool cuiSheet::EditorShowing() const {
    return editor_ && !editor_->isHidden();
}

void cuiSheet::OpenEditor(int col, int row) {
    ClearRange();
    MoveTo(col, row);
    // The cursor's cell may have been scrolled away (the wheel leaves the cursor where it is):
    // the editor opens on it in view, never on an empty rectangle that would swallow the key.
    grid_->ShowCell(col, row);
    QWidget* host = grid_->parentWidget();
    if (!editor_) {
        editor_ = new InPlaceEdit(host);
        editor_->hide();
        editor_->installEventFilter(this);
        connect(editor_, &QPlainTextEdit::textChanged, this, &cuiSheet::OnEditorTextChanged);
    }
    const QRect cell = grid_->CellRect(col, row);
    const QPoint origin = grid_->viewport()->mapTo(host, cell.topLeft());
    editor_->setGeometry(QRect(origin, cell.size()));
    if (cell.width() < 1 || cell.height() - 1 <= 0)
        return;
    const cmcCellObj& c = CellAt(col, row);
    const cmcCellFont& font = FontOf(c);
    editor_->setFont(ToQFont(font));
    QPalette pal = editor_->palette();
    pal.setColor(QPalette::Text, ToQColor(font.color, pal));
    editor_->setPalette(pal);
    const int h = QFontMetrics(editor_->font(), editor_).height();
    int top = origin.y();
    int height = cell.height() - 1;
    if (h < cell.height()) {
        height = h;
        switch (c.VAlignment()) {
            case cmcCellObj::kMiddle:
                top = origin.y() + (cell.height() - h) / 2;
                break;
            case cmcCellObj::kBottom:
                top = origin.y() + cell.height() - h - 1;
                break;
            default:
                break;
        }
    }
    editor_->setGeometry(origin.x(), top, cell.width(), height);
    editor_->document()->clearUndoRedoStacks();
    editor_->show();
    editor_->raise();
    if (editor_->isVisible())
        editor_->setFocus(Qt::OtherFocusReason);
    editorCol_ = col;
    editorRow_ = row;
}

void cuiSheet::CloseEditor(bool returnFocus) {
    if (!editor_)
        return;
    if (EditorShowing() && returnFocus) {
        // Taking the focus back commits, as leaving the editor always does. The commit is made
        // here rather than left to the focus change, which a window that is not active never
        // reports.
        const bool commit = commitAttached_;
        const std::string text = EditorText(editor_);
        const int col = editorCol_, row = editorRow_;
        commitAttached_ = false;
        grid_->setFocus(Qt::OtherFocusReason);
        editor_->hide();
        commitAttached_ = true;
        if (commit)
            Act(col, row, kKeyEnter, 0, &text);
        return;
    }
    editor_->hide();
}

void cuiSheet::CommitEditor() {
    if (!EditorShowing() || !commitAttached_)
        return;
    const std::string text = EditorText(editor_);
    const int col = editorCol_, row = editorRow_;
    // Hidden first, so that an editor the behaviour opens again stays open.
    commitAttached_ = false;
    editor_->hide();
    commitAttached_ = true;
    Act(col, row, kKeyEnter, 0, &text);
}

void cuiSheet::ReopenEditor(cmcCellCapsule& capsule, int flag) {
    if (flag != 0 || capsule.cell != &CellAt(CursorCol(), CursorRow()))
        return;
    OpenEditor(CursorCol(), CursorRow());
    if (!EditorShowing())
        return;
    editor_->setPlainText(QString::fromLocal8Bit(capsule.outputText.c_str()));
    QTextCursor cursor = editor_->textCursor();
    const int length = int(editor_->toPlainText().size());
    const int start = std::clamp(capsule.selStart, 0, length);
    cursor.setPosition(start);
    cursor.setPosition(std::clamp(start + capsule.selLength, 0, length), QTextCursor::KeepAnchor);
    editor_->setTextCursor(cursor);
}

void cuiSheet::ReopenCallback(void* self, cmcCellCapsule& capsule, int flag) {
    static_cast<cuiSheet*>(self)->ReopenEditor(capsule, flag);
}

void cuiSheet::OnEditorTextChanged() {
    QTextDocument* doc = editor_->document();
    if (doc->characterCount() - 1 <= kEditorMaxLength)
        return;
    QTextCursor cursor(doc);
    cursor.setPosition(kEditorMaxLength);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

bool cuiSheet::EditorKey(QKeyEvent& event) {
    ClearStatus();
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            CloseEditor(true);
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            CloseEditor(true);
            MoveBy(0, event.key() == Qt::Key_Up ? -1 : 1);
            return true;
        case Qt::Key_Escape:
            commitAttached_ = false;
            CloseEditor(true);
            commitAttached_ = true;
            return true;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            CloseEditor(true);
            GridKeyDown(event);
            return true;
        default:
            return false;
    }
}

bool cuiSheet::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_) {
        if (event->type() == QEvent::KeyPress && EditorShowing())
            return EditorKey(*static_cast<QKeyEvent*>(event));
        // A popup (the editor's own context menu) takes the focus only for a while.
        if (event->type() == QEvent::FocusOut &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            CommitEditor();
    }
    return QObject::eventFilter(watched, event);
}
