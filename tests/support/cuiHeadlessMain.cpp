#include "cuiHeadlessMain.h"

#include <algorithm>
#include <cstring>

#include "cells/cmcCellCapsule.h"
#include "memory/MemoryMap.h"
#include "platform/cmcHost.h"

cuiHeadlessMain::cuiHeadlessMain() {
    image_.SetSize(MemoryMap::kImageSize);
    template_.SetSize(MemoryMap::kImageSize);
    reference_.SetSize(MemoryMap::kImageSize);
}

cmcGTex& cuiHeadlessMain::Dictionary() {
    if (dictionary_ == nullptr)
        FatalError("No text dictionary.");
    return *dictionary_;
}

cmcFCache& cuiHeadlessMain::SectionCache() {
    if (cache_ == nullptr)
        FatalError("No section cache.");
    return *cache_;
}

void cuiHeadlessMain::OpenChoiceList(const cmcCellCapsule& opener, int itemLabel, int currentValue,
                                     cmcGTex& dictionary, const std::string& listKey) {
    choiceLists_.push_back({itemLabel, currentValue, &dictionary, listKey, opener.key});
}

void cuiHeadlessMain::OpenBitEditor(const cmcCellCapsule& opener, cmcGTex& dictionary,
                                    uint32_t value, int firstBit, int lastBit, int headerStyle,
                                    int markStyle, const std::string& sheetName) {
    (void)opener;
    (void)dictionary;
    bitEditors_.push_back({value, firstBit, lastBit, headerStyle, markStyle, sheetName});
}

bool cuiHeadlessMain::CheckModified() {
    if (!modified_ && image_.IsDifferent(saved_))
        modified_ = true;
    return modified_;
}

void cuiHeadlessMain::MarkSaved() {
    saved_.CopyFrom(image_);
    modified_ = false;
}

void cuiHeadlessMain::SetCloneInfo(const uint8_t* bytes, int length) {
    std::memset(cloneInfo_, 0, sizeof cloneInfo_);
    std::memcpy(cloneInfo_, bytes, size_t(std::clamp(length, 0, kCloneInfoLength)));
}
