#pragma once

// A journey: the whole desktop program started as main() starts it (cuiProgram, the real GUI
// host with its message boxes and file dialogs, real settings and data folders in a scratch
// directory), driven only with what a technician has: keys to the widget with the focus, clicks
// on what is under the pointer, menus opened from the menu bar, dialogs answered with keys.
// Nothing here calls the controller or the session to act; what a journey checks is what the
// technician sees or gets (the window title, the sheet's texts, the tree's marks, files, the
// emulator's image).
//
// Every menu item and tool-bar button a journey reaches is noted; at the end of a journey the
// notes go to a file of its own, and the coverage test lists any item no journey reached.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "JourneyItems.h"
#include "TestPaths.h"
#include "app/TForm1.h"
#include "app/cuiGuiHost.h"
#include "app/cuiProgram.h"
#include "app/indMain.h"
#include "cells/cmcCellObj.h"
#include "ui/chrome/cuiMenu.h"
#include "ui/chrome/cuiToolBar.h"
#include "ui/chrome/cuiTree.h"
#include "ui/sheet/cuiGrid.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/table/cuiSheetTable.h"

namespace journey {

// Long enough for anything a loaded machine does; it only keeps a broken journey from hanging.
constexpr int kPatienceMs = 60000;

}  // namespace journey

class Journey : public ::testing::Test {
protected:
    Journey() {
        EXPECT_TRUE(scratch_.isValid());
        // The program's settings, data (recovery, backups) and lock live in the scratch folder,
        // as they would in a new user's home.
        for (const char* v : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
                              "XDG_RUNTIME_DIR", "XDG_DOCUMENTS_DIR"}) {
            const QString dir = scratch_.filePath(QString::fromLatin1(v));
            QDir().mkpath(dir);
            QFile::setPermissions(
                dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            qputenv(v, QFile::encodeName(dir));
        }
        qputenv("HOME", QFile::encodeName(scratch_.path()));
        // Qt reads the settings folder once per process: every journey points it at its own
        // scratch folder, so that no journey starts with what an earlier one chose (a port, a
        // recent file, a window's place).
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           scratch_.filePath(QStringLiteral("XDG_CONFIG_HOME")));
        cuiProgram::NameApplication();
    }
    ~Journey() override {
        // The watch looks at this fixture: it must not outlive it into the next journey.
        delete dialogWatch_.data();
        Quit();
        WriteNotes();
    }

    // ---- The program.

    // Sets what the technician's settings hold before the program starts (group/key).
    void Setting(const QString& key, const QVariant& value) {
        QSettings settings(QStringLiteral("Vexa"), QStringLiteral("PQ-T590"));
        settings.setValue(key, value);
        settings.sync();
    }
    // Starts the program with these arguments (after the program's path), as main() does, and
    // waits until its window is up and has the keyboard.
    void Start(const std::vector<std::string>& arguments = {}) {
        Quit();
        std::vector<std::string> all{"pqt590"};
        all.insert(all.end(), arguments.begin(), arguments.end());
        host_ = std::make_unique<cuiGuiHost>();
        cmcHost::Install(host_.get());
        program_ = std::make_unique<cuiProgram>(*host_, all);
        ASSERT_TRUE(program_->Start()) << "another copy holds the lock";
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form(), journey::kPatienceMs));
        NoteItems();
    }
    // The program ends as after its window closed.
    void Quit() {
        program_.reset();
        if (host_) {
            cmcHost::Install(nullptr);
            host_.reset();
        }
    }
    bool Running() const { return program_ && program_->Form() && program_->Form()->isVisible(); }

    TForm1* Form() const { return program_ ? program_->Form() : nullptr; }
    // What the window is made of, to look at (never to act through).
    indMain& Window() const { return *program_->Controller(); }
    // The title as the window shows it: the unsaved-changes mark where the window has changes.
    std::string Title() const {
        QString title = Form()->windowTitle();
        title.replace(QStringLiteral("[*]"),
                      Form()->isWindowModified() ? QStringLiteral("*") : QString());
        return title.toStdString();
    }

    std::string Path(const std::string& name) const {
        return scratch_.filePath(QString::fromStdString(name)).toStdString();
    }

    // ---- Waiting.

    template <typename Condition>
    static bool WaitUntil(Condition condition, int limitMs = journey::kPatienceMs) {
        // What came of the last key or click is handled before the condition is looked at,
        // even when it already holds (a popup's activation arrives after the popup is shown).
        Settle();
        return QTest::qWaitFor(condition, limitMs);
    }

    // ---- Keys.

    // The widget a key goes to: the one with the focus, or the active popup or window. A key is
    // pressed only once something has the keyboard (a window the system activates again after
    // a dialog gets it a moment later).
    static QWidget* Focus() {
        (void)WaitUntil([] { return Target() != nullptr; }, 10000);
        return Target();
    }
    // What the window system and the program posted is handled before the next key or click,
    // as between two key strokes of a technician (a popup's activation, a deferred deletion):
    // no waiting, only the events already there.
    static void Settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static QWidget* Target() {
        QWidget* w = QApplication::focusWidget();
        if (w == nullptr)
            w = QApplication::activePopupWidget();
        if (w == nullptr)
            w = QApplication::activeModalWidget();
        if (w == nullptr)
            w = QApplication::activeWindow();
        return w;
    }
    // A key to the widget with the keyboard focus (or the active popup or window).
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = Focus();
        ASSERT_NE(target, nullptr) << "no widget has the keyboard";
        QTest::keyClick(target, key, modifiers);
    }
    static void Keys(Qt::Key key, int times) {
        for (int i = 0; i < times; ++i)
            Key(key);
    }
    // Typed text, character by character, to the widget with the focus (which may change as
    // the first character opens an editor).
    static void Type(const QString& text) {
        for (const QChar c : text) {
            QWidget* target = Focus();
            ASSERT_NE(target, nullptr) << "no widget has the keyboard";
            if (c.unicode() < 0x80) {
                QTest::keyClicks(target, QString(c));
                continue;
            }
            // Above ASCII a keyboard sends the key of the letter (Latin-1 keys are named by
            // their capital) with the character as its text; QTest's own table stops at ASCII.
            const Qt::Key key =
                c.unicode() <= 0xff ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Press, target, key, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, target, key, QString(c), Qt::NoModifier);
        }
    }

    // ---- Dialogs. A question or file dialog runs its own event loop: the answer is arranged
    // before the key or click that opens it, and given when the dialog is up.

    // Answers the next modal dialog that comes up with `answer` (keys sent to it).
    void WhenDialog(std::function<void(QWidget* dialog)> answer) {
        pendingDialogs_.push_back(std::move(answer));
        ArmDialogWatch();
    }
    // Answers the next message box with a key (Return: its default button; Escape: its escape
    // button; a letter: its button of that mnemonic), noting its text.
    void WhenMessage(Qt::Key key, std::string* text = nullptr) {
        WhenDialog([key, text](QWidget* dialog) {
            if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
                if (text != nullptr)
                    *text = box->text().toStdString();
            } else if (text != nullptr) {
                *text =
                    std::string("(not a message box: ") + dialog->metaObject()->className() + ")";
            }
            QWidget* focus = QApplication::focusWidget();
            QWidget* target = focus && dialog->isAncestorOf(focus) ? focus : dialog;
            QTest::keyClick(target, key);
        });
    }
    // Answers the next file dialog: the path typed into its name field, then Return.
    void WhenFileDialog(const std::string& path) {
        WhenDialog([path](QWidget* dialog) {
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QWidget* target = edit ? static_cast<QWidget*>(edit) : dialog;
            if (edit)
                edit->setFocus(Qt::TabFocusReason);
            // Typing starts once the dialog has the keyboard: a name field without the focus
            // takes whatever the dialog's list selects as the folder's files come in, and the
            // typed name is lost among them.
            (void)WaitUntil([target] { return target->hasFocus() || !target->isVisible(); }, 10000);
            QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(target, QString::fromStdString(path));
            // The name's completion list may be open over the field: Escape closes it, as the
            // technician would. Return then goes to the dialog, whose default button is Save or
            // Open (the name field takes every key it is sent, Return included).
            if (QWidget* popup = QApplication::activePopupWidget())
                QTest::keyClick(popup, Qt::Key_Escape);
            // A dialog that is still listing its folder in the background lets the first
            // Return go by, as it does for a technician who types fast: Return again while it
            // is the dialog that asks (never into a question over it).
            QPointer<QWidget> asking(dialog);
            for (int attempt = 0; attempt < 10 && asking && asking->isVisible() &&
                                  QApplication::activeModalWidget() == asking;
                 ++attempt) {
                QTest::keyClick(asking, Qt::Key_Return);
                (void)QTest::qWaitFor([asking] { return !asking || !asking->isVisible(); }, 500);
            }
        });
    }
    // Until StopAnswering, every dialog that comes up is answered with this key.
    void AnswerEveryDialog(Qt::Key key) {
        standing_ = key;
        standingOn_ = true;
        ArmDialogWatch();
    }
    void StopAnswering() { standingOn_ = false; }
    // True when every arranged answer has been given.
    bool DialogsAnswered() const { return pendingDialogs_.empty(); }
    // Waits until the dialogs arranged so far were answered.
    void WaitForDialogs() {
        ASSERT_TRUE(WaitUntil([this] { return DialogsAnswered(); }));
    }

    // ---- Menus and tool bar.

    // Chooses an item through the menu bar from the keyboard: Alt and the title's accelerator,
    // then the arrow keys to the item (by its caption, without the "&"), and Return; submenus
    // on the way are opened with the Right key. Fails when an item is missing or disabled.
    void Choose(const std::vector<QString>& path) { ChooseWhere(path, nullptr); }
    // The same, the last item being the one of that menu that `pick` accepts (path holds the
    // menus above it).
    void ChooseWhere(std::vector<QString> path, std::function<bool(const QAction*)> pick) {
        if (pick)
            path.push_back(QString());
        ASSERT_FALSE(path.empty());
        QMenuBar* bar = Form()->menuBar();
        QAction* title = nullptr;
        for (QAction* a : bar->actions())
            if (journey::Plain(a->text()) == path[0])
                title = a;
        ASSERT_NE(title, nullptr) << "no menu " << path[0].toStdString();
        const QString text = title->text();
        const qsizetype amp = text.indexOf(QLatin1Char('&'));
        ASSERT_GE(amp, 0) << "menu without an accelerator";
        const QChar letter = text.at(amp + 1).toUpper();
        Key(Qt::Key(letter.unicode()), Qt::AltModifier);
        ASSERT_TRUE(WaitUntil([title] {
            return QApplication::activePopupWidget() == title->menu();
        })) << "the menu "
            << path[0].toStdString() << " did not open";
        for (size_t level = 1; level < path.size(); ++level) {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            QAction* wanted = nullptr;
            const bool last = level + 1 == path.size();
            for (QAction* a : menu->actions()) {
                if (a->isSeparator() || !a->isVisible())
                    continue;
                if (last && pick ? pick(a) : journey::Plain(a->text()).trimmed() == path[level])
                    wanted = a;
            }
            ASSERT_NE(wanted, nullptr)
                << "no item " << path[level].toStdString() << " in " << Captions(menu);
            ASSERT_TRUE(wanted->isEnabled()) << path[level].toStdString() << " is disabled";
            for (int step = 0; step < 64 && menu->activeAction() != wanted; ++step)
                QTest::keyClick(menu, Qt::Key_Down);
            ASSERT_EQ(menu->activeAction(), wanted)
                << "the keys do not reach " << path[level].toStdString();
            if (level + 1 < path.size()) {
                ASSERT_NE(wanted->menu(), nullptr) << path[level].toStdString() << " has no menu";
                QTest::keyClick(menu, Qt::Key_Right);
                ASSERT_TRUE(WaitUntil(
                    [wanted] { return QApplication::activePopupWidget() == wanted->menu(); }));
            } else {
                QTest::keyClick(menu, Qt::Key_Return);
            }
        }
    }
    // The items a menu shows now (opened by a click on its title, and closed again): captions
    // and whether each is enabled.
    struct MenuEntry {
        QString caption;
        bool enabled;
    };
    std::vector<MenuEntry> ShowMenu(const QString& title) {
        std::vector<MenuEntry> out;
        QMenuBar* bar = Form()->menuBar();
        for (QAction* a : bar->actions()) {
            if (journey::Plain(a->text()) != title || !a->menu())
                continue;
            QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(a).center());
            EXPECT_TRUE(WaitUntil([a] { return QApplication::activePopupWidget() == a->menu(); }));
            for (QAction* item : a->menu()->actions())
                if (!item->isSeparator() && item->isVisible())
                    out.push_back({journey::Plain(item->text()), item->isEnabled()});
            CloseMenu(a->menu());
        }
        return out;
    }
    // Escape closes the open menu and then, a second time, leaves the menu bar, whose title
    // the first Escape leaves highlighted: the keyboard is back where it was.
    void CloseMenu(QMenu* menu) {
        QTest::keyClick(menu, Qt::Key_Escape);
        ASSERT_TRUE(WaitUntil([] { return QApplication::activePopupWidget() == nullptr; }));
        if (QApplication::focusWidget() == Form()->menuBar())
            QTest::keyClick(Form()->menuBar(), Qt::Key_Escape);
        EXPECT_NE(QApplication::focusWidget(), Form()->menuBar());
    }
    // Clicks the tool-bar button whose hint begins with this text.
    void Click(const QString& hintStart) {
        cuiToolBar* bar = Window().ToolBar();
        ASSERT_NE(bar, nullptr);
        for (int i = 0; i < bar->ButtonCount(); ++i) {
            QAction* action = bar->Button(i);
            if (!action || !action->toolTip().startsWith(hintStart))
                continue;
            for (QToolBar* line : bar->Lines())
                if (QWidget* button = line->widgetForAction(action)) {
                    ASSERT_TRUE(button->isEnabled()) << hintStart.toStdString();
                    QTest::mouseClick(button, Qt::LeftButton);
                    return;
                }
        }
        FAIL() << "no tool-bar button " << hintStart.toStdString();
    }

    // ---- The tree and the sheet.

    QTreeWidget* TreeView() const { return Window().Tree() ? Window().Tree()->View() : nullptr; }
    // Clicks the tree node with this caption and waits until its sheet is open.
    void OpenNode(const QString& caption) {
        QTreeWidget* view = TreeView();
        ASSERT_NE(view, nullptr);
        const auto found = view->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(found.isEmpty()) << caption.toStdString();
        QTreeWidgetItem* node = found.first();
        for (QTreeWidgetItem* p = node->parent(); p; p = p->parent())
            p->setExpanded(true);
        view->scrollToItem(node);
        const QRect r = view->visualItemRect(node);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
        const std::string reference = SheetReferenceOf(node);
        ASSERT_TRUE(WaitUntil([this, reference] {
            return Sheet() && Sheet()->GetReference() == reference;
        })) << caption.toStdString()
            << " did not open";
    }
    static std::string SheetReferenceOf(const QTreeWidgetItem* node) {
        const cmcCellObj* cell = cuiTree::CellOf(node);
        return cell && cell->argText ? *cell->argText : std::string();
    }
    int MarkOf(const QString& caption) const {
        const auto found = TreeView()->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? -2 : cuiTree::MarkOf(found.first());
    }
    cuiSheet* Sheet() const { return Window().Sheet(); }
    QWidget* GridViewport() const {
        return Sheet() && Sheet()->Grid() ? Sheet()->Grid()->viewport() : nullptr;
    }
    bool GridHasFocus() const {
        const bool has = Sheet() && Sheet()->Grid() && Sheet()->Grid()->hasFocus();
        if (!has && qEnvironmentVariableIsSet("PQ_JOURNEY_DEBUG")) {
            QWidget* f = QApplication::focusWidget();
            qWarning("focus: %s %s, active window %s", f ? f->metaObject()->className() : "none",
                     f ? qPrintable(f->objectName()) : "",
                     QApplication::activeWindow()
                         ? QApplication::activeWindow()->metaObject()->className()
                         : "none");
        }
        return has;
    }
    // Tab from the tree into the sheet (the keyboard's way there), and waits for it.
    void TabIntoSheet() {
        ASSERT_TRUE(WaitUntil([this] { return Sheet() != nullptr; }));
        for (int i = 0; i < 4 && !GridHasFocus(); ++i)
            Key(Qt::Key_Tab);
        ASSERT_TRUE(GridHasFocus()) << "Tab does not reach the sheet";
    }
    // Clicks a cell of the open sheet (scrolled into view first, as the scroll bars would).
    void ClickCell(int col, int row) {
        cuiGrid* grid = Sheet()->Grid();
        grid->ShowCell(col, row);
        Settle();
        const QRect r = grid->CellRect(col, row);
        ASSERT_FALSE(r.isEmpty()) << "cell " << col << "," << row << " not on screen";
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }
    // What the open sheet's cell shows now (its behaviour's display text, as it is drawn).
    std::string Shown(int col, int row) {
        cuiSheetTable table(Window().Core(), Sheet()->GetReference());
        return table.Text(col, row);
    }
    // The row and column of the first cell of the open sheet showing this text.
    bool Find(const std::string& text, int* col, int* row) {
        cuiSheetTable table(Window().Core(), Sheet()->GetReference());
        for (int r = 0; r < table.Rows(); ++r)
            for (int c = 0; c < table.Columns(); ++c)
                if (table.Text(c, r) == text) {
                    *col = c;
                    *row = r;
                    return true;
                }
        return false;
    }
    std::string StatusText() const { return Window().MessageText(); }

    // ---- The radio.

    // Points COM1 at a device in the settings, as Port › Device of COM1 keeps it.
    void PortCom1(const std::string& device) {
        Setting(QStringLiteral("Ports/COM1"), QString::fromStdString(device));
    }

    // ---- Coverage notes.

    std::set<std::string> reached_;

private:
    static std::string Captions(const QMenu* menu) {
        std::string out;
        for (QAction* a : menu->actions())
            out += "[" + journey::Plain(a->text()).toStdString() + "]";
        return out;
    }
    void ArmDialogWatch() {
        if (dialogWatch_) {
            dialogWatch_->start();
            return;
        }
        // A look every few milliseconds for the dialog, which comes up in the event loop of
        // its own that the opening key or click runs.
        dialogWatch_ = new QTimer(QCoreApplication::instance());
        dialogWatch_->setInterval(5);
        QObject::connect(dialogWatch_, &QTimer::timeout, dialogWatch_, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (pendingDialogs_.empty() && !standingOn_) {
                dialogWatch_->stop();
                return;
            }
            if (modal == nullptr || modal == lastAnswered_ || !modal->isVisible())
                return;
            // A dialog is answered once it has the keyboard, as a technician sees it come up
            // and then types.
            if (!modal->isActiveWindow())
                return;
            if (pendingDialogs_.empty()) {
                lastAnswered_ = modal;
                QWidget* focus = QApplication::focusWidget();
                QTest::keyClick(focus && modal->isAncestorOf(focus) ? focus : modal, standing_);
                return;
            }
            lastAnswered_ = modal;
            auto answer = std::move(pendingDialogs_.front());
            pendingDialogs_.erase(pendingDialogs_.begin());
            answer(modal);
        });
        dialogWatch_->start();
    }
    // Notes every item the menu bar and the tool bar hold now, and when they are triggered.
    void NoteItems() {
        // Items chosen in a menu (also those a mirror adds later), and items reached by their
        // shortcuts.
        QObject::connect(Form()->menuBar(), &QMenuBar::triggered, Form(),
                         [this](QAction* a) { Note(a); });
        const QList<QAction*> titles = Form()->menuBar()->actions();
        std::vector<QAction*> pending(titles.begin(), titles.end());
        while (!pending.empty()) {
            QAction* a = pending.back();
            pending.pop_back();
            QObject::connect(a, &QAction::triggered, Form(), [this, a] { Note(a); });
            if (a->menu())
                for (QAction* c : a->menu()->actions())
                    pending.push_back(c);
        }
        for (QAction* a : Form()->actions())
            QObject::connect(a, &QAction::triggered, Form(), [this, a] { Note(a); });
        cuiToolBar* bar = Window().ToolBar();
        for (int i = 0; bar && i < bar->ButtonCount(); ++i)
            if (QAction* action = bar->Button(i))
                QObject::connect(action, &QAction::triggered, Form(),
                                 [this, bar, i] { reached_.insert(journey::ButtonName(*bar, i)); });
    }

private:
    void Note(QAction* a) {
        if (a && !a->isSeparator())
            reached_.insert(journey::ItemName(a));
    }
    void WriteNotes() {
#ifdef PQ_JOURNEY_NOTES_DIR
        const QByteArray dir = PQ_JOURNEY_NOTES_DIR;
#else
        const QByteArray dir;
#endif
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        if (dir.isEmpty() || info == nullptr)
            return;
        QDir().mkpath(QString::fromLocal8Bit(dir));
        // A parameterised journey's names hold "/": one file name all the same.
        QString name = QString::fromLatin1(info->test_suite_name()) + QLatin1Char('.') +
                       QString::fromLatin1(info->name());
        name.replace(QLatin1Char('/'), QLatin1Char('_'));
        QFile file(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name + QStringLiteral(".txt"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return;
        for (const std::string& item : reached_)
            file.write(QByteArray::fromStdString(item + "\n"));
    }

    QTemporaryDir scratch_;
    std::unique_ptr<cuiGuiHost> host_;
    std::unique_ptr<cuiProgram> program_;
    std::vector<std::function<void(QWidget*)>> pendingDialogs_;
    QPointer<QTimer> dialogWatch_;
    QPointer<QWidget> lastAnswered_;
    Qt::Key standing_ = Qt::Key_Escape;
    bool standingOn_ = false;
};
