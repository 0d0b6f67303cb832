#include "app/cuiTransferProgress.h"

#include "clone/cmcCloneDrv.h"
#include "clone/cmcPortName.h"

cuiTransferProgress::cuiTransferProgress(QWidget* mainWindow, const cmcCloneDrv& driver)
    : cuiProgressWindow(mainWindow), driver_(driver) {}

std::string cuiTransferProgress::ActivityOf(const cmcCloneDrv& driver) {
    using S = cmcCloneDrv::State;
    std::string what;
    switch (driver.GetState()) {
        case S::SendReadRequest:
        case S::ReceiveData:
            what = "Reading from the radio";
            break;
        case S::SendWriteRequest:
        case S::SendData:
        case S::SendEnd:
        case S::AwaitWriteResult:
            what = "Writing to the radio";
            break;
        default:
            return std::string();
    }
    const std::string device =
        driver.PortDevice().empty() ? cmcPortDevice(driver.PortNumber()) : driver.PortDevice();
    return what + " on COM" + std::to_string(driver.PortNumber()) + " (" + device + ")";
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
