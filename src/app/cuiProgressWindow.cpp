#include "app/cuiProgressWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QWindow>

#include "app/cuiAppText.h"
#include "ui/windows/cuiPlacement.h"

namespace {

// The bar's frame: a one-pixel lowered bevel around the bar.
class ProgressPanel : public QWidget {
public:
    explicit ProgressPanel(QWidget* parent) : QWidget(parent) {
        setFixedSize(cuiProgressWindow::kBoxWidth + 2, cuiProgressWindow::kBoxHeight + 2);
        setObjectName(QStringLiteral("progressPanel"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRect r = rect();
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    }
};

// The bar's paint area, inside the bevel.
class ProgressBox : public QWidget {
public:
    ProgressBox(QWidget* parent, const cuiProgressWindow& owner) : QWidget(parent), owner_(owner) {
        setGeometry(1, 1, cuiProgressWindow::kBoxWidth, cuiProgressWindow::kBoxHeight);
        setObjectName(QStringLiteral("progressBox"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        cuiProgressWindow::PaintCells(p, rect(), owner_.Filled(), owner_.Cells(),
                                      palette().color(QPalette::Highlight),
                                      palette().color(QPalette::Base));
    }

private:
    const cuiProgressWindow& owner_;
};

// The window refuses to be closed by the user while the transfer runs.
class ProgressFrame : public QWidget {
public:
    ProgressFrame() : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
        setObjectName(QStringLiteral("progressWindow"));
    }
    bool closing = false;

protected:
    void closeEvent(QCloseEvent* e) override {
        if (closing)
            e->accept();
        else
            e->ignore();
    }
    void keyPressEvent(QKeyEvent* e) override { e->accept(); }  // no Escape either
};

}  // namespace

cuiProgressWindow::cuiProgressWindow(QWidget* mainWindow) : mainWindow_(mainWindow) {}

cuiProgressWindow::~cuiProgressWindow() {
    Hide();
}

void cuiProgressWindow::PaintCells(QPainter& painter, const QRect& box, int filled, int cells,
                                   const QColor& highlight, const QColor& window) {
    painter.fillRect(box, window);
    if (cells <= 0)
        return;
    const int w = box.width() / cells;
    if (w <= 0)
        return;
    for (int i = 0; i < cells; ++i) {
        const QRect cell(box.left() + i * w, box.top(), w, box.height());
        painter.fillRect(cell, i < filled ? highlight : window);
        painter.fillRect(QRect(cell.right(), cell.top(), 1, cell.height()), window);
    }
}

void cuiProgressWindow::SetMainWindowEnabled(bool enabled) {
    if (!mainWindow_)
        return;
    mainWindow_->setEnabled(enabled);
    if (enabled) {
        mainWindow_->activateWindow();
        mainWindow_->setFocus(Qt::OtherFocusReason);
    }
}

void cuiProgressWindow::Show(const std::string& caption) {
    filled_ = 0;
    done_ = 0;
    total_ = 0;
    if (!window_) {
        // A window of its own, not a child of the main window: disabling the main window would
        // disable its children with it.
        auto* frame = new ProgressFrame;
        frame->setAttribute(Qt::WA_DeleteOnClose);
        // Placed by hand: the bar's frame lies 16 pixels from the left and 8 from the top, and
        // the window is 32 pixels wider than the frame.
        auto* panel = new ProgressPanel(frame);
        panel->move(16, 8);
        new ProgressBox(panel, *this);
        status_ = new QLabel(frame);
        status_->setObjectName(QStringLiteral("progressStatus"));
        status_->setTextFormat(Qt::PlainText);
        status_->setText(QStringLiteral("X\nX"));  // room for both lines from the start
        status_->setGeometry(16, panel->geometry().bottom() + 1 + 6, panel->width(),
                             status_->sizeHint().height());
        frame->setFixedSize(panel->width() + 32, status_->geometry().bottom() + 1 + 10);
        window_ = frame;
        if (mainWindow_) {
            frame->winId();
            if (QWindow* w = frame->windowHandle(); w && mainWindow_->windowHandle())
                w->setTransientParent(mainWindow_->windowHandle());
        }
    }
    window_->setWindowTitle(QString::fromLocal8Bit(caption.c_str()));
    UpdateText();
    CenterOver(window_, mainWindow_);
    window_->show();
    window_->raise();
    SetMainWindowEnabled(false);
}

void cuiProgressWindow::Update(int filled, int cells, int done, int total) {
    filled_ = filled;
    cells_ = cells > 0 ? cells : 32;
    done_ = done;
    total_ = total;
    UpdateText();
    if (QWidget* box = Box())
        box->update();
}

void cuiProgressWindow::Hide() {
    if (!window_)
        return;
    static_cast<ProgressFrame*>(window_.data())->closing = true;
    const bool wasActive = window_->isActiveWindow();
    window_->close();  // deletes it
    window_ = nullptr;
    status_ = nullptr;
    // The main window was enabled first (so that no other program's window is activated when
    // this one goes); now that nothing of ours is active, it takes the keyboard back, to the
    // control that had it.
    if (wasActive && mainWindow_ && mainWindow_->isEnabled() &&
        QApplication::activeModalWidget() == nullptr)
        mainWindow_->activateWindow();
}

void cuiProgressWindow::SetActivity(const std::string& text) {
    activity_ = text;
    UpdateText();
}

QWidget* cuiProgressWindow::Box() const {
    return window_ ? window_->findChild<QWidget*>(QStringLiteral("progressBox")) : nullptr;
}

QString cuiProgressWindow::StatusText() const {
    const QLocale locale;
    QString bytes;
    if (total_ > 0) {
        const int percent = int(qint64(done_) * 100 / total_);
        bytes = cuiFillText(
            cmcGTex::Main()->Line("GI_Mess_Transfer", 2),
            {locale.toString(done_), locale.toString(total_), QString::number(percent)});
    }
    const QString activity = QString::fromLocal8Bit(activity_.c_str());
    if (activity.isEmpty())
        return bytes;
    if (bytes.isEmpty())
        return activity;
    return activity + QLatin1Char('\n') + bytes;
}

void cuiProgressWindow::UpdateText() {
    if (status_)
        status_->setText(StatusText());
}
