// The tree's node lines read without a widget, and a small sheet shown as text.
#include <gtest/gtest.h>

#include "BehaveTestSupport.h"
#include "cells/cmcSheetText.h"
#include "cells/cmcTreeBody.h"

namespace {

class TreeAndSheets : public BehaveTest {
protected:
    TreeAndSheets() {
        static const char* const kLines[] = {
            "#T_BasicCell",
            "{(Color=clWindow)}",
            "#T_Body",
            "+Root{(ImageIndex=0)}",
            " +Folder",
            "  +Sheet A{(ImageIndex=2)(%CallSheet:GI_Sheet_A)}",
            "\t\t+Common{(%CallSheet:[St_Common]GI_Sheet_C)}",
            "a line without a plus",
            "#",
            "#S_BasicCell",
            "{}",
            "#S_Cells",
            "Name|Value|{(%CT_UserCh.CL_UCh_FreqR[1])}",
            "Plain",
            "#End_Of_Ovl",
        };
        own_.SetLines(kLines, sizeof kLines / sizeof kLines[0]);
    }
    cmcGTex own_;
};

TEST_F(TreeAndSheets, TreeNodesHaveDepthCaptionAndSheetReference) {
    cmcTreeBody tree;
    tree.Read(own_, "T");
    const auto& nodes = tree.Nodes();
    ASSERT_EQ(nodes.size(), 5u);
    const int depths[] = {0, 1, 2, 2, 0};
    const char* captions[] = {"Root", "Folder", "Sheet A", "Common", ""};
    const char* sheets[] = {"", "", "GI_Sheet_A", "[St_Common]GI_Sheet_C", ""};
    for (size_t i = 0; i < nodes.size(); ++i) {
        EXPECT_EQ(nodes[i].depth, depths[i]) << i;
        EXPECT_EQ(nodes[i].Caption(), captions[i]) << i;
        EXPECT_EQ(nodes[i].SheetReference(), sheets[i]) << i;
    }
    EXPECT_EQ(nodes[2].cell->imageIndex, 2);
}

TEST_F(TreeAndSheets, ASheetAsTextJoinsCellsAndEvaluatesBehaviours) {
    SetChannel(datCh::kUserCh, 1, 7100000, 7100000);
    main_->SetDictionary(&own_);
    const std::vector<std::string> rows = cmcSheetRowTexts(main_.Core(), "S");
    main_->SetDictionary(&dict_);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].rfind("Name: Value: ", 0), 0u) << rows[0];
    EXPECT_NE(rows[0].find("7100"), std::string::npos) << rows[0];
    EXPECT_EQ(rows[1], "Plain");
}

}  // namespace
