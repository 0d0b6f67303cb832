#include "cells/cuiHeadlessMain.h"

#include "cells/cmcCellCapsule.h"
#include "memory/MemoryMap.h"
#include "platform/cmcHost.h"

cuiHeadlessMain::cuiHeadlessMain() : image_(MemoryMap::kImageSize, 0) {}

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
