#include "app/cuiTransferProgress.h"

#include "clone/cmcCloneDrv.h"
#include "clone/cmcPortName.h"

cuiTransferProgress::cuiTransferProgress(QWidget* mainWindow, const cmcCloneDrv& driver)
    : cuiProgressWindow(mainWindow), driver_(driver), mainWindow_(mainWindow) {}

void cuiTransferProgress::SetMainWindowEnabled(bool enabled) {
    if (!enabled && mainWindow_ && mainWindow_->isEnabled())
        focus_ = mainWindow_->focusWidget();
    cuiProgressWindow::SetMainWindowEnabled(enabled);
    if (enabled && focus_) {
        focus_->setFocus(Qt::OtherFocusReason);
        focus_ = nullptr;
    }
}

std::string cuiTransferProgress::ActivityOf(const cmcCloneDrv& driver) {
    using S = cmcCloneDrv::State;
    std::string what;
    switch (driver.GetState()) {
        case S::SendReadRequest:
        case S::ReceiveData:
            what = "Reading from";
            break;
        case S::SendWriteRequest:
        case S::SendData:
        case S::SendEnd:
        case S::AwaitWriteResult:
            what = "Writing to";
            break;
        default:
            return std::string();
    }
    // Short enough for the line under the bar: the COM number, and the device it stands for
    // unless that is the port itself (Windows): a cable's /dev/ttyUSB0, the demo radio's pty.
    const std::string device =
        driver.PortDevice().empty() ? cmcPortDevice(driver.PortNumber()) : driver.PortDevice();
    return what + " " + cmcPortLabel(driver.PortNumber(), device);
}

void cuiTransferProgress::Show(const std::string& caption) {
    SetActivity(ActivityOf(driver_));
    cuiProgressWindow::Show(caption);
}

void cuiTransferProgress::Update(int filled, int cells, int done, int total) {
    const std::string activity = ActivityOf(driver_);
    if (!activity.empty())  // the last words stay while the driver finishes
        SetActivity(activity);
    cuiProgressWindow::Update(filled, cells, done, total);
}
