#include <gtest/gtest.h>

#include "ConvTestSupport.h"
#include "cells/indActiveCell.h"
#include "cmcTestHost.h"
#include "cuiHeadlessMain.h"
#include "memory/MemoryMap.h"

using namespace ConvTest;

namespace {

TEST(MainCore, TheRolesReachTheDocumentTheViewsAndTheCommands) {
    ScopedHeadlessMain main;
    const cuiMainCore core = main.Core();
    EXPECT_EQ(&core.document, static_cast<cuiDocument*>(&*main));
    EXPECT_EQ(core.document.WorkingImage().GetSize(), MemoryMap::kImageSize);
    EXPECT_EQ(core.document.WorkingData(), core.document.WorkingImage().Bytes());
    EXPECT_EQ(core.document.WorkingImage().GetByte(MemoryMap::kImageSize - 1), 0);
    EXPECT_FALSE(core.document.ExpertMode());
    main->SetGeneralCoverageMode(true);
    EXPECT_TRUE(core.document.GeneralCoverageMode());
    EXPECT_EQ(core.document.Clipboard().Kind(), 0);

    cmcGTex* dictionary = reinterpret_cast<cmcGTex*>(&g_grid);  // only passed along
    cmcCellCapsule opener = Key(kKeyEnter);
    core.views.OpenChoiceList(opener, 2, 5, *dictionary, "GI_Sheet_Sel_Mode1_R");
    ASSERT_EQ(main->ChoiceLists().size(), 1u);
    EXPECT_EQ(main->ChoiceLists()[0].itemLabel, 2);
    EXPECT_EQ(main->ChoiceLists()[0].currentValue, 5);
    EXPECT_EQ(main->ChoiceLists()[0].dictionary, dictionary);
    EXPECT_EQ(main->ChoiceLists()[0].listKey, "GI_Sheet_Sel_Mode1_R");

    core.commands.CloneRead();
    EXPECT_EQ(main->CommandLog().back(), "CloneRead");
}

TEST(MainCore, ViewsWithoutAFrontEndDoNothing) {
    cuiViews none;
    EXPECT_FALSE(none.CanPrintOpenSheet());
    EXPECT_EQ(none.MainMenuItemCount(3), -1);
    none.CloseSheet();  // must not crash
}

TEST(MainCore, MissingPiecesAreProgramErrors) {
    ScopedTestHost host;
    ScopedHeadlessMain main;
    EXPECT_THROW(main->Dictionary(), cmcFatalError);
    EXPECT_THROW(main->SectionCache(), cmcFatalError);
    // A conversion outside an evaluation has no roles to reach.
    cmcCellCapsule stray;
    EXPECT_THROW(stray.Core(), cmcFatalError);
}

}  // namespace
