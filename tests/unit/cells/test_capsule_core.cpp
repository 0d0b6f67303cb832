#include <gtest/gtest.h>

#include "ConvTestSupport.h"
#include "cells/cuiHeadlessMain.h"
#include "cmcTestHost.h"
#include "memory/MemoryMap.h"

using namespace ConvTest;

namespace {

TEST(MainCore, HeadlessControllerOwnsAZeroImageAndRecordsWindows) {
    ScopedHeadlessMain main;
    ASSERT_TRUE(cuiMainCore::IsInstalled());
    cuiMainCore& core = cuiMainCore::Instance();
    EXPECT_EQ(&core, &*main);
    EXPECT_EQ(core.WorkingImage().GetSize(), MemoryMap::kImageSize);
    EXPECT_EQ(core.WorkingData(), core.WorkingImage().Bytes());
    EXPECT_EQ(core.WorkingImage().GetByte(MemoryMap::kImageSize - 1), 0);
    EXPECT_FALSE(core.ExpertMode());
    EXPECT_FALSE(core.GeneralCoverageMode());
    main->SetGeneralCoverageMode(true);
    EXPECT_TRUE(core.GeneralCoverageMode());
    EXPECT_EQ(core.Clipboard().Kind(), 0);

    cmcGTex* dictionary = reinterpret_cast<cmcGTex*>(&g_grid);  // only passed along
    cmcCellCapsule opener = Key(kKeyEnter);
    core.OpenChoiceList(opener, 2, 5, *dictionary, "GI_Sheet_Sel_Mode1_R");
    ASSERT_EQ(main->ChoiceLists().size(), 1u);
    EXPECT_EQ(main->ChoiceLists()[0].itemLabel, 2);
    EXPECT_EQ(main->ChoiceLists()[0].currentValue, 5);
    EXPECT_EQ(main->ChoiceLists()[0].dictionary, dictionary);
    EXPECT_EQ(main->ChoiceLists()[0].listKey, "GI_Sheet_Sel_Mode1_R");
}

TEST(MainCore, MissingPiecesAreProgramErrors) {
    ScopedTestHost host;
    {
        ScopedHeadlessMain main;
        EXPECT_THROW(main->Dictionary(), cmcFatalError);
        EXPECT_THROW(main->SectionCache(), cmcFatalError);
    }
    EXPECT_FALSE(cuiMainCore::IsInstalled());
    EXPECT_THROW(cuiMainCore::Instance(), cmcFatalError);
}

}  // namespace
