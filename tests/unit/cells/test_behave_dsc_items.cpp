// DSC item enable tables and the category check.
#include <gtest/gtest.h>

#include <string>

#include "SettingsBehaveTest.h"
#include "cells/indBehave.h"
#include "memory/MemoryMap.h"

namespace MM = MemoryMap;
using namespace ConvTest;

namespace {

class BehaveDscItems : public SettingsBehaveTest {
protected:
    uint16_t Word(int address) const {
        return uint16_t(image_[address] | image_[address + 1] << 8);
    }
    void SetWord(int address, uint16_t w) {
        image_[address] = uint8_t(w);
        image_[address + 1] = uint8_t(w >> 8);
    }
    Result Cell(int category, int label, int argument, cmcCellCapsule c, const char* argText,
                const char* display = nullptr) {
        cmcCellObj cell;
        cell.category = category;
        cell.label = label;
        cell.argument = argument;
        if (argText != nullptr)
            cell.argText = argText;
        if (display != nullptr)
            cell.SetText(display);
        return RunCell(c, cell);
    }
    static int criteria;
    static void OnRedraw(void*, cmcCellCapsule&, int bits) { criteria = bits; }
};
int BehaveDscItems::criteria = 0;

TEST_F(BehaveDscItems, CaptionsComeFromTheirLists) {
    struct Row {
        int category;
        int label;
        int argument;
        const char* text;
    };
    const Row rows[] = {
        {CT_DscNature, CL_Dsc_Nature_Item, 1, "Flooding"},
        {CT_DscCallSel, CL_Dsc_CallSel_Item, 2, "Individual"},
        {CT_DscCate, CL_Dsc_Cate_Item, 3, "Routine"},
        {CT_Dsc1stTel, CL_Dsc_1stTel_Item, 0, "F3E/G3E"},
        {CT_DscReason, CL_Dsc_Reason_Item, 2, "Queue"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Show(row.category, row.label, row.argument).text, row.text) << row.text;
}

TEST_F(BehaveDscItems, EnableBitsOfTheSingleWordTables) {
    struct Row {
        int category;
        int label;
        int word;
    };
    const Row rows[] = {
        {CT_DscNature, CL_Dsc_Nature_Val, MM::kNatureWord},
        {CT_Dsc1stTel, CL_Dsc_1stTel_1st, MM::kFirstTelecommandWord},
        {CT_DscReason, CL_Dsc_Reason_Val, MM::kReasonWord},
    };
    const char* list = "GI_Sheet_Sel_Misc_TinyEnable";
    for (const Row& row : rows) {
        SCOPED_TRACE(LabelName(row.label));
        SetWord(row.word, 0x8001);
        EXPECT_EQ(Show(row.category, row.label, 0).text, EntryText(list, 1));
        EXPECT_EQ(Show(row.category, row.label, 9).text, EntryText(list, 0));
        Press(row.category, row.label, 9, kKeySpace);
        EXPECT_EQ(Word(row.word), 0x8201);
        Press(row.category, row.label, 15, kKeySpace);  // 1 -> list entry 2, still enabled
        EXPECT_EQ(Word(row.word), 0x8201);
        Press(row.category, row.label, 0, kKeyBackspace);  // 1 -> 0
        EXPECT_EQ(Word(row.word), 0x8200);

        // Values the radio fixes ("i") are read-only and refuse typing.
        const Result r = Cell(row.category, row.label, 9, Key(kKeySpace), "i");
        EXPECT_EQ(r.key, 0);
        EXPECT_EQ(Word(row.word), 0x8200);
        events.clear();
    }
}

TEST_F(BehaveDscItems, CallSelectionValuesAndInhibition) {
    // Item 1: both words set (2); item 2: only the first (1); item 3: neither (0).
    SetWord(MM::kCallSelFirstWord, 0x0006);
    SetWord(MM::kCallSelSecondWord, 0x0002);
    EXPECT_EQ(Show(CT_DscCallSel, CL_Dsc_CallSel_Val, 1).text,
              EntryText("GI_Sheet_Sel_DscCallSel", 2));
    EXPECT_EQ(Cell(CT_DscCallSel, CL_Dsc_CallSel_Val, 2, Display(), "R").text,
              EntryText("GI_Sheet_Sel_DscCallSel_R", 1));
    Press(CT_DscCallSel, CL_Dsc_CallSel_Val, 2, kKeySpace);  // 1 -> 2
    EXPECT_EQ(Word(MM::kCallSelFirstWord), 0x0006);
    EXPECT_EQ(Word(MM::kCallSelSecondWord), 0x0006);
    Press(CT_DscCallSel, CL_Dsc_CallSel_Val, 1, kKeySpace);  // 2 -> 0
    EXPECT_EQ(Word(MM::kCallSelFirstWord), 0x0004);
    EXPECT_EQ(Word(MM::kCallSelSecondWord), 0x0004);

    // The inhibit cell shows its own text unless the item's value is 2.
    EXPECT_EQ(Cell(CT_Null, CL_Dsc_CallInh, 1, Display(), nullptr, "Allowed").text, "Allowed");
    EXPECT_EQ(Cell(CT_Null, CL_Dsc_CallInh, 2, Display(), nullptr, "Allowed").text, "");
}

TEST_F(BehaveDscItems, CategoryColumnsKeepTheirRequiredItem) {
    // Everything enabled: no marks.
    for (int w :
         {MM::kCategoryAllWord, MM::kCategoryGrpWord, MM::kCategoryIndWord, MM::kCategoryPosWord})
        SetWord(w, 0x000F);
    for (int item = 0; item < 4; ++item)
        EXPECT_FALSE(Show(CT_DscCate, CL_Dsc_Cate_Pos, item).Error());
    EXPECT_FALSE(indActiveCell(main_.Core()).ErrorMarkOf(CT_Null, CL_Check_Dsc_Cate, 0));

    // Disabling item 0 in the Pos column marks every Pos cell, but not the fixed ones, and
    // asks for every labelled cell to be repainted.
    criteria = 0;
    cmcCellCapsule c = Key(kKeyBackspace);  // enabled -> disabled
    c.redraw = &BehaveDscItems::OnRedraw;
    Run(c, CT_DscCate, CL_Dsc_Cate_Pos, 0, true);
    EXPECT_EQ(Word(MM::kCategoryPosWord), 0x000E);
    EXPECT_NE(criteria & kCriteriaAllLabelled, 0);
    for (int item = 0; item < 4; ++item) {
        EXPECT_TRUE(Show(CT_DscCate, CL_Dsc_Cate_Pos, item).Error()) << item;
        EXPECT_FALSE(Cell(CT_DscCate, CL_Dsc_Cate_Pos, item, Display(), "i").Error()) << item;
        EXPECT_FALSE(Show(CT_DscCate, CL_Dsc_Cate_Grp, item).Error()) << item;
    }
    EXPECT_TRUE(indActiveCell(main_.Core()).ErrorMarkOf(CT_Null, CL_Check_Dsc_Cate, 0));

    // A display asks for no wide repaint.
    criteria = 0;
    cmcCellCapsule shown;
    shown.redraw = &BehaveDscItems::OnRedraw;
    Run(shown, CT_DscCate, CL_Dsc_Cate_Pos, 1, true);
    EXPECT_EQ(criteria & kCriteriaAllLabelled, 0);
}

TEST_F(BehaveDscItems, CategoryColumnRules) {
    struct Row {
        int word;
        int label;
        uint16_t enabled;
        bool error;
    };
    const Row rows[] = {
        {MM::kCategoryAllWord, CL_Dsc_Cate_All, 0x0001, true},  // only item 0: not enough
        {MM::kCategoryAllWord, CL_Dsc_Cate_All, 0x0002, false},
        {MM::kCategoryAllWord, CL_Dsc_Cate_All, 0x0004, false},
        {MM::kCategoryGrpWord, CL_Dsc_Cate_Grp, 0x000E, true},
        {MM::kCategoryGrpWord, CL_Dsc_Cate_Grp, 0x0001, false},
        {MM::kCategoryIndWord, CL_Dsc_Cate_Ind, 0x0000, true},
        {MM::kCategoryIndWord, CL_Dsc_Cate_Ind, 0x0008, false},
        {MM::kCategoryIndWord, CL_Dsc_Cate_Ind, 0x0010, true},  // item 4 does not count
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << LabelName(row.label) << " " << row.enabled);
        for (int w : {MM::kCategoryAllWord, MM::kCategoryGrpWord, MM::kCategoryIndWord,
                      MM::kCategoryPosWord})
            SetWord(w, 0x000F);
        SetWord(row.word, row.enabled);
        EXPECT_EQ(Show(CT_DscCate, row.label, 3).Error(), row.error);
        EXPECT_EQ(indActiveCell(main_.Core()).ErrorMarkOf(CT_Null, CL_Check_Dsc_Cate, 0),
                  row.error);
    }
}

}  // namespace
