#include "ui/windows/cuiDebugWin.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "events/cmcEvMan.h"
#include "text/cmcGTex.h"
#include "ui/windows/cuiPlacement.h"

cuiDebugWin::cuiDebugWin(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window) {
    setObjectName(QStringLiteral("freeDebugWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Line 5 of the debug windows' texts; the program's dictionary, as no other is given.
    setWindowTitle(QString::fromLocal8Bit(cmcGTex::Main()->Line("GI_Debug_Window", 5).c_str()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    text_ = new QPlainTextEdit(this);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(text_);
    const int height =
        mainWindow ? std::max(int(0.8 * mainWindow->height()), kMinHeight) : kMinHeight;
    resize(kWidth, height);
    CenterOver(this, mainWindow);
    if (cmcEvMan* events = cmcEvMan::Global()) {
        events->AddHandler(&cuiDebugWin::OnEvent, this);
        registered_ = true;
    }
    show();
}

cuiDebugWin::~cuiDebugWin() {
    if (registered_) {
        if (cmcEvMan* events = cmcEvMan::Global())
            events->RemoveHandler(&cuiDebugWin::OnEvent, this);
    }
}

void cuiDebugWin::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    GiveActivationBack(this);
}

void cuiDebugWin::OnEvent(void* self, const cmcEvent& event) {
    if (event.kind != cmcEvKind::DebugText)
        return;
    auto* window = static_cast<cuiDebugWin*>(self);
    // Appending would move what the reader is looking at or selecting.
    if (window->text_->hasFocus())
        return;
    window->text_->appendPlainText(QString::fromLocal8Bit(event.Text()));
}
