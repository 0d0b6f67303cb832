#include <gtest/gtest.h>

#include <string>

#include "clone/cmcBuff.h"
#include "cmcTestHost.h"

namespace {
std::string Text(const cmcBuff& b) {
    return std::string(reinterpret_cast<const char*>(b.Data()), static_cast<size_t>(b.GetLength()));
}
}  // namespace

TEST(CmcBuff, ConstructedEmptyWithOneByteOfStorage) {
    cmcBuff b;
    EXPECT_EQ(b.GetLength(), 0);
    EXPECT_EQ(b.Capacity(), 1);
    EXPECT_EQ(b.PopFront(), -1);
    EXPECT_EQ(b.GetLength(), 0);
    EXPECT_EQ(b.Capacity(), 1);
}

TEST(CmcBuff, GrowsByAQuarterAndZeroFillsNewStorage) {
    cmcBuff b;
    b.Assign("abcdefgh", 8);
    EXPECT_EQ(b.Capacity(), 8);
    b.SetLength(4);  // shrinking keeps the storage
    EXPECT_EQ(b.Capacity(), 8);
    EXPECT_EQ(Text(b), "abcd");
    b.SetLength(6);  // within the capacity: old bytes reappear
    EXPECT_EQ(Text(b), "abcdef");
    b.SetLength(20);  // beyond: 20 + 6/4 bytes, added bytes zero
    EXPECT_EQ(b.Capacity(), 21);
    EXPECT_EQ(Text(b).substr(0, 6), "abcdef");
    for (int i = 6; i < 20; ++i)
        EXPECT_EQ(*b.At(i), 0) << i;
}

TEST(CmcBuff, AppendVariantsAndCopies) {
    cmcBuff b;
    b.Append("ab", 2);
    b.AppendByte('c');
    b.AppendFill('x', 3);
    cmcBuff other;
    other.Assign("yz", 2);
    b.Append(other);
    EXPECT_EQ(Text(b), "abcxxxyz");
    cmcBuff copy(b);
    EXPECT_TRUE(copy == b);
    b.Append(b);  // appending itself doubles the content
    EXPECT_EQ(Text(b), "abcxxxyzabcxxxyz");
    EXPECT_EQ(Text(copy), "abcxxxyz");
    copy = b;
    EXPECT_EQ(Text(copy), "abcxxxyzabcxxxyz");
}

TEST(CmcBuff, PopFrontReturnsBytesAsUnsignedAndCompactsAfter4096) {
    cmcBuff b;
    b.AppendFill(0xFF, 10000);
    EXPECT_EQ(b.PopFront(), 255);
    const int capacityBefore = b.Capacity();
    for (int i = 0; i < 4095; ++i)
        b.PopFront();
    // 4096 removed: not yet compacted, the capacity shrank with every pop.
    EXPECT_EQ(b.Capacity(), capacityBefore - 4095);
    b.PopFront();  // 4097 removed: compacted to exactly the content
    EXPECT_EQ(b.GetLength(), 10000 - 4097);
    EXPECT_EQ(b.Capacity(), b.GetLength());
    for (int i = 0; i < 903; ++i)
        b.PopFront();  // 5000 pops in all
    EXPECT_EQ(b.GetLength(), 5000);
    EXPECT_LE(b.Capacity(), 5903);
}

TEST(CmcBuff, RemoveFrontAndClear) {
    cmcBuff b;
    b.Assign("hello", 5);
    b.RemoveFront(2);
    EXPECT_EQ(Text(b), "llo");
    b.RemoveFront(99);
    EXPECT_EQ(b.GetLength(), 0);
    b.Assign("again", 5);
    b.Clear();
    EXPECT_EQ(b.GetLength(), 0);
    EXPECT_EQ(b.Capacity(), 1);
}

TEST(CmcBuff, CompactKeepsContent) {
    cmcBuff b;
    b.Assign("0123456789", 10);
    b.PopFront();
    b.Compact();
    EXPECT_EQ(b.Capacity(), 9);
    EXPECT_EQ(Text(b), "123456789");
    b.Clear();
    b.Compact();
    EXPECT_EQ(b.Capacity(), 1);
}

TEST(CmcBuff, AtBeyondLengthIsFatal) {
    ScopedTestHost host;
    cmcBuff b;
    b.Assign("ab", 2);
    EXPECT_EQ(*b.At(1), 'b');
    EXPECT_THROW(b.At(2), cmcFatalError);
    ASSERT_EQ(host->Fatals().size(), 1u);
    EXPECT_EQ(host->Fatals()[0], "Out of cmcBuff element !");
}
