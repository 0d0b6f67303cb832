#include <gtest/gtest.h>

#include <vector>

#include "ConvTestSupport.h"
#include "cells/cmcCellObj.h"
#include "memory/MemoryMap.h"
#include "memory/datCh.h"

using namespace ConvTest;

namespace {

datCh EmptyUserChannel() {
    datCh ch;
    ch.SetEmpty(datCh::kUserCh, 1);
    return ch;
}

datCh Simplex(int hz) {
    datCh ch;
    ch.SetEmpty(datCh::kUserCh, 1);
    ch.flags = datCh::kUsed;
    ch.rxFreq = hz;
    ch.txFreq = hz;
    return ch;
}

TEST(ConvFreqPair, TypingIntoAnEmptyRecordFollowsToTransmit) {
    datCh ch = EmptyUserChannel();
    cmcCellCapsule c = Typed("2182");
    EXPECT_TRUE(c.ConvFreqPair(ch, true, true));
    EXPECT_EQ(ch.rxFreq, 2182000);
    EXPECT_EQ(ch.txFreq, 2182000);
    EXPECT_FALSE(ch.IsRxBlank());
    EXPECT_FALSE(ch.IsTxBlank());
    EXPECT_EQ(c.alignment, cmcCellCapsule::kAlignRight);

    // Stored and reloaded, the record is in use and the transmit cell shows "<-", centred.
    std::vector<uint8_t> image(MemoryMap::kImageSize, 0);
    ch.SetImage(image.data());
    ch.SaveAndReload();
    EXPECT_TRUE(ch.IsUsed());
    cmcCellCapsule tx = Display();
    EXPECT_FALSE(tx.ConvFreqPair(ch, false, true));
    EXPECT_EQ(tx.outputText, "<-");
    EXPECT_EQ(tx.alignment, cmcCellCapsule::kAlignCenter);
    cmcCellCapsule rx = Display();
    rx.ConvFreqPair(ch, true, true);
    EXPECT_EQ(rx.outputText, "2182.0");
}

TEST(ConvFreqPair, DuplexRecordDoesNotFollow) {
    datCh ch = Simplex(2182000);
    ch.txFreq = 2187500;
    cmcCellCapsule c = Typed("4125");
    EXPECT_TRUE(c.ConvFreqPair(ch, true, true));
    EXPECT_EQ(ch.rxFreq, 4125000);
    EXPECT_EQ(ch.txFreq, 2187500);
    cmcCellCapsule tx = Display();
    tx.ConvFreqPair(ch, false, true);
    EXPECT_EQ(tx.outputText, "2187.5");
}

// Typed text -> stored receive frequency and blank bit, for a record in use at 5000 kHz.
TEST(ConvFreqPair, InputTable) {
    struct Row {
        const char* input;
        int32_t hz;
        bool blank;
        const char* shown;
    };
    const Row rows[] = {
        {"8291.15", 8291100, false, "8291.1"},
        {"2182", 2182000, false, "2182.0"},
        {"40000", 29999900, false, "29999.9"},
        {"0", 5000000, true, ""},
        {"", 5000000, true, ""},
        {"...", 5000000, true, ""},
        {"0.04", 5000000, true, ""},  // 40 Hz rounds down to 0
        {"0.1", 100, false, "0.1"},
        {"-2182", 2182000, false, "2182.0"},      // the sign is dropped with the other junk
        {"21 82 kHz", 2182000, false, "2182.0"},  // blanks and letters are dropped
        {"1.2.3", 1200, false, "1.2"},            // reading stops at the second "."
        {"123456789012345678901234567890", 29999900, false, "29999.9"},
        {"\xA4\xA2"
         "2182\xFF",
         2182000, false, "2182.0"},              // bytes of another code page
        {"2182,5", 21825000, false, "21825.0"},  // "," is no separator: it is dropped
    };
    for (const Row& r : rows) {
        datCh ch = Simplex(5000000);
        ch.txFreq = 6000000;  // not simplex: nothing follows
        cmcCellCapsule c = Typed(r.input);
        EXPECT_TRUE(c.ConvFreqPair(ch, true, true)) << r.input;
        EXPECT_EQ(ch.rxFreq, r.hz) << r.input;
        EXPECT_EQ(ch.IsRxBlank(), r.blank) << r.input;
        EXPECT_EQ(ch.txFreq, 6000000) << r.input;
        EXPECT_FALSE(ch.IsTxBlank()) << r.input;
        EXPECT_EQ(c.outputText, r.shown) << r.input;
    }
}

TEST(ConvFreqPair, BlankingASimplexReceiveSideBlanksTransmitToo) {
    datCh ch = Simplex(2182000);
    cmcCellCapsule c = Typed("0");
    EXPECT_TRUE(c.ConvFreqPair(ch, true, true));
    EXPECT_TRUE(ch.IsRxBlank());
    EXPECT_TRUE(ch.IsTxBlank());
    EXPECT_EQ(ch.rxFreq, 2182000);  // the value stays, only the side is blank
}

TEST(ConvFreqPair, StoredValuesOutsideTheBandAreLimited) {
    datCh ch = Simplex(0);
    ch.rxFreq = 50000000;
    ch.txFreq = -5;
    cmcCellCapsule c = Display();
    EXPECT_FALSE(c.ConvFreqPair(ch, true, false));
    EXPECT_EQ(ch.rxFreq, 29999999);
    EXPECT_EQ(c.outputText, "29999.9");
    cmcCellCapsule t = Display();
    t.ConvFreqPair(ch, false, false);
    EXPECT_EQ(ch.txFreq, 0);
    EXPECT_EQ(t.outputText, "0.0");
}

TEST(ConvFreqPair, Keys) {
    struct Row {
        int32_t key;
        bool rxSide;
        bool used;
        uint8_t action;
        const char* text;
        int32_t selStart, selLength;
    };
    const Row rows[] = {
        {'.', true, true, kActEdit, "2182.0", 5, 0},
        {'=', false, true, kActEdit, "2182.0", 0, 6},  // the receive text on the transmit side
        {'=', true, true, kActNone, "2182.0", 0, 6},   // "=" means nothing on the receive side
        {'4', true, true, kActEdit, "4", 1, 0},
        {' ', true, true, kActEdit, " ", 1, 0},
        {kKeyEnter, true, true, kActEdit, "2182.0", 0, 6},
        {kKeyEnter, true, false, kActEdit, "", 0, 0},
        {kKeyDoubleClick, true, true, kActEdit, "2182.0", 0, 6},
        {kKeySpace + 1, true, true, kActNone, "2182.0", 0, 6},  // "!" does nothing
        {kKeyBackspace, true, true, kActNone, "2182.0", 0, 6},
    };
    for (const Row& r : rows) {
        datCh ch = Simplex(2182000);
        ch.txFreq = 2187500;
        if (!r.used)
            ch.flags = 0;  // not in use, both sides present
        cmcCellCapsule c = Key(r.key);
        if (!r.rxSide)
            ch.txFreq = 2182000 + 100;
        EXPECT_FALSE(c.ConvFreqPair(ch, r.rxSide, true)) << r.key;
        EXPECT_EQ(c.action, r.action) << r.key;
        if (r.action == kActEdit || r.rxSide) {
            EXPECT_EQ(c.outputText, r.text) << r.key;
            EXPECT_EQ(c.selStart, r.selStart) << r.key;
            EXPECT_EQ(c.selLength, r.selLength) << r.key;
        }
    }
}

TEST(ConvFreqPair, UnusedOrBlankSidesShowNothing) {
    datCh ch = Simplex(2182000);
    ch.flags = 0;  // not in use
    cmcCellCapsule c = Display();
    c.ConvFreqPair(ch, true, true);
    EXPECT_EQ(c.outputText, "");
    ch.flags = datCh::kUsed | datCh::kTxBlank;
    cmcCellCapsule t = Display();
    t.ConvFreqPair(ch, false, true);
    EXPECT_EQ(t.outputText, "");
}

TEST(ConvFreq, InputTable) {
    struct Row {
        const char* input;
        bool fine, mayBeUnset;
        int32_t before, after;
        bool changed;
        const char* shown;
    };
    const Row rows[] = {
        {"0", false, true, 2000000, -1, true, ""},
        {"", false, true, 2000000, -1, true, ""},
        {"", false, false, 2000000, 2000000, false, "2000.0"},
        {"0", false, false, 2000000, 2000000, false, "2000.0"},
        {"1605.5", true, false, 0, 1605500, true, "1605.500"},
        {"1605.5", false, false, 0, 1605500, true, "1605.5"},
        {"1605.0009", true, false, 0, 1605001, true, "1605.001"},
        {"1605.0009", false, false, 0, 1605000, true, "1605.0"},
        {"99999999999", true, true, 0, 29999999, true, "29999.999"},
        {"abc", false, true, 5, -1, true, ""},
        {"-1600", true, true, 5, 1600000, true, "1600.000"},
        {"123456789012345678901234567890", false, false, 5, 29999900, true, "29999.9"},
        {". . .", true, false, 5, 5, false, "0.005"},
        {"16\xC2\xB7"
         "05",
         true, false, 5, 1605000, true, "1605.000"},  // a middle dot is dropped
        {"2.1-8", false, false, 5, 2100, true, "2.1"},
    };
    for (const Row& r : rows) {
        datCh edge;
        edge.Load(datCh::kTxEdge, 0);
        int32_t v = r.before;
        cmcCellCapsule c = Typed(r.input);
        EXPECT_EQ(c.ConvFreq(edge, v, r.fine, r.mayBeUnset), r.changed) << r.input;
        EXPECT_EQ(v, r.after) << r.input;
        EXPECT_EQ(c.outputText, r.shown) << r.input;
        EXPECT_EQ(c.alignment, cmcCellCapsule::kAlignRight);
    }
}

TEST(ConvFreq, UnsetStaysUnsetAndOthersAreLimitedOnDisplay) {
    datCh edge;
    int32_t unset = -1;
    cmcCellCapsule c = Display();
    EXPECT_FALSE(c.ConvFreq(edge, unset, true, false));
    EXPECT_EQ(unset, -1);
    EXPECT_EQ(c.outputText, "");
    int32_t big = 40000000;
    cmcCellCapsule d = Display();
    d.ConvFreq(edge, big, true, true);
    EXPECT_EQ(big, 29999999);
    int32_t negative = -7;
    cmcCellCapsule e = Display();
    e.ConvFreq(edge, negative, true, true);
    EXPECT_EQ(negative, 0);
}

TEST(ConvFreq, Keys) {
    datCh edge;
    int32_t v = 1605500;
    cmcCellCapsule dot = Key('.');
    dot.ConvFreq(edge, v, true, false);
    EXPECT_EQ(dot.action, kActEdit);
    EXPECT_EQ(dot.selStart, 5);
    cmcCellCapsule digit = Key('3');
    digit.ConvFreq(edge, v, true, false);
    EXPECT_EQ(digit.outputText, "3");
    cmcCellCapsule enter = Key(kKeyEnter);
    enter.ConvFreq(edge, v, true, false);
    EXPECT_EQ(enter.outputText, "1605.500");
    EXPECT_EQ(enter.selLength, 8);
    cmcCellCapsule other = Key('x');
    other.ConvFreq(edge, v, true, false);
    EXPECT_EQ(other.action, kActNone);
}

TEST(ConvTimeOffset, Shown) {
    struct Row {
        uint8_t byte;
        const char* shown;
    };
    const Row rows[] = {{72, "0:00"},  {39, "-5:30"}, {144, "+12:00"}, {0, "-12:00"},
                        {73, "+0:10"}, {71, "-0:10"}, {78, "+1:00"},   {255, "+30:30"}};
    for (const Row& r : rows) {
        uint8_t b = r.byte;
        cmcCellCapsule c = Display();
        EXPECT_FALSE(c.ConvTimeOffset(b));
        EXPECT_EQ(c.outputText, r.shown) << int(r.byte);
        EXPECT_EQ(b, r.byte);
    }
}

TEST(ConvTimeOffset, InputTable) {
    struct Row {
        const char* input;
        int byte;  // -1: unchanged (the byte starts at 100)
    };
    const Row rows[] = {
        {"-5:35", 39},
        {"5:35", 105},
        {"+5:30", 105},
        {"12:00", 144},
        {"-12:00", 0},
        {"13:00", -1},
        {"12:10", -1},
        {"0:60", -1},
        {"5", -1},
        {":30", -1},
        {"5:", -1},
        {"", -1},
        {":", -1},
        {"1:2:3", -1},
        {"005:00", -1},
        {"0:00", 72},
        {"- 1 : 3 0", 63},
        {"x-1:30", 63},
        {"+-1:30", 81},
        {"1:3\xE9"
         "0",
         81},
        {"99999:99", -1},
        {"123456789012345678901234567890", -1},
    };
    for (const Row& r : rows) {
        uint8_t b = 100;
        cmcCellCapsule c = Typed(r.input);
        EXPECT_EQ(c.ConvTimeOffset(b), r.byte != -1) << r.input;
        EXPECT_EQ(b, r.byte == -1 ? 100 : r.byte) << r.input;
    }
}

TEST(ConvTimeOffset, KeysUseSignsAndSpaceAsEnter) {
    uint8_t b = 72;
    cmcCellCapsule minus = Key('-');
    minus.ConvTimeOffset(b);
    EXPECT_EQ(minus.action, kActEdit);
    EXPECT_EQ(minus.outputText, "-");
    cmcCellCapsule space = Key(kKeySpace);
    space.ConvTimeOffset(b);
    EXPECT_EQ(space.action, kActEdit);
    EXPECT_EQ(space.outputText, "0:00");
}

}  // namespace

namespace {

TEST(ConvFreqPair, AlignsTheCellItself) {
    cmcCellObj cell;
    cell.SetHAlignment(cmcCellObj::kLeft);
    cell.SetVAlignment(cmcCellObj::kBottom);
    datCh ch = Simplex(2182000);
    cmcCellCapsule rx = Display();
    rx.cell = &cell;
    rx.ConvFreqPair(ch, true, true);
    EXPECT_EQ(cell.HAlignment(), cmcCellObj::kRight);
    EXPECT_EQ(cell.VAlignment(), cmcCellObj::kBottom);  // only the horizontal part changes
    cmcCellCapsule tx = Display();
    tx.cell = &cell;
    tx.ConvFreqPair(ch, false, true);
    EXPECT_EQ(tx.outputText, "<-");
    EXPECT_EQ(cell.HAlignment(), cmcCellObj::kCenter);

    datCh edge;
    int32_t v = 1605500;
    cmcCellCapsule f = Display();
    f.cell = &cell;
    f.ConvFreq(edge, v, true, false);
    EXPECT_EQ(cell.HAlignment(), cmcCellObj::kRight);
}

}  // namespace
