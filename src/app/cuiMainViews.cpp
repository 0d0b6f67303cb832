// What the core asks of the views, carried out on the main window: the open sheet and its
// history, the title, the tree marks, the menus, the view settings, the help, the windows, and
// the device of a COM number.
#include <algorithm>
#include <optional>

#include <QAction>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>
#include <QUrl>

#include "app/TForm1.h"
#include "app/cuiCloneInfoWindow.h"
#include "app/cuiMain.h"
#include "app/cuiPortChooser.h"
#include "app/indProgram.h"
#include "cells/cmcCellNames.h"
#include "clone/cmcPortName.h"
#include "memory/cmcEnviron.h"
#include "platform/cmcSettingsStore.h"
#include "text/cmcGTex.h"
#include "ui/chrome/cuiMenu.h"
#include "ui/chrome/cuiToolBar.h"
#include "ui/chrome/cuiTree.h"
#include "ui/sheet/cuiGrid.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/sheet/cuiSheetFactory.h"

namespace {

QString FromLocal(const std::string& s) {
    return QString::fromLocal8Bit(s.c_str());
}

// The text of a one-line resource with "%d" replaced by a number.
QString WithNumber(const std::string& format, int n) {
    QString text = FromLocal(format);
    text.replace(QLatin1String("%d"), QString::number(n));
    return text;
}

}  // namespace

// ---- Sheets.

std::unique_ptr<cuiSheet> cuiMain::CreateSheet(QWidget* parent, const std::string& reference) {
    return cuiCreateSheet(Core(), parent, reference, Dictionary(), &treeImages_);
}

void cuiMain::OpenSheet(const std::string& sheetRef) {
    CloseSheet();
    if (!rightPanel_)
        return;
    if (noSheet_)
        noSheet_->hide();
    sheet_ = CreateSheet(rightPanel_, sheetRef);
    if (const cuiSheetHistory::Entry* seen = history_.Find(sheetRef))
        sheet_->SetCursorMemory(seen->cursor);
    sheet_->Build();
    OfferSortInPopup();
    if (focusInSheet_ && sheet_->Grid() && sheet_->Grid()->isEnabled())
        sheet_->SetFocus();
    else if (tree_ && tree_->View())
        tree_->View()->setFocus(Qt::OtherFocusReason);
}

void cuiMain::CloseSheet() {
    if (!sheet_)
        return;
    if (sheet_->Grid() && sheet_->Grid()->isVisible()) {
        history_.Remember(sheet_->GetReference(), sheet_->CursorMemory());
        const QWidget* focus = form_ ? form_->focusWidget() : nullptr;
        focusInSheet_ = !(tree_ && tree_->View() && focus == tree_->View());
    }
    sheet_.reset();
}

bool cuiMain::CanPrintOpenSheet() const {
    return sheet_ && sheet_->IsPrintable();
}

// ---- The window.

void cuiMain::UpdateTitle(const std::string& title) {
    (void)title;  // the window marks unsaved changes the platform's way instead
    if (form_) {
        form_->setWindowTitle(FromLocal(session_.WindowTitle()));
        form_->setWindowModified(session_.IsModified());
    }
}

void cuiMain::CloseMainWindow() {
    if (form_)
        form_->close();
}

void cuiMain::ShowWarningMarks(const std::vector<std::string>& errors,
                               const std::vector<std::string>& notices) {
    if (tree_)
        tree_->ApplyMarks(notices, errors);
}

// ---- Settings the View menu shows and changes.

int cuiMain::FontSizeSetting() const {
    return environ_.fontSizePercentage;
}

void cuiMain::SetFontSizeSetting(int percent) {
    environ_.fontSizePercentage =
        std::clamp(int32_t(percent), cmcEnviron::kFontSizeMin, cmcEnviron::kFontSizeMax);
}

bool cuiMain::ToolBarVisible() const {
    return environ_.toolBarVisible;
}

void cuiMain::ToggleToolBar() {
    environ_.toolBarVisible = !environ_.toolBarVisible;
    if (toolBar_)
        toolBar_->SetVisible(environ_.toolBarVisible);
}

// ---- Help and menus.

void cuiMain::ShowHelp(const std::string& path) {
    OpenUrl(path);
}

void cuiMain::OpenUrl(const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(FromLocal(path)));
}

int cuiMain::MainMenuItemCount(int label) const {
    return menu_ ? menu_->ItemCount(label) : -1;
}

void cuiMain::MirrorIntoMainMenu(int label, const std::string& popupKey) {
    if (menu_)
        menu_->PostMirror(label, popupKey);
}

// ---- The device of a COM number.

void cuiMain::AddPortDeviceItem() {
    // The Port menu is the one that holds the COM items.
    QAction* com = menu_ ? menu_->FindItemByLabel(CL_Menu_Port_Com) : nullptr;
    QMenu* port = nullptr;
    if (com != nullptr)
        for (QObject* o : com->associatedObjects())
            if ((port = qobject_cast<QMenu*>(o)) != nullptr)
                break;
    if (port == nullptr)
        return;
    port->addSeparator();
    portDeviceItem_ = port->addAction(QString());
    portDeviceItem_->setObjectName(QStringLiteral("portDeviceItem"));
    UpdatePortDeviceItem();
    QObject::connect(port, &QMenu::aboutToShow, portDeviceItem_,
                     [this] { UpdatePortDeviceItem(); });
    QObject::connect(portDeviceItem_, &QAction::triggered, portDeviceItem_,
                     [this] { ChoosePortDevice(session_.ComPortSetting()); });
}

void cuiMain::UpdatePortDeviceItem() {
    if (portDeviceItem_)
        portDeviceItem_->setText(
            WithNumber(Dictionary().Text("GI_Menu_Port_Device"), session_.ComPortSetting()));
}

bool cuiMain::RunPortChooser(int comNumber, std::string* device) {
    const std::optional<std::string> chosen = cuiPortChooser::Choose(form_, comNumber);
    if (!chosen)
        return false;
    *device = *chosen;
    return true;
}

std::string cuiMain::PortDeviceOf(int comNumber) const {
    if (comNumber == session_.ComPortSetting() && !session_.PortDevice().empty())
        return session_.PortDevice();
    if (portStore_ == nullptr)
        return cmcPortDevice(comNumber);
    return cmcPortDevice(comNumber, [this, comNumber](const std::string&) {
        return cuiPortChooser::StoredDevice(*portStore_, comNumber);
    });
}

bool cuiMain::ChoosePortDevice(int comNumber) {
    std::string device;
    if (!RunPortChooser(comNumber, &device))
        return false;
    if (portStore_ != nullptr)
        return cuiPortChooser::StoreDevice(*portStore_, comNumber, device);
    cmcSettingsStore store(indProgram::kSettingsKey);
    return cuiPortChooser::StoreDevice(store, comNumber, device);
}
