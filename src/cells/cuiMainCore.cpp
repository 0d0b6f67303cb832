#include "cells/cuiMainCore.h"

#include "memory/cmcEeprom.h"

uint8_t* cuiDocument::WorkingData() {
    return WorkingImage().Bytes();
}

void cuiViews::OpenChoiceList(const cmcCellCapsule&, int, int, cmcGTex&, const std::string&) {}
void cuiViews::OpenBitEditor(const cmcCellCapsule&, cmcGTex&, uint32_t, int, int, int, int,
                             const std::string&) {}
void cuiViews::OpenSheet(const std::string&) {}
void cuiViews::CloseSheet() {}
void cuiViews::UpdateTitle(const std::string&) {}
void cuiViews::ShowCloneInformation() {}
void cuiViews::ShowWarningMarks(const std::vector<std::string>&, const std::vector<std::string>&) {}
std::string cuiViews::EditPlace(const cmcCellCapsule&) const {
    return std::string();
}
void cuiViews::WorkingImageChanged() {}
std::vector<std::string> cuiViews::DifferingCells(const cmcEeprom&, const cmcEeprom&, int,
                                                  int* count) {
    if (count != nullptr)
        *count = -1;
    return {};
}
int cuiViews::ConfirmWritePreview(const cmcEeprom&, const cmcEeprom&) {
    return kPreviewNotShown;
}
void cuiViews::CloseMainWindow() {}
void cuiViews::Print(bool) {}
bool cuiViews::CanPrintOpenSheet() const {
    return false;
}
int cuiViews::FontSizeSetting() const {
    return 100;
}
void cuiViews::SetFontSizeSetting(int) {}
bool cuiViews::ToolBarVisible() const {
    return false;
}
void cuiViews::ToggleToolBar() {}
void cuiViews::ShowHelp(const std::string&) {}
int cuiViews::MainMenuItemCount(int) const {
    return -1;
}
void cuiViews::MirrorIntoMainMenu(int, const std::string&) {}
