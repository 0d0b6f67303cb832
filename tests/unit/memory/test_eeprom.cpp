#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "cmcTestHost.h"
#include "memory/MemoryMap.h"
#include "memory/cmcEeprom.h"

namespace {

constexpr int kSize = MemoryMap::kImageSize;

// An image of the controller's size with a recognisable pattern in every byte.
void FillPattern(cmcEeprom& image, int size = kSize) {
    image.SetSize(size);
    for (int a = 0; a < size; ++a)
        image.Bytes()[a] = static_cast<std::uint8_t>(a * 7 + 3);
}

}  // namespace

TEST(Eeprom, NewImageIsEmpty) {
    cmcEeprom image;
    EXPECT_EQ(image.GetSize(), 0);
    EXPECT_EQ(image.Bytes(), nullptr);
    EXPECT_FALSE(image.IsValidAddress(0));
}

TEST(Eeprom, SetSizeSameSizeKeepsArrayButClearsIt) {
    cmcEeprom image;
    FillPattern(image);
    const std::uint8_t* before = image.Bytes();
    image.SetSize(kSize);
    EXPECT_EQ(image.Bytes(), before);
    EXPECT_EQ(image.GetSize(), kSize);
    for (int a = 0; a < kSize; ++a)
        ASSERT_EQ(image.GetByte(a), 0) << a;
}

TEST(Eeprom, SetSizeNewSizeGivesClearedImage) {
    cmcEeprom image;
    FillPattern(image, 100);
    image.SetSize(kSize);
    EXPECT_EQ(image.GetSize(), kSize);
    for (int a = 0; a < kSize; ++a)
        ASSERT_EQ(image.GetByte(a), 0) << a;
}

class EepromEmptySize : public ::testing::TestWithParam<int> {};

TEST_P(EepromEmptySize, ZeroOrNegativeSizeFreesTheArray) {
    cmcEeprom image;
    FillPattern(image);
    image.SetSize(GetParam());
    EXPECT_EQ(image.GetSize(), 0);
    EXPECT_EQ(image.Bytes(), nullptr);
    EXPECT_FALSE(image.IsValidAddress(0));
    EXPECT_FALSE(image.IsValidAddress(-1));
    image.Fill(0x55);  // nothing to fill, and no crash
    EXPECT_EQ(image.GetSize(), 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, EepromEmptySize, ::testing::Values(0, -1, -16384));

TEST(Eeprom, IsValidAddressBounds) {
    cmcEeprom image;
    image.SetSize(kSize);
    EXPECT_FALSE(image.IsValidAddress(-1));
    EXPECT_TRUE(image.IsValidAddress(0));
    EXPECT_TRUE(image.IsValidAddress(kSize - 1));
    EXPECT_FALSE(image.IsValidAddress(kSize));
}

TEST(Eeprom, FillSetsEveryByte) {
    cmcEeprom image;
    image.SetSize(kSize);
    image.Fill(0xA5);
    for (int a = 0; a < kSize; ++a)
        ASSERT_EQ(image.GetByte(a), 0xA5) << a;
}

TEST(Eeprom, SetByteAndGetByteAtBothEnds) {
    cmcEeprom image;
    image.SetSize(kSize);
    image.SetByte(0, 0x12);
    image.SetByte(kSize - 1, 0xFE);
    EXPECT_EQ(image.GetByte(0), 0x12);
    EXPECT_EQ(image.GetByte(kSize - 1), 0xFE);
    EXPECT_EQ(image.Bytes()[kSize - 1], 0xFE);
}

struct FatalCase {
    int size;
    int address;
};

class EepromFatal : public ::testing::TestWithParam<FatalCase> {};

TEST_P(EepromFatal, OutOfRangeSingleByteAccessIsFatalWithItsText) {
    ScopedTestHost host;
    cmcEeprom image;
    image.SetSize(GetParam().size);
    EXPECT_THROW(image.GetByte(GetParam().address), cmcFatalError);
    EXPECT_THROW(image.SetByte(GetParam().address, 1), cmcFatalError);
    ASSERT_EQ(host->Fatals().size(), 2u);
    EXPECT_EQ(host->Fatals()[0], "Out of EEPROM image address (GetByte).");
    EXPECT_EQ(host->Fatals()[1], "Out of EEPROM image address (SetByte).");
    EXPECT_TRUE(host->Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Addresses, EepromFatal,
                         ::testing::Values(FatalCase{kSize, -1}, FatalCase{kSize, kSize},
                                           FatalCase{kSize, 0x7FFFFFFF}, FatalCase{0, 0}));

struct BlockCase {
    int address;
    int length;
    bool copied;
};

class EepromBlock : public ::testing::TestWithParam<BlockCase> {};

// Both block directions share one rule: the whole block inside the image, or nothing at all.
TEST_P(EepromBlock, CopiesWholeBlockOrNothing) {
    const BlockCase c = GetParam();
    // A refused block must not touch the buffer, so it need not be as long as the length claims.
    const int bufferLength = c.copied ? c.length : 16;
    std::vector<std::uint8_t> source(static_cast<std::size_t>(bufferLength));
    for (std::size_t i = 0; i < source.size(); ++i)
        source[i] = static_cast<std::uint8_t>(0x80 + i);

    cmcEeprom image;
    FillPattern(image);
    cmcEeprom before;
    before.CopyFrom(image);

    image.WriteBlock(c.address, source.data(), c.length);
    if (c.copied) {
        for (int i = 0; i < c.length; ++i)
            EXPECT_EQ(image.GetByte(c.address + i), source[i]);
    } else {
        EXPECT_TRUE(image.IsEqual(before));
    }

    std::vector<std::uint8_t> dest(source.size(), 0xEE);
    before.ReadBlock(c.address, dest.data(), c.length);
    for (int i = 0; i < bufferLength; ++i) {
        const std::uint8_t expected = c.copied ? before.GetByte(c.address + i) : 0xEE;
        EXPECT_EQ(dest[i], expected) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, EepromBlock,
    ::testing::Values(BlockCase{kSize - 8, 8, true},     // ends exactly at the last byte
                      BlockCase{kSize - 4, 8, false},    // would run past the end
                      BlockCase{0, kSize, true},         // the whole image
                      BlockCase{0, 0, false},            // empty block
                      BlockCase{10, -3, false},          // negative length
                      BlockCase{-1, 4, false},           // before the start
                      BlockCase{kSize, 1, false},        // just past the end
                      BlockCase{1, 0x7FFFFFFF, false}),  // length that would wrap
    [](const ::testing::TestParamInfo<BlockCase>& info) { return std::to_string(info.index); });

TEST(Eeprom, BlockOnEmptyImageDoesNothing) {
    cmcEeprom image;
    std::uint8_t buf[4] = {1, 2, 3, 4};
    image.WriteBlock(0, buf, 4);
    image.ReadBlock(0, buf, 4);
    EXPECT_EQ(image.GetSize(), 0);
    EXPECT_EQ(buf[0], 1);
}

TEST(Eeprom, CopyFromGivesEqualSizeAndContents) {
    cmcEeprom a;
    FillPattern(a);
    cmcEeprom b;
    b.SetSize(100);
    b.CopyFrom(a);
    EXPECT_EQ(b.GetSize(), kSize);
    EXPECT_TRUE(b.IsEqual(a));
    EXPECT_NE(b.Bytes(), a.Bytes());
    b.SetByte(kSize - 1, static_cast<std::uint8_t>(a.GetByte(kSize - 1) ^ 1));
    EXPECT_TRUE(b.IsDifferent(a));
}

TEST(Eeprom, CopyFromEmptyLeavesEmpty) {
    cmcEeprom empty;
    cmcEeprom b;
    FillPattern(b);
    b.CopyFrom(empty);
    EXPECT_EQ(b.GetSize(), 0);
    EXPECT_TRUE(b.IsEqual(empty));
}

TEST(Eeprom, CopyFromItselfKeepsContents) {
    cmcEeprom a;
    FillPattern(a);
    cmcEeprom expected;
    expected.CopyFrom(a);
    a.CopyFrom(a);
    EXPECT_TRUE(a.IsEqual(expected));
}

TEST(Eeprom, EqualityRules) {
    cmcEeprom e1, e2;
    EXPECT_TRUE(e1.IsEqual(e2));
    EXPECT_FALSE(e1.IsDifferent(e2));

    cmcEeprom small, large;
    small.SetSize(16);
    large.SetSize(17);  // all zero in both, sizes differ
    EXPECT_FALSE(small.IsEqual(large));
    EXPECT_TRUE(small.IsDifferent(large));
    EXPECT_FALSE(small.IsEqual(e1));

    cmcEeprom a, b;
    FillPattern(a);
    b.CopyFrom(a);
    EXPECT_TRUE(a.IsEqual(b));
    b.SetByte(0, static_cast<std::uint8_t>(a.GetByte(0) + 1));
    EXPECT_FALSE(a.IsEqual(b));
}
