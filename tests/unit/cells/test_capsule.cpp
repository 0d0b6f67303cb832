#include <gtest/gtest.h>

#include "ConvTestSupport.h"
#include "cells/cmcCellCapsule.h"

using namespace ConvTest;

namespace {

void Redraw(void*, cmcCellCapsule&, int) {}
void Reopen(void*, cmcCellCapsule&, int) {}

cmcCellCapsule Filled() {
    static cmcCellCapsule parent;
    static cmcCellRect rect{1, 2, 3, 4};
    static RecordingCanvas canvas;
    cmcCellCapsule c;
    c.parent = &parent;
    c.grid = &g_grid;
    c.canvas = &canvas;
    c.imageList = &rect;
    c.cellRect = &rect;
    c.selStart = 3;
    c.selLength = 4;
    c.key = 'x';
    c.command = 63;
    c.inputText = "in";
    c.outputText = "out";
    c.markBits = 0x0F;
    c.markPosition = 2;
    c.inputKind = kInputChoice;
    c.moveRequest = 1;
    c.moveCategory = 2;
    c.moveLabel = 127;
    c.moveArgument = 5;
    c.repeatKey = '7';
    c.extra = 9;
    c.sheet = &rect;
    c.rangeFlags = 3;
    c.rangeLow = 4;
    c.rangeHigh = 8;
    c.redraw = Redraw;
    c.redrawData = &rect;
    c.reopenEditor = Reopen;
    c.reopenData = &rect;
    c.action = kActEdit;
    c.alignment = cmcCellCapsule::kAlignRight;
    return c;
}

TEST(Capsule, ResetClearsEveryField) {
    cmcCellCapsule c = Filled();
    c.Reset();
    const cmcCellCapsule fresh;
    EXPECT_EQ(c.parent, nullptr);
    EXPECT_EQ(c.grid, nullptr);
    EXPECT_EQ(c.canvas, nullptr);
    EXPECT_EQ(c.imageList, nullptr);
    EXPECT_EQ(c.cellRect, nullptr);
    EXPECT_EQ(c.selStart, 0);
    EXPECT_EQ(c.selLength, 0);
    EXPECT_EQ(c.key, 0);
    EXPECT_EQ(c.command, 0);
    EXPECT_TRUE(c.inputText.empty());
    EXPECT_TRUE(c.outputText.empty());
    EXPECT_EQ(c.markBits, 0);
    EXPECT_EQ(c.markPosition, 0);
    EXPECT_EQ(c.inputKind, 0);
    EXPECT_EQ(c.moveRequest | c.moveCategory | c.moveLabel | c.moveArgument, 0);
    EXPECT_EQ(c.repeatKey | c.extra, 0);
    EXPECT_EQ(c.sheet, nullptr);
    EXPECT_EQ(c.rangeFlags, 0);
    EXPECT_EQ(c.rangeLow | c.rangeHigh, 0);
    EXPECT_EQ(c.redraw, nullptr);
    EXPECT_EQ(c.redrawData, nullptr);
    EXPECT_EQ(c.reopenEditor, nullptr);
    EXPECT_EQ(c.reopenData, nullptr);
    EXPECT_EQ(c.action, kActNone);
    EXPECT_EQ(c.alignment, cmcCellCapsule::kAlignKeep);
    EXPECT_FALSE(c.IsInteractive());
    EXPECT_FALSE(c.IsDrawing());
}

TEST(Capsule, CopyTakesEveryFieldAndOwnsItsTexts) {
    const cmcCellCapsule a = Filled();
    cmcCellCapsule b;
    b.CopyFrom(a);
    EXPECT_EQ(b.parent, a.parent);
    EXPECT_EQ(b.canvas, a.canvas);
    EXPECT_EQ(b.cellRect, a.cellRect);
    EXPECT_EQ(b.command, 63);
    EXPECT_EQ(b.moveLabel, 127);
    EXPECT_EQ(b.extra, 9);
    EXPECT_EQ(b.rangeHigh, 8);
    EXPECT_EQ(b.redraw, a.redraw);
    EXPECT_EQ(b.reopenData, a.reopenData);
    b.inputText[0] = 'X';
    b.outputText += "!";
    EXPECT_EQ(a.inputText, "in");
    EXPECT_EQ(a.outputText, "out");
}

TEST(Capsule, KeysAboveTypingRangeNeverType) {
    EXPECT_TRUE(Key(1).IsTypedKey());
    EXPECT_TRUE(Key(126).IsTypedKey());
    EXPECT_FALSE(Key(127).IsTypedKey());
    EXPECT_FALSE(Key(kKeyDoubleClick).IsTypedKey());
    EXPECT_FALSE(Key(kKeyF3).IsTypedKey());
    EXPECT_EQ(Key(kKeyDoubleClick).EffectiveKey(), kKeyEnter);
}

// EditAction over the keys that matter, with and without its two flags.
TEST(Capsule, EditActionTable) {
    struct Row {
        int32_t key;
        bool spaceIsEnter, signs;
        uint8_t action;
        const char* text;  // output text after the call
    };
    const Row rows[] = {
        {'5', false, false, kActEdit, "5"},        {'.', false, false, kActEdit, "."},
        {kKeyEnter, false, false, kActEdit, "12"}, {kKeyDoubleClick, false, false, kActEdit, "12"},
        {'-', false, false, kActNone, " 12 "},     {'-', false, true, kActEdit, "-"},
        {'+', false, true, kActEdit, "+"},         {kKeySpace, false, false, kActNone, " 12 "},
        {kKeySpace, true, false, kActEdit, "12"},  {kKeyBackspace, true, false, kActEdit, "12"},
        {'a', true, true, kActNone, " 12 "},       {kKeyF3, true, true, kActNone, " 12 "},
    };
    for (const Row& r : rows) {
        cmcCellCapsule c = Key(r.key);
        c.outputText = " 12 ";
        c.selStart = 0;
        c.selLength = 4;
        c.EditAction(r.spaceIsEnter, r.signs);
        EXPECT_EQ(c.action, r.action) << r.key;
        EXPECT_EQ(c.outputText, r.text) << r.key;
        if (r.action == kActEdit && r.key != kKeyEnter && r.key != kKeyDoubleClick &&
            !r.spaceIsEnter) {
            EXPECT_EQ(c.selStart, 1);
            EXPECT_EQ(c.selLength, 0);
        }
    }
    // Not interactive: nothing.
    cmcCellCapsule d = Display();
    d.key = '5';
    d.EditAction(false, false);
    EXPECT_EQ(d.action, kActNone);
    EXPECT_TRUE(d.outputText.empty());
}

TEST(Capsule, RestrictEditCancelsTypingAndPaintsOlive) {
    RecordingCanvas canvas;
    cmcCellCapsule c = Key('7');
    c.canvas = &canvas;
    bool restricted = false;
    c.RestrictEdit(true, restricted);
    EXPECT_EQ(c.key, '7');
    EXPECT_FALSE(restricted);
    c.RestrictEdit(false, restricted);
    EXPECT_EQ(c.key, 0);
    EXPECT_TRUE(restricted);
    EXPECT_EQ(canvas.fontColor, 0x008080u);

    // Keys that are no typing go through.
    for (int32_t k : {0, 127, 256, 0x7200}) {
        cmcCellCapsule e = Key(k);
        bool r = false;
        e.RestrictEdit(false, r);
        EXPECT_EQ(e.key, k);
        EXPECT_FALSE(r);
    }
}

}  // namespace
