#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cells/cuiMainCore.h"
#include "memory/cmcEeprom.h"
#include "memory/datClipCh.h"

// The main controller without windows, for the command-line tool and the tests: it owns a working
// image (of the program's size, all zero at first) and the clipboard, is given the dictionary and
// the section cache, and records every window that would be opened instead of opening it.
class cuiHeadlessMain : public cuiMainCore {
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
};

// Installs a headless controller for the life of a scope.
class ScopedHeadlessMain {
public:
    ScopedHeadlessMain() { cuiMainCore::Install(&main_); }
    ~ScopedHeadlessMain() { cuiMainCore::Install(nullptr); }
    ScopedHeadlessMain(const ScopedHeadlessMain&) = delete;
    ScopedHeadlessMain& operator=(const ScopedHeadlessMain&) = delete;
    cuiHeadlessMain& operator*() { return main_; }
    cuiHeadlessMain* operator->() { return &main_; }

private:
    cuiHeadlessMain main_;
};
