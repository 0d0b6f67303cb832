#include <gtest/gtest.h>

#include "ScopedMainDictionary.h"
#include "TestPaths.h"
#include "cells/cmcFCache.h"
#include "cmcTestHost.h"
#include "cuiHeadlessMain.h"
#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "memory/cmcEeprom.h"
#include "memory/cmcRange.h"
#include "profile/ModelProfile.h"
#include "text/cmcGTex.h"

namespace MM = MemoryMap;

namespace {

// The product's own resource file and default image.
class DefaultImage : public ::testing::Test {
protected:
    DefaultImage() {
        dict.SetFile(ResourcePath("PQT590.OVL"));
        main->SetDictionary(&dict);
        main->SetSectionCache(&cache);
        cmcCloneFile file;
        file.AttachImage(main->TemplateImage());
        file.SetModelCode(ModelProfile::kModelCode);
        file.SetExtraCode(ModelProfile::kExtraCode);
        file.SetMapRevisionCheck(
            [](void*, int revision) { return revision == ModelProfile::kMapRevision; }, nullptr);
        read = file.Read(ResourcePath("PQT590_Default.t590"), kCloneRanges);
        ModelProfile::NormalizeImage(main.Core(), main->TemplateImage(), main->TemplateImage(),
                                     false);
        main->WorkingImage().CopyFrom(main->TemplateImage());
    }
    ScopedTestHost host;
    cmcGTex dict;
    ScopedMainDictionary mainDictionary{&dict};
    cmcFCache cache{&dict};
    ScopedHeadlessMain main;
    int read = -1;
};

TEST_F(DefaultImage, RaisesNoWarnings) {
    ASSERT_EQ(read, cmcCloneFile::Ok);
    EXPECT_EQ(ModelProfile::CheckImage(main->WorkingImage(), true), 0);
    const ModelProfile::WarningLists lists = ModelProfile::RunWarningCheck(main.Core());
    EXPECT_TRUE(lists.errors.empty()) << lists.errors.front();
    EXPECT_TRUE(lists.notices.empty()) << lists.notices.front();
    EXPECT_TRUE(lists.marksTree);
}

TEST_F(DefaultImage, NormalisingForWritingChangesNothingThatLeavesTheProgram) {
    ASSERT_EQ(read, cmcCloneFile::Ok);
    cmcEeprom image;
    image.CopyFrom(main->WorkingImage());
    ModelProfile::NormalizeImage(main.Core(), image, main->TemplateImage(), true);
    for (int a = MM::kCloneFirst; a <= MM::kCloneLast; ++a)
        ASSERT_EQ(image.GetByte(a), main->TemplateImage().GetByte(a)) << std::hex << a;
}

TEST_F(DefaultImage, AnErrorInTheUserChannelsNamesTheirSheet) {
    ASSERT_EQ(read, cmcCloneFile::Ok);
    datCh ch(main->WorkingImage());
    ch.Load(datCh::kUserCh, 1);
    ch.flags = datCh::kUsed;
    ch.rxFreq = 10000;  // below the receive edge
    ch.txFreq = 2182000;
    ch.Save();
    const ModelProfile::WarningLists lists = ModelProfile::RunWarningCheck(main.Core());
    ASSERT_EQ(lists.errors.size(), 1u);
    EXPECT_EQ(lists.errors[0], "GI_Sheet_UserCh");
}

}  // namespace
