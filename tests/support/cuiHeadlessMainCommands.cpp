// The headless controller's commands: recorded, never carried out, so that tests can see which
// command a cell ran and with what.
#include "cuiHeadlessMain.h"

bool cuiHeadlessMain::FileNew() {
    commandLog_.push_back("FileNew");
    return true;
}

bool cuiHeadlessMain::FileOpen() {
    commandLog_.push_back("FileOpen");
    return true;
}

int cuiHeadlessMain::OpenFile(const std::string& path) {
    commandLog_.push_back("OpenFile " + path);
    return 0;
}

int cuiHeadlessMain::FileSaveAs() {
    commandLog_.push_back("FileSaveAs");
    return 0;
}

int cuiHeadlessMain::SaveFile(const std::string& path) {
    commandLog_.push_back("SaveFile " + path);
    return 0;
}

std::string cuiHeadlessMain::CurrentFileName() const {
    return fileName_.empty() ? std::string("Untitled") : fileName_;
}

std::string cuiHeadlessMain::RecentFileText(int n, bool fullPath) const {
    if (n < 0 || size_t(n) >= recentFiles_.size())
        return std::string();
    return fullPath ? recentFiles_[size_t(n)].second : recentFiles_[size_t(n)].first;
}

void cuiHeadlessMain::SetRecentFile(int n, const std::string& shown, const std::string& fullPath) {
    if (n < 0)
        return;
    if (recentFiles_.size() <= size_t(n))
        recentFiles_.resize(size_t(n) + 1);
    recentFiles_[size_t(n)] = {shown, fullPath};
}

void cuiHeadlessMain::CloseMainWindow() {
    commandLog_.push_back("CloseMainWindow");
}

void cuiHeadlessMain::Print(bool all) {
    commandLog_.push_back(all ? "Print all" : "Print current");
}

void cuiHeadlessMain::CloneRead() {
    commandLog_.push_back("CloneRead");
}

void cuiHeadlessMain::CloneWrite() {
    commandLog_.push_back("CloneWrite");
}

void cuiHeadlessMain::CloneInformation() {
    commandLog_.push_back("CloneInfo");
}

void cuiHeadlessMain::OpenSheet(const std::string& sheetRef) {
    commandLog_.push_back("OpenSheet " + sheetRef);
}

void cuiHeadlessMain::CloseSheet() {
    commandLog_.push_back("CloseSheet");
}

void cuiHeadlessMain::SetFontSizeSetting(int percent) {
    fontSize_ = percent;
    commandLog_.push_back("FontSize " + std::to_string(percent));
}

void cuiHeadlessMain::ToggleToolBar() {
    toolBarVisible_ = !toolBarVisible_;
    commandLog_.push_back(toolBarVisible_ ? "ToolBar shown" : "ToolBar hidden");
}

void cuiHeadlessMain::SetComPortSetting(int port) {
    comPort_ = port;
    commandLog_.push_back("ComPort " + std::to_string(port));
}

void cuiHeadlessMain::ShowHelp(const std::string& path) {
    commandLog_.push_back("ShowHelp " + path);
}

int cuiHeadlessMain::MainMenuItemCount(int label) const {
    const auto it = menuItemCounts_.find(label);
    return it == menuItemCounts_.end() ? -1 : it->second;
}

void cuiHeadlessMain::MirrorIntoMainMenu(int label, const std::string& popupKey) {
    commandLog_.push_back("Mirror " + std::to_string(label) + " " + popupKey);
}
