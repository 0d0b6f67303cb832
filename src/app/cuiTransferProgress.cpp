#include "app/cuiTransferProgress.h"

#include "clone/cmcCloneDrv.h"
#include "clone/cmcPortName.h"
#include "text/cmcGTex.h"
#include "text/cmcTextUtil.h"

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
    // Lines of "GI_Mess_Transfer".
    enum { kReading = 0, kWriting = 1 };
    int what;
    switch (driver.GetState()) {
        case S::SendReadRequest:
        case S::ReceiveData:
            what = kReading;
            break;
        case S::SendWriteRequest:
        case S::SendData:
        case S::SendEnd:
        case S::AwaitWriteResult:
            what = kWriting;
            break;
        default:
            return std::string();
    }
    // Short enough for the line under the bar: the COM number, and the device it stands for
    // unless that is the port itself (Windows): a cable's /dev/ttyUSB0, the demo radio's pty.
    const std::string device =
        driver.PortDevice().empty() ? cmcPortDevice(driver.PortNumber()) : driver.PortDevice();
    return FillPlaceholders(cmcGTex::Main()->Line("GI_Mess_Transfer", what),
                            {cmcPortLabel(driver.PortNumber(), device)});
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
