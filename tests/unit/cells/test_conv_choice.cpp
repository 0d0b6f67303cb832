#include <gtest/gtest.h>

#include <string>

#include "ConvTestSupport.h"
#include "ScopedMainDictionary.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "cmcTestHost.h"
#include "cuiHeadlessMain.h"
#include "text/cmcGTex.h"

using namespace ConvTest;

namespace {

// A list whose cells in reading order carry keys 2, 0, 1 in line 0 and 300 in line 1 (a key no
// byte can hold), plus a cell of another label that occupies a column but is no entry.
const char* const kLines[] = {
    "#GI_Sheet_Sel_Test_Cells",
    "{(%Flex0[2])}Two|{(%Flex0[0])}Zero|{(%CL_Null[7])}x|{(%Flex0[1])}One",
    "{(%Flex0[300])}Big",
    "#",
    "#End_Of_Ovl",
};
const char* const kList = "GI_Sheet_Sel_Test";

class ConvChoiceTest : public ::testing::Test {
protected:
    ScopedTestHost host;
    ScopedHeadlessMain main;
    const cuiMainCore core = main.Core();
    cmcGTex dictionary;
    ScopedMainDictionary mainDictionary{&dictionary};
    cmcFCache cache{&dictionary};

    void SetUp() override {
        dictionary.SetLines(kLines, sizeof kLines / sizeof kLines[0]);
        main->SetDictionary(&dictionary);
        main->SetSectionCache(&cache);
    }

    // Capsules as the dispatcher hands them to the conversions: with the controller's roles.
    cmcCellCapsule Display() const { return WithCore(ConvTest::Display()); }
    cmcCellCapsule Key(int32_t key) const { return WithCore(ConvTest::Key(key)); }
    cmcCellCapsule WithCore(cmcCellCapsule c) const {
        c.core = &core;
        return c;
    }
};

TEST_F(ConvChoiceTest, ShowsTheEntryTextOrError) {
    struct Row {
        int32_t value;
        const char* shown;
    };
    const Row rows[] = {{0, "Zero"},  {1, "One"},    {2, "Two"},  {300, "Big"},
                        {7, "error"}, {-1, "error"}, {3, "error"}};
    for (const Row& r : rows) {
        int32_t v = r.value;
        cmcCellCapsule c = Display();
        EXPECT_FALSE(c.ConvChoiceInt(kList, v));
        EXPECT_EQ(c.outputText, r.shown) << r.value;
        EXPECT_EQ(v, r.value);
    }
}

TEST_F(ConvChoiceTest, SpaceAndBackspaceStepInColumnOrderAndWrap) {
    // Position order: column 0 (Two, Big), column 1 (Zero), column 3 (One).
    struct Row {
        int32_t from, key, to;
    };
    const Row rows[] = {
        {2, kKeySpace, 300}, {300, kKeySpace, 0},    {0, kKeySpace, 1},
        {1, kKeySpace, 2},   {2, kKeyBackspace, 1},  {1, kKeyBackspace, 0},
        {77, kKeySpace, 2},  {77, kKeyBackspace, 1},  // unknown value: first or last entry
    };
    for (const Row& r : rows) {
        int32_t v = r.from;
        cmcCellCapsule c = Key(r.key);
        EXPECT_TRUE(c.ConvChoiceInt(kList, v)) << r.from;
        EXPECT_EQ(v, r.to) << r.from << " " << r.key;
        EXPECT_EQ(c.action, kActDone);
    }
}

TEST_F(ConvChoiceTest, EnterOpensTheListAndOtherKeysDoNothing) {
    int32_t v = 1;
    cmcCellCapsule enter = Key(kKeyDoubleClick);
    EXPECT_FALSE(enter.ConvChoiceInt(kList, v));
    EXPECT_EQ(enter.action, kActDone);
    ASSERT_EQ(main->ChoiceLists().size(), 1u);
    EXPECT_EQ(main->ChoiceLists()[0].listKey, kList);
    EXPECT_EQ(main->ChoiceLists()[0].itemLabel, Flex0);
    EXPECT_EQ(main->ChoiceLists()[0].currentValue, 1);
    EXPECT_EQ(main->ChoiceLists()[0].dictionary, &dictionary);

    for (int32_t k : {int32_t('a'), int32_t('5'), int32_t(kKeyF3)}) {
        cmcCellCapsule c = Key(k);
        EXPECT_FALSE(c.ConvChoiceInt(kList, v));
        EXPECT_EQ(c.action, kActNone);
        EXPECT_EQ(v, 1);
    }
    EXPECT_EQ(main->ChoiceLists().size(), 1u);
}

TEST_F(ConvChoiceTest, ReplyIsTakenOnlyFromAChoiceOfTheRightLabel) {
    cmcCellObj chosen;
    chosen.label = Flex0;
    chosen.argument = 2;
    cmcCellCapsule entry;
    entry.cell = &chosen;

    struct Row {
        uint8_t inputKind;
        int label;
        bool taken;
    };
    const Row rows[] = {{kInputChoice, Flex0, true},
                        {kInputText, Flex0, false},
                        {kInputKey, Flex0, false},
                        {kInputChoice, CL_Sel_Mode_U, false}};
    for (const Row& r : rows) {
        chosen.label = r.label;
        int32_t v = 0;
        cmcCellCapsule reply = Display();
        reply.parent = &entry;
        reply.inputKind = r.inputKind;
        EXPECT_EQ(reply.ConvChoiceInt(kList, v), r.taken);
        EXPECT_EQ(v, r.taken ? 2 : 0);
        EXPECT_TRUE(reply.outputText.empty());  // nothing else is done
    }
    // A parent without a cell takes nothing.
    cmcCellCapsule empty;
    cmcCellCapsule reply = Display();
    reply.parent = &empty;
    reply.inputKind = kInputChoice;
    int32_t v = 5;
    EXPECT_FALSE(reply.ConvChoiceInt(kList, v));
    EXPECT_EQ(v, 5);
}

TEST_F(ConvChoiceTest, AByteNeverTakesAKeyItCannotHold) {
    uint8_t b = 2;
    cmcCellCapsule c = Key(kKeySpace);  // the next entry's key is 300
    EXPECT_FALSE(c.ConvChoiceByte(kList, b));
    EXPECT_EQ(b, 2);
    EXPECT_EQ(c.outputText, "Two");

    cmcCellObj chosen;
    chosen.label = Flex0;
    chosen.argument = 300;
    cmcCellCapsule entry;
    entry.cell = &chosen;
    cmcCellCapsule reply = Display();
    reply.parent = &entry;
    reply.inputKind = kInputChoice;
    EXPECT_FALSE(reply.ConvChoiceByte(kList, b));
    EXPECT_EQ(b, 2);

    chosen.argument = 255;
    EXPECT_TRUE(reply.ConvChoiceByte(kList, b));
    EXPECT_EQ(b, 255);
}

}  // namespace
