#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ConvTestSupport.h"
#include "cuiHeadlessMain.h"

using namespace ConvTest;

namespace {

TEST(ConvDigits, PacksExactlyNDigitsOrStoresNoValue) {
    struct Row {
        const char* input;
        uint8_t bytes[5];
    };
    const Row rows[] = {
        {"123456789", {12, 34, 56, 78, 90}},
        {"002123456", {0, 21, 23, 45, 60}},
        {"12345678", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},    // 8 digits for 9
        {"1234567890", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},  // 10 digits
        {"", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {" - . ", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"123 456 789", {12, 34, 56, 78, 90}},
        {"-123456789", {12, 34, 56, 78, 90}},
        {"\xEF\xBC\x91"
         "123456789",
         {12, 34, 56, 78, 90}},  // a full-width digit is no digit
        {"123456789012345678901234567890", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const Row& r : rows) {
        uint8_t b[6] = {7, 7, 7, 7, 7, 0xA5};
        cmcCellCapsule c = Typed(r.input);
        EXPECT_TRUE(c.ConvDigits(b, 9)) << r.input;
        EXPECT_EQ(std::memcmp(b, r.bytes, 5), 0) << r.input;
        EXPECT_EQ(b[5], 0xA5) << r.input;  // the byte after the field is never touched
    }
}

TEST(ConvDigits, ShowsDigitsOnlyWithAValue) {
    uint8_t b[5] = {12, 34, 56, 78, 90};
    cmcCellCapsule c = Display();
    EXPECT_FALSE(c.ConvDigits(b, 9));
    EXPECT_EQ(c.outputText, "123456789");
    uint8_t none[5] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    cmcCellCapsule d = Display();
    d.outputText = "caller's own";
    d.ConvDigits(none, 9);
    EXPECT_EQ(d.outputText, "caller's own");
    // Even digit counts fill whole bytes.
    uint8_t two[2] = {0, 0};
    cmcCellCapsule e = Typed("4711");
    e.ConvDigits(two, 4);
    EXPECT_EQ(two[0], 47);
    EXPECT_EQ(two[1], 11);
    EXPECT_EQ(e.outputText, "4711");
}

TEST(ConvDigits, KeysHaveNoSigns) {
    uint8_t b[5] = {12, 34, 56, 78, 90};
    cmcCellCapsule minus = Key('-');
    minus.ConvDigits(b, 9);
    EXPECT_EQ(minus.action, kActNone);
    cmcCellCapsule space = Key(kKeySpace);
    space.ConvDigits(b, 9);
    EXPECT_EQ(space.action, kActEdit);
    EXPECT_EQ(space.outputText, "123456789");
}

TEST(ConvText, InputIsCutOrPaddedAndNeverLeavesTheField) {
    struct Row {
        const char* input;
        const char* field;  // 8 bytes
        const char* shown;
    };
    const Row rows[] = {
        {"CH16", "CH16    ", "CH16"},
        {"", "        ", ""},
        {"0123456789ABCDEF", "01234567", "01234567"},
        {"  lead", "  lead  ", "  lead"},
        {"a\tb\x01"
         "c",
         "a b c   ", "a b c"},
        // a letter the radio lacks takes one place, as a blank, however many bytes it has
        {"\xC3\xA9t\xC3\xA9", " t      ", " t"},
        {"A\x01"
         "B\xFF",
         "A B     ", "A B"},  // bytes outside 32..126 become blanks
        {"~~~~~~~~~", "~~~~~~~~", "~~~~~~~~"},
    };
    for (const Row& r : rows) {
        char field[9] = "XXXXXXXX";
        cmcCellCapsule c = Typed(r.input);
        EXPECT_TRUE(c.ConvText(field, 8)) << r.input;
        EXPECT_EQ(std::string(field, 8), r.field) << r.input;
        EXPECT_EQ(field[8], '\0');
        EXPECT_EQ(c.outputText, r.shown) << r.input;
        EXPECT_EQ(c.selLength, static_cast<int>(std::strlen(r.shown)));
    }
}

TEST(ConvText, DisplayCleansTheFieldItself) {
    char field[3] = {'A', '\x7F', '\0'};
    cmcCellCapsule c = Display();
    EXPECT_FALSE(c.ConvText(field, 3));
    EXPECT_EQ(std::string(field, 3), "A  ");
    EXPECT_EQ(c.outputText, "A");
}

TEST(ConvText, Keys) {
    char field[4] = {'L', 'S', 'B', ' '};
    struct Row {
        int32_t key;
        uint8_t action;
        const char* text;
    };
    const Row rows[] = {{kKeySpace, kActEdit, "LSB"}, {kKeyBackspace, kActEdit, "LSB"},
                        {kKeyEnter, kActEdit, "LSB"}, {'x', kActEdit, "x"},
                        {'~', kActEdit, "~"},         {127, kActNone, "LSB"},
                        {kKeyF3, kActNone, "LSB"}};
    for (const Row& r : rows) {
        cmcCellCapsule c = Key(r.key);
        c.ConvText(field, 4);
        EXPECT_EQ(c.action, r.action) << r.key;
        EXPECT_EQ(c.outputText, r.text) << r.key;
    }
}

TEST(ConvNumber, InputTable) {
    struct Row {
        const char* input;
        int32_t min, max, offset, step;
        int32_t after;  // value starts at 5
        bool changed;
    };
    const Row rows[] = {
        {"7", 1, 10, 0, 1, 7, true},
        {"7.5", 1, 10, 0, 1, 8, true},  // half away from zero
        {"-7.5", -10, 10, 0, 1, -8, true},
        {"99", 1, 10, 0, 1, 10, true},  // limited
        {"-3", 1, 10, 0, 1, 1, true},
        {"", 1, 10, 0, 1, 5, false},
        {"-", 1, 10, 0, 1, 5, false},
        {"abc", 1, 10, 0, 1, 5, false},
        {".", 1, 10, 0, 1, 1, true},  // reads as 0, then limited
        {"155", 100, 200, 0, 10, 160, true},
        {"154", 100, 200, 0, 10, 150, true},
        {"7", 0, 255, 1, 1, 6, true},  // shown with offset 1: stored one less
        {"1234567890123", -2000000000, 2000000000, 0, 1, 123456789, true},  // first 9
        {"123456789012345678901234567890", 0, 255, 0, 1, 255, true},
        {"--5", 0, 10, 0, 1, 0, true},  // "--5" is no number: 0
        {"5-", 0, 10, 0, 1, 5, true},
        {"\xB5"
         "6",
         0, 10, 0, 1, 6, true},
    };
    for (const Row& r : rows) {
        int32_t v = 5;
        cmcCellCapsule c = Typed(r.input);
        EXPECT_EQ(c.ConvNumber(v, r.min, r.max, r.offset, r.step, false, nullptr), r.changed)
            << r.input;
        EXPECT_EQ(v, r.after) << r.input;
    }
}

TEST(ConvNumber, StepsWrapAround) {
    struct Row {
        int32_t value, key, min, max, step, after;
    };
    const Row rows[] = {
        {1, kKeyBackspace, 1, 10, 1, 10},
        {10, kKeySpace, 1, 10, 1, 1},
        {5, kKeySpace, 1, 10, 1, 6},
        {9, kKeySpace, 0, 9, 1, 0},
        {1, kKeyBackspace, 1, 160, 1, 160},
        {200, kKeySpace, 100, 200, 10, 100},
        {100, kKeyBackspace, 100, 200, 10, 200},
        {155, kKeySpace, 100, 200, 10, 160},
    };
    for (const Row& r : rows) {
        int32_t v = r.value;
        cmcCellCapsule c = Key(r.key);
        EXPECT_TRUE(c.ConvNumber(v, r.min, r.max, 0, r.step, false, nullptr));
        EXPECT_EQ(v, r.after) << r.value << " " << r.key;
        EXPECT_EQ(c.action, kActDone);
    }
}

TEST(ConvNumber, OutputClampAndEditorKeys) {
    int32_t v = 42;
    cmcCellCapsule shown = Display();
    EXPECT_FALSE(shown.ConvNumber(v, 0, 100, 3, 1, false, nullptr));
    EXPECT_EQ(shown.outputText, "45");
    cmcCellCapsule fixed = Display();
    fixed.ConvNumber(v, 0, 100, 0, 1, false, "Off");
    EXPECT_EQ(fixed.outputText, "Off");

    int32_t wild = 300;
    cmcCellCapsule clamp = Display();
    EXPECT_TRUE(clamp.ConvNumber(wild, 1, 99, 0, 1, true, nullptr));  // a limit is a change
    EXPECT_EQ(wild, 99);
    int32_t noClamp = 300;
    cmcCellCapsule plain = Display();
    EXPECT_FALSE(plain.ConvNumber(noClamp, 1, 99, 0, 1, false, nullptr));
    EXPECT_EQ(noClamp, 300);

    int32_t x = 5;
    cmcCellCapsule minus = Key('-');
    minus.ConvNumber(x, 0, 10, 0, 1, false, nullptr);
    EXPECT_EQ(minus.action, kActNone);
    cmcCellCapsule minusSigned = Key('-');
    minusSigned.ConvNumber(x, -5, 10, 0, 1, false, nullptr);
    EXPECT_EQ(minusSigned.action, kActEdit);
    EXPECT_EQ(minusSigned.outputText, "-");
    cmcCellCapsule enter = Key(kKeyEnter);
    enter.ConvNumber(x, 0, 10, 0, 1, false, nullptr);
    EXPECT_EQ(enter.action, kActEdit);
    EXPECT_EQ(enter.outputText, "5");
    EXPECT_EQ(enter.selLength, 1);
}

TEST(ConvNumber, ZeroStepAndInvertedBoundsStaySafe) {
    int32_t v = 5;
    cmcCellCapsule c = Key(kKeySpace);
    EXPECT_TRUE(c.ConvNumber(v, 0, 10, 0, 0, false, nullptr));
    EXPECT_EQ(v, 6);
    int32_t w = 5;
    cmcCellCapsule d = Typed("7");
    d.ConvNumber(w, 10, 1, 0, 1, false, nullptr);
    EXPECT_EQ(w, 10);
}

TEST(ConvNumberByte, StoresTheByte) {
    uint8_t b = 9;
    cmcCellCapsule space = Key(kKeySpace);
    EXPECT_TRUE(space.ConvNumberByte(b, 0, 9));
    EXPECT_EQ(b, 0);
    cmcCellCapsule typed = Typed("300");
    EXPECT_TRUE(typed.ConvNumberByte(b, 0, 255));
    EXPECT_EQ(b, 255);
    cmcCellCapsule shown = Display();
    shown.ConvNumberByte(b, 0, 255);
    EXPECT_EQ(shown.outputText, "255");
}

TEST(ConvHexByte, InputTable) {
    struct Row {
        const char* input;
        int after;  // -1: unchanged (starts at 0x5A)
    };
    const Row rows[] = {{"f", 0x0F},
                        {"F", 0x0F},
                        {"a5", 0xA5},
                        {"A5B", 0xA5},
                        {"0x1f", 0x01},
                        {"", -1},
                        {"xyz", -1},
                        {"g1", 0x01},
                        {" 7 f", 0x7F},
                        {"\xFF"
                         "e",
                         0x0E},
                        {"123456789012345678901234567890", 0x12}};
    for (const Row& r : rows) {
        uint8_t v = 0x5A;
        cmcCellCapsule c = Typed(r.input);
        EXPECT_EQ(c.ConvHexByte(v, 0, 1, 8), r.after != -1) << r.input;
        EXPECT_EQ(v, r.after == -1 ? 0x5A : r.after) << r.input;
    }
    uint8_t v = 0x0F;
    cmcCellCapsule shown = Display();
    shown.ConvHexByte(v, 0x0F, 1, 8);
    EXPECT_EQ(shown.outputText, "0F");
}

TEST(ConvHexByte, DrawsDifferencesRedAndTakesTheBitEditorReply) {
    RecordingCanvas canvas;
    uint8_t v = 0x10;
    cmcCellCapsule same = Display();
    same.canvas = &canvas;
    same.ConvHexByte(v, 0x10, 1, 8);
    EXPECT_NE(canvas.fontColor, 0x0000FFu);
    cmcCellCapsule differs = Display();
    differs.canvas = &canvas;
    differs.ConvHexByte(v, 0x11, 1, 8);
    EXPECT_EQ(canvas.fontColor, 0x0000FFu);

    cmcCellCapsule reply = Display();
    reply.inputKind = kInputChoice;
    reply.inputText = std::to_string(0xC3u << 18);
    EXPECT_TRUE(reply.ConvHexByte(v, 0, 1, 8));
    EXPECT_EQ(v, 0xC3);
}

TEST(ConvHexByte, EnterOpensTheBitEditorAndHexDigitsTheTextEditor) {
    ScopedHeadlessMain main;
    cmcGTex* dictionary = reinterpret_cast<cmcGTex*>(&g_grid);  // only passed along
    main->SetDictionary(dictionary);
    uint8_t v = 0x5A;
    const cuiMainCore core = main.Core();
    cmcCellCapsule enter = Key(kKeyEnter);
    enter.core = &core;
    EXPECT_FALSE(enter.ConvHexByte(v, 0, 1, 8));
    EXPECT_EQ(enter.action, kActDone);
    ASSERT_EQ(main->BitEditors().size(), 1u);
    EXPECT_EQ(main->BitEditors()[0].value, 0x5Au << 18);
    EXPECT_EQ(main->BitEditors()[0].firstBit, 1);
    EXPECT_EQ(main->BitEditors()[0].lastBit, 8);
    EXPECT_EQ(main->BitEditors()[0].sheetName, "GI_Sheet_Sel_Bit_EeDebugWin");

    cmcCellCapsule hex = Key('c');
    hex.ConvHexByte(v, 0, 1, 8);
    EXPECT_EQ(hex.action, kActEdit);
    EXPECT_EQ(hex.outputText, "c");
    cmcCellCapsule other = Key('g');
    other.ConvHexByte(v, 0, 1, 8);
    EXPECT_EQ(other.action, kActNone);
    EXPECT_EQ(main->BitEditors().size(), 1u);
}

}  // namespace
