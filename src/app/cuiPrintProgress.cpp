#include "app/cuiPrintProgress.h"

#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QWindow>
#include <functional>

#include "text/cmcGTex.h"
#include "ui/windows/cuiPlacement.h"

namespace {

// Escape and the window system's close request are the Cancel button; the window itself goes
// only when printing has ended.
class PrintFrame : public QDialog {
public:
    explicit PrintFrame(std::function<void()> cancel)
        : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
          cancel_(std::move(cancel)) {
        setObjectName(QStringLiteral("printProgress"));
        setModal(false);
    }
    bool closing = false;

    void reject() override { cancel_(); }

protected:
    void closeEvent(QCloseEvent* e) override {
        if (closing) {
            e->accept();
            return;
        }
        e->ignore();
        cancel_();
    }

private:
    std::function<void()> cancel_;
};

QString Local(const std::string& text) {
    return QString::fromLocal8Bit(text.c_str());
}

}  // namespace

cuiPrintProgress::cuiPrintProgress(QWidget* mainWindow, cmcGTex& dictionary)
    : mainWindow_(mainWindow), dictionary_(dictionary) {}

cuiPrintProgress::~cuiPrintProgress() {
    Hide();
}

void cuiPrintProgress::SetCancelCallback(CancelCallback callback, void* context) {
    callback_ = callback;
    context_ = context;
}

void cuiPrintProgress::Cancelled() {
    if (callback_)
        callback_(context_);
}

void cuiPrintProgress::Show() {
    if (window_) {
        window_->raise();
        return;
    }
    const char* key = "GI_Sys_Printer_PrintingDialog";
    auto* frame = new PrintFrame([this] { Cancelled(); });
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setWindowTitle(Local(dictionary_.Line(key, 0)));
    label_ = new QLabel(frame);
    label_->setTextFormat(Qt::PlainText);  // "&" is shown, never an accelerator
    label_->setText(Local(dictionary_.Line(key, 1)));
    label_->adjustSize();
    button_ = new QPushButton(Local(dictionary_.Line(key, 2)), frame);
    button_->setDefault(true);
    button_->setAutoDefault(true);
    QObject::connect(button_, &QPushButton::clicked, frame, [this] { Cancelled(); });

    const int labelW = label_->width(), labelH = label_->height();
    const int buttonW = int(labelW * 1.2);
    const int buttonH = button_->sizeHint().height();
    const int clientW = labelW * 2;
    const int clientH = (labelH + buttonH) * 3;
    button_->resize(buttonW, buttonH);
    label_->move((clientW - labelW) / 2, labelH * 2);
    button_->move((clientW - buttonW) / 2, clientH - int(buttonH * 1.5));
    frame->setFixedSize(clientW, clientH);
    window_ = frame;
    if (mainWindow_) {
        frame->winId();
        if (QWindow* w = frame->windowHandle(); w && mainWindow_->windowHandle())
            w->setTransientParent(mainWindow_->windowHandle());
    }
    CenterOver(frame, mainWindow_);
    frame->show();
    frame->raise();
    button_->setFocus(Qt::OtherFocusReason);
}

void cuiPrintProgress::Hide() {
    if (!window_)
        return;
    static_cast<PrintFrame*>(window_.data())->closing = true;
    window_->close();  // deletes it
    window_ = nullptr;
    label_ = nullptr;
    button_ = nullptr;
}
