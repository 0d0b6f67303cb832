#include <gtest/gtest.h>

#include "cells/cmcCellObj.h"
#include "cells/cmcCellParser.h"
#include "cmcTestHost.h"

namespace {

cmcCellObj MakeFull() {
    cmcCellObj c;
    c.category = CT_DscId;
    c.label = CL_Dsc_Id_Adr;
    c.argument = 17;
    c.argText = "arg";
    c.imageIndex = 3;
    c.layout = 0xF6;
    c.state = 0x3F;
    c.color = clRed;
    c.font = std::make_unique<cmcCellFont>();
    c.font->height = -30;
    c.popupMenuKey = "GI_PMenu_Edit";
    c.displayText = "text";
    return c;
}

TEST(CellObj, DefaultsWithoutParent) {
    cmcCellObj c;
    EXPECT_EQ(c.parent, nullptr);
    EXPECT_EQ(c.counters, nullptr);
    EXPECT_EQ(c.category, CT_None);
    EXPECT_EQ(c.label, CL_None);
    EXPECT_EQ(c.argument, 0);
    EXPECT_FALSE(c.argText);
    EXPECT_EQ(c.imageIndex, -1);
    EXPECT_EQ(c.layout, 0);
    EXPECT_EQ(c.state, 0);
    EXPECT_EQ(c.color, 0x80000005u);
    EXPECT_FALSE(c.font);
    EXPECT_FALSE(c.popupMenuKey);
    EXPECT_FALSE(c.displayText);
    EXPECT_EQ(c.GetText(), "");
    EXPECT_EQ(c.PopupMenuKey(), nullptr);
}

TEST(CellObj, ResetKeepsCategoryAndArgumentOnly) {
    cmcCellObj c = MakeFull();
    c.Reset();
    EXPECT_EQ(c.category, CT_DscId);
    EXPECT_EQ(c.argument, 17);
    EXPECT_EQ(c.label, CL_None);
    EXPECT_FALSE(c.argText);
    EXPECT_EQ(c.imageIndex, -1);
    EXPECT_EQ(c.layout, 0);
    EXPECT_EQ(c.state, 0);
    EXPECT_EQ(c.color, clWindow);
    EXPECT_FALSE(c.font);
    EXPECT_FALSE(c.popupMenuKey);
    EXPECT_FALSE(c.displayText);
}

TEST(CellObj, ResetFromParentCopiesAllButFontAndPopup) {
    const cmcCellObj parent = MakeFull();
    cmcCellObj c;
    c.parent = &parent;
    c.Reset();
    EXPECT_EQ(c.parent, &parent);
    EXPECT_EQ(c.category, CT_DscId);
    EXPECT_EQ(c.label, CL_Dsc_Id_Adr);
    EXPECT_EQ(c.argument, 17);
    EXPECT_EQ(c.argText, std::optional<std::string>("arg"));
    EXPECT_EQ(c.imageIndex, 3);
    EXPECT_EQ(c.layout, 0xF6);
    EXPECT_EQ(c.state, 0x3F);
    EXPECT_EQ(c.color, clRed);
    EXPECT_EQ(c.GetText(), "text");
    EXPECT_FALSE(c.font);
    EXPECT_FALSE(c.popupMenuKey);
    EXPECT_EQ(*c.PopupMenuKey(), "GI_PMenu_Edit");
}

TEST(CellObj, CopyFromIsDeep) {
    cmcCellObj basic;
    cmcCellObj source = MakeFull();
    source.parent = &basic;
    cmcCellObj copy;
    copy.displayText = "old";
    copy.CopyFrom(source);
    EXPECT_EQ(copy.parent, &basic);
    EXPECT_EQ(copy.label, CL_Dsc_Id_Adr);
    EXPECT_EQ(copy.argText, source.argText);
    EXPECT_EQ(copy.popupMenuKey, source.popupMenuKey);
    EXPECT_EQ(copy.GetText(), "text");
    ASSERT_TRUE(copy.font);
    EXPECT_NE(copy.font.get(), source.font.get());
    EXPECT_EQ(copy.font->height, -30);
    source.font->height = -5;  // the copy owns its own font
    source.displayText = "changed";
    EXPECT_EQ(copy.font->height, -30);
    EXPECT_EQ(copy.GetText(), "text");

    cmcCellObj noFont;
    copy.CopyFrom(noFont);
    EXPECT_FALSE(copy.font);
    EXPECT_FALSE(copy.displayText);
}

TEST(CellObj, PopupMenuKeyWalksUpPastEmptyKeys) {
    cmcCellObj root, middle, leaf;
    middle.parent = &root;
    leaf.parent = &middle;
    EXPECT_EQ(leaf.PopupMenuKey(), nullptr);
    root.popupMenuKey = "GI_Root";
    middle.popupMenuKey = "";  // set but empty: not offered
    EXPECT_EQ(*leaf.PopupMenuKey(), "GI_Root");
    leaf.popupMenuKey = "GI_Leaf";
    EXPECT_EQ(*leaf.PopupMenuKey(), "GI_Leaf");
}

TEST(CellObj, AlignmentAccessorsKeepTheOtherBits) {
    cmcCellObj c;
    c.layout = 0xF0;
    c.SetHAlignment(cmcCellObj::kRight);
    c.SetVAlignment(cmcCellObj::kBottom);
    EXPECT_EQ(c.layout, 0xFA);
    EXPECT_EQ(c.HAlignment(), 2);
    EXPECT_EQ(c.VAlignment(), 2);
    c.SetHAlignment(cmcCellObj::kLeft);
    EXPECT_EQ(c.layout, 0xF8);
}

}  // namespace
