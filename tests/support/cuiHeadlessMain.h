#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "cells/cuiMainCore.h"
#include "memory/cmcEeprom.h"
#include "memory/datClipCh.h"

// A recording main controller for the tests: it owns a working image (of the program's size, all
// zero at first) and the clipboard, is given the dictionary and the section cache, records every
// window that would be opened and every command instead of carrying it out, and serves all three
// roles of the core.
class cuiHeadlessMain : public cuiDocument, public cuiViews, public cuiCommands {
public:
    struct ChoiceListRequest {
        int itemLabel = 0;
        int currentValue = 0;
        cmcGTex* dictionary = nullptr;
        std::string listKey;
        int openerKey = 0;  // the key of the opening capsule
    };
    struct BitEditorRequest {
        uint32_t value = 0;
        int firstBit = 0;
        int lastBit = 0;
        int headerStyle = 0;
        int markStyle = 0;
        std::string sheetName;
    };

    cuiHeadlessMain();

    // The roles for the behaviours: all three are this double.
    cuiMainCore Core() { return cuiMainCore{*this, *this, *this}; }

    cmcEeprom& WorkingImage() override { return image_; }
    bool ExpertMode() const override { return expert_; }
    bool GeneralCoverageMode() const override { return generalCoverage_; }
    datClipCh& Clipboard() override { return clipboard_; }
    cmcGTex& Dictionary() override;
    cmcFCache& SectionCache() override;
    void OpenChoiceList(const cmcCellCapsule& opener, int itemLabel, int currentValue,
                        cmcGTex& dictionary, const std::string& listKey) override;
    void OpenBitEditor(const cmcCellCapsule& opener, cmcGTex& dictionary, uint32_t value,
                       int firstBit, int lastBit, int headerStyle, int markStyle,
                       const std::string& sheetName) override;
    void ScheduleWarningCheck() override { ++warningChecksScheduled_; }
    bool CheckModified() override;
    cmcEeprom& TemplateImage() override { return template_; }
    cmcEeprom& SavedImage() override { return saved_; }
    cmcEeprom& ReferenceImage() override { return reference_; }
    const uint8_t* CloneInfo() const override { return cloneInfo_; }

    // Saved image := working image, not modified.
    void MarkSaved();
    void MarkModified() { modified_ = true; }
    bool IsModified() const { return modified_; }
    // How often an edit asked for the delayed warning check.
    int WarningChecksScheduled() const { return warningChecksScheduled_; }
    void SetCloneInfo(const uint8_t* bytes, int length);

    // ---- Commands: each call is recorded in the command log ("FileNew", "OpenFile <path>",
    // "Print all", ...); the states the command cells read are set by the test.
    bool FileNew() override;
    bool FileOpen() override;
    int OpenFile(const std::string& path) override;
    int FileSaveAs() override;
    int SaveFile(const std::string& path) override;
    bool IsUntitled() const override { return fileName_.empty(); }
    std::string CurrentFileName() const override;
    std::string RecentFileText(int n, bool fullPath) const override;
    void CloseMainWindow() override;
    void Print(bool all) override;
    bool CanPrintOpenSheet() const override { return canPrintOpenSheet_; }
    void CloneRead() override;
    void CloneWrite() override;
    void CloneInformation() override;
    void OpenSheet(const std::string& sheetRef) override;
    void CloseSheet() override;
    int FontSizeSetting() const override { return fontSize_; }
    void SetFontSizeSetting(int percent) override;
    bool ToolBarVisible() const override { return toolBarVisible_; }
    void ToggleToolBar() override;
    int ComPortSetting() const override { return comPort_; }
    void SetComPortSetting(int port) override;
    void ShowHelp(const std::string& path) override;
    int MainMenuItemCount(int label) const override;
    void MirrorIntoMainMenu(int label, const std::string& popupKey) override;

    const std::vector<std::string>& CommandLog() const { return commandLog_; }
    void ClearCommandLog() { commandLog_.clear(); }
    void SetFileName(const std::string& path) { fileName_ = path; }
    // Recent file n as shown in the menu and as its full path.
    void SetRecentFile(int n, const std::string& shown, const std::string& fullPath);
    void SetCanPrintOpenSheet(bool on) { canPrintOpenSheet_ = on; }
    // The main menu's item with this label holds `count` items (-1: no such item).
    void SetMainMenuItemCount(int label, int count) { menuItemCounts_[label] = count; }

    void SetExpertMode(bool on) { expert_ = on; }
    void SetGeneralCoverageMode(bool on) { generalCoverage_ = on; }
    void SetDictionary(cmcGTex* dictionary) { dictionary_ = dictionary; }
    void SetSectionCache(cmcFCache* cache) { cache_ = cache; }

    const std::vector<ChoiceListRequest>& ChoiceLists() const { return choiceLists_; }
    const std::vector<BitEditorRequest>& BitEditors() const { return bitEditors_; }

private:
    cmcEeprom image_;
    datClipCh clipboard_;
    cmcGTex* dictionary_ = nullptr;
    cmcFCache* cache_ = nullptr;
    bool expert_ = false;
    bool generalCoverage_ = false;
    std::vector<ChoiceListRequest> choiceLists_;
    std::vector<BitEditorRequest> bitEditors_;
    cmcEeprom template_;
    cmcEeprom saved_;
    cmcEeprom reference_;
    uint8_t cloneInfo_[kCloneInfoLength] = {};
    bool modified_ = false;
    int warningChecksScheduled_ = 0;
    std::vector<std::string> commandLog_;
    std::string fileName_;
    std::vector<std::pair<std::string, std::string>> recentFiles_;
    bool canPrintOpenSheet_ = false;
    int fontSize_ = 100;
    bool toolBarVisible_ = true;
    int comPort_ = 1;
    std::map<int, int> menuItemCounts_;
};

// A headless controller for the life of a scope (a test or a fixture).
class ScopedHeadlessMain {
public:
    ScopedHeadlessMain() = default;
    ScopedHeadlessMain(const ScopedHeadlessMain&) = delete;
    ScopedHeadlessMain& operator=(const ScopedHeadlessMain&) = delete;
    cuiHeadlessMain& operator*() { return main_; }
    cuiHeadlessMain* operator->() { return &main_; }
    cuiMainCore Core() { return main_.Core(); }

private:
    cuiHeadlessMain main_;
};
