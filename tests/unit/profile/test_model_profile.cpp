#include <gtest/gtest.h>

#include <cstring>

#include "memory/MemoryMap.h"
#include "memory/cmcEeprom.h"
#include "profile/ModelProfile.h"

namespace {
void MakeValid(cmcEeprom& image) {
    image.SetSize(MemoryMap::kImageSize);
    image.SetByte(MemoryMap::kMapRevision, 7);
    std::memcpy(image.Bytes() + MemoryMap::kMakerText, "VEXA Inc", 8);
}
}  // namespace

TEST(ModelProfile, AcceptsAnImageOfThisLayout) {
    cmcEeprom image;
    MakeValid(image);
    EXPECT_EQ(ModelProfile::CheckImage(image, false), 0);
    EXPECT_EQ(ModelProfile::CheckImage(image, true), 0);
}

TEST(ModelProfile, MapRevisionSixIsRejectedByFilesAndRadio) {
    cmcEeprom image;
    MakeValid(image);
    image.SetByte(MemoryMap::kMapRevision, 6);
    EXPECT_EQ(ModelProfile::CheckImage(image, false), 1);
    EXPECT_EQ(ModelProfile::CheckImage(image, true), 1);
}

TEST(ModelProfile, ChangedMakerTextPassesFromAFileOnly) {
    cmcEeprom image;
    MakeValid(image);
    image.SetByte(MemoryMap::kMakerText + 7, 'C');
    EXPECT_EQ(ModelProfile::CheckImage(image, false), 0);
    EXPECT_EQ(ModelProfile::CheckImage(image, true), 1);
}

TEST(ModelProfile, ImageTooSmallIsRejectedNotFatal) {
    cmcEeprom image;
    image.SetSize(MemoryMap::kMapRevision + 1);
    image.SetByte(MemoryMap::kMapRevision, 7);
    EXPECT_EQ(ModelProfile::CheckImage(image, false), 0);
    EXPECT_EQ(ModelProfile::CheckImage(image, true), 1);
    cmcEeprom empty;
    EXPECT_EQ(ModelProfile::CheckImage(empty, false), 1);
}
