// Thousands of generated hostile texts through every typed-text conversion: whatever is typed,
// the stored value stays within its bounds and no byte beside the field changes.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "ConvTestSupport.h"
#include "memory/datCh.h"

using namespace ConvTest;

namespace {

std::vector<std::string> HostileTexts() {
    std::mt19937 rng(590);
    const std::string likely = "0123456789.-+: \t,eE";
    std::vector<std::string> texts = {"",
                                      ".",
                                      "-",
                                      "+",
                                      ":",
                                      "::",
                                      "-.",
                                      "..",
                                      "1e9",
                                      "-0",
                                      std::string(30, '9'),
                                      std::string(5000, '7'),
                                      std::string("\0\0", 2),
                                      "\xFF\xFE",
                                      "\x80"};
    for (int i = 0; i < 3000; ++i) {
        const int n = int(rng() % 41);
        std::string t;
        for (int j = 0; j < n; ++j) {
            t.push_back(rng() % 3 ? likely[rng() % likely.size()] : char(rng() % 256));
        }
        texts.push_back(t);
    }
    return texts;
}

const std::vector<std::string>& Texts() {
    static const std::vector<std::string> texts = HostileTexts();
    return texts;
}

TEST(ConvHostile, FrequencyPairStaysInBandAndTouchesOnlyItsSide) {
    for (const std::string& t : Texts()) {
        datCh ch;
        ch.SetEmpty(datCh::kUserCh, 1);
        ch.flags = datCh::kUsed;
        ch.rxFreq = 5000000;
        ch.txFreq = 6000000;
        std::memcpy(ch.comment, "KEEP ME ", 8);
        cmcCellCapsule c = Typed(t);
        ASSERT_TRUE(c.ConvFreqPair(ch, false, true));
        ASSERT_GE(ch.txFreq, 0);
        ASSERT_LE(ch.txFreq, 29999999);
        ASSERT_EQ(ch.txFreq % 100, 0);
        ASSERT_EQ(ch.rxFreq, 5000000);
        ASSERT_FALSE(ch.IsRxBlank());
        ASSERT_EQ(std::memcmp(ch.comment, "KEEP ME ", 8), 0);
    }
}

TEST(ConvHostile, SingleFrequencyIsUnsetOrInBand) {
    for (const std::string& t : Texts()) {
        for (bool fine : {false, true}) {
            datCh edge;
            int32_t guard[3] = {0x11111111, 1605000, 0x22222222};
            cmcCellCapsule c = Typed(t);
            c.ConvFreq(edge, guard[1], fine, true);
            ASSERT_TRUE(guard[1] == -1 || (guard[1] >= 0 && guard[1] <= 29999999)) << t;
            ASSERT_EQ(guard[0], 0x11111111);
            ASSERT_EQ(guard[2], 0x22222222);
        }
    }
}

TEST(ConvHostile, TimeOffsetStaysWithinTwelveHours) {
    for (const std::string& t : Texts()) {
        uint8_t b[3] = {0xA5, 72, 0x5A};
        cmcCellCapsule c = Typed(t);
        c.ConvTimeOffset(b[1]);
        ASSERT_LE(b[1], 144) << t;
        ASSERT_EQ(b[0], 0xA5);
        ASSERT_EQ(b[2], 0x5A);
    }
}

TEST(ConvHostile, DigitsArePackedOrNoValue) {
    for (const std::string& t : Texts()) {
        uint8_t b[7] = {0xA5, 1, 2, 3, 4, 5, 0x5A};
        cmcCellCapsule c = Typed(t);
        c.ConvDigits(b + 1, 9);
        const bool none =
            b[1] == 0xFF && b[2] == 0xFF && b[3] == 0xFF && b[4] == 0xFF && b[5] == 0xFF;
        const bool packed =
            b[1] < 100 && b[2] < 100 && b[3] < 100 && b[4] < 100 && b[5] < 100 && b[5] % 10 == 0;
        ASSERT_TRUE(none || packed) << t;
        ASSERT_EQ(b[0], 0xA5);
        ASSERT_EQ(b[6], 0x5A);
    }
}

TEST(ConvHostile, TextFieldsHoldOnlyPrintableBytes) {
    for (const std::string& t : Texts()) {
        char b[12];
        std::memset(b, '#', sizeof b);
        cmcCellCapsule c = Typed(t);
        c.ConvText(b + 1, 10);
        for (int i = 1; i <= 10; ++i)
            ASSERT_TRUE(b[i] >= 32 && b[i] <= 126) << t;
        ASSERT_EQ(b[0], '#');
        ASSERT_EQ(b[11], '#');
        for (char ch : c.outputText)
            ASSERT_TRUE(ch >= 32 && ch <= 126);
    }
}

TEST(ConvHostile, NumbersStayWithinTheirBounds) {
    struct Bounds {
        int32_t min, max, offset, step;
    };
    const Bounds bounds[] = {{1, 160, 0, 1}, {100, 200, 0, 10}, {0, 255, 1, 1}, {-10, 10, 0, 1}};
    for (const std::string& t : Texts()) {
        for (const Bounds& r : bounds) {
            int32_t v = r.min;
            cmcCellCapsule c = Typed(t);
            if (c.ConvNumber(v, r.min, r.max, r.offset, r.step, false, nullptr)) {
                ASSERT_GE(v, r.min) << t;
                ASSERT_LE(v, r.max) << t;
            }
        }
        uint8_t b[3] = {0xA5, 7, 0x5A};
        cmcCellCapsule c = Typed(t);
        c.ConvNumberByte(b[1], 1, 99);
        ASSERT_GE(b[1], 1);
        ASSERT_LE(b[1], 99);
        ASSERT_EQ(b[0], 0xA5);
        ASSERT_EQ(b[2], 0x5A);
    }
}

TEST(ConvHostile, HexByteTakesAtMostTwoDigits) {
    for (const std::string& t : Texts()) {
        uint8_t b[3] = {0xA5, 0x42, 0x5A};
        cmcCellCapsule c = Typed(t);
        c.ConvHexByte(b[1], 0, 1, 8);
        ASSERT_EQ(b[0], 0xA5);
        ASSERT_EQ(b[2], 0x5A);
        ASSERT_EQ(c.outputText.size(), 2u);
    }
}

}  // namespace
