#include <gtest/gtest.h>

#include "memory/cmcBitMap.h"
#include "memory/cmcEeprom.h"

TEST(BitMap, SizedToWholeBytesAndLeastSignificantBitFirst) {
    cmcBitMap map;
    map.SizeFor(17);
    ASSERT_EQ(map.ByteLength(), 3);
    map.Mark(0, 0);
    map.Mark(9, 10);
    map.Mark(23, 23);  // beyond the image but inside the last byte of the array
    EXPECT_EQ(map.Bytes()[0], 0x01);
    EXPECT_EQ(map.Bytes()[1], 0x06);
    EXPECT_EQ(map.Bytes()[2], 0x80);
    EXPECT_TRUE(map.IsMarked(10));
    EXPECT_FALSE(map.IsMarked(11));
    EXPECT_FALSE(map.IsMarked(-1));
    EXPECT_FALSE(map.IsMarked(24));
    map.Clear();
    EXPECT_EQ(map.Bytes(), std::vector<std::uint8_t>(3, 0));
}

TEST(BitMap, RunsNotWhollyInsideTheArrayMarkNothing) {
    cmcBitMap map;
    map.SizeFor(16);
    map.Mark(8, 16);
    map.Mark(-1, 3);
    map.Mark(5, 4);
    EXPECT_EQ(map.Bytes(), std::vector<std::uint8_t>(2, 0));
    map.SizeFor(0);
    EXPECT_TRUE(map.IsEmpty());
    map.Mark(0, 0);
    EXPECT_TRUE(map.IsEmpty());
}

TEST(BitMap, MarkRangesStopsAtEndMarkOrInvalidRange) {
    cmcEeprom image;
    image.SetSize(64);
    cmcBitMap map;
    map.SizeFor(64);
    const cmcRange ranges[] = {{0, 3}, {60, 63}, {62, 64}, {8, 8}, kRangeEnd};
    map.MarkRanges(ranges, image);
    EXPECT_EQ(map.Bytes()[0], 0x0F);
    EXPECT_EQ(map.Bytes()[1], 0x00);  // {8, 8} lies after the invalid range
    EXPECT_EQ(map.Bytes()[7], 0xF0);
    map.MarkRanges(nullptr, image);
    EXPECT_EQ(map.Bytes()[0], 0x0F);
}

TEST(BitMap, MarksOutsideAnotherMap) {
    cmcBitMap a, b;
    a.SizeFor(32);
    b.SizeFor(32);
    a.Mark(4, 9);
    b.Mark(0, 15);
    EXPECT_FALSE(a.HasMarksOutside(b));
    EXPECT_TRUE(b.HasMarksOutside(a));
    EXPECT_NE(a, b);
    a.Mark(0, 15);
    EXPECT_EQ(a, b);
    a.Mark(31, 31);
    EXPECT_TRUE(a.HasMarksOutside(b));
}
