// Clone > Write to several radios: the item the program adds after Write to radio, and the
// window of the fleet run over the main window.
#include <QAction>
#include <QMenu>
#include <algorithm>

#include "app/TForm1.h"
#include "app/cuiFleetWindow.h"
#include "app/cuiMain.h"
#include "cells/cmcCellNames.h"
#include "events/cmcEvMan.h"
#include "platform/cmcPath.h"
#include "session/indRecovery.h"
#include "text/cmcTextUtil.h"
#include "ui/chrome/cuiMenu.h"

namespace {
// COM1 to COM4: the ports the Port menu shows first.
constexpr int kFleetPorts = 4;
}  // namespace

void cuiMain::AddFleetItem() {
    QAction* write = menu_ ? menu_->FindItemByLabel(CL_Menu_Clone_Write) : nullptr;
    QMenu* clone = nullptr;
    if (write != nullptr)
        for (QObject* o : write->associatedObjects())
            if ((clone = qobject_cast<QMenu*>(o)) != nullptr)
                break;
    if (clone == nullptr)
        return;
    fleetItem_ =
        new QAction(QString::fromLocal8Bit(Dictionary().Text("GI_Menu_Clone_Fleet")), form_);
    fleetItem_->setObjectName(QStringLiteral("fleetItem"));
    // Right after Write to radio, which it repeats for many radios.
    const QList<QAction*> items = clone->actions();
    const int at = static_cast<int>(items.indexOf(write));
    QAction* before = at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr;
    clone->insertAction(before, fleetItem_);
    QObject::connect(clone, &QMenu::aboutToShow, fleetItem_,
                     [this] { fleetItem_->setEnabled(!session_.CloneBusy()); });
    QObject::connect(fleetItem_, &QAction::triggered, form_, [this] { OpenFleetWindow(); });
}

bool cuiMain::OpenFleetWindow() {
    if (fleetWindow_ || !form_ || session_.CloneBusy())
        return false;
    // A value half typed is taken first, as before every clone command.
    if (cmcEvMan* events = cmcEvMan::Global())
        events->SendEvent(cmcEvKind::FinishEditing);
    int errors = 0;
    session_.RunWarningCheck(&errors);
    if (errors > 0) {
        cmcHost::Instance().MessageBox(Dictionary().Text("GI_Sys_AppTitle"),
                                       ReadTextBlock(Dictionary(), "GI_Mess_DataError"),
                                       HostIcon::Error, HostButtons::Ok);
        return false;
    }
    const std::string dataDir = indRecovery::StandardDirectory();
    const std::string name = cmcPathFileName(session_.CurrentFileName());
    // The ports of the Port menu's first items, and the current one wherever it is.
    const int current = session_.ComPortSetting();
    std::vector<cmcPortArgument> ports;
    for (int n = 1; n <= std::max(kFleetPorts, current); ++n) {
        if (n > kFleetPorts && n != current)
            continue;
        cmcPortArgument port;
        port.number = n;
        port.device = PortDeviceOf(n);
        ports.push_back(port);
    }
    auto* window = new cuiFleetWindow(form_, session_, name, dataDir + "/Fleet journal.csv",
                                      session_.BackupDirectory(), ports, current);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // The main window stays readable and takes no input while the window is open.
    window->setWindowModality(Qt::WindowModal);
    fleetWindow_ = window;
    window->show();
    return true;
}

cuiFleetWindow* cuiMain::FleetWindow() const {
    return fleetWindow_;
}
