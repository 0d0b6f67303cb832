#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "memory/MemoryMap.h"
#include "memory/cmcEeprom.h"
#include "memory/datCh.h"

namespace MM = MemoryMap;

namespace {

class RecordsTest : public ::testing::Test {
protected:
    std::vector<uint8_t> image = std::vector<uint8_t>(MM::kImageSize, 0);
    uint8_t* im() { return image.data(); }

    uint32_t LE32(int a) const {
        return uint32_t(image[a]) | uint32_t(image[a + 1]) << 8 | uint32_t(image[a + 2]) << 16 |
               uint32_t(image[a + 3]) << 24;
    }
    uint16_t LE16(int a) const { return uint16_t(image[a] | image[a + 1] << 8); }
    void SetLE32(int a, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            image[a + i] = uint8_t(v >> (8 * i));
    }
    bool Bit(int table, int b) const { return (image[table + b / 8] >> (b % 8)) & 1; }
    void SetBit(int table, int b) { image[table + b / 8] |= uint8_t(1 << (b % 8)); }
};

TEST_F(RecordsTest, ResetAndSetEmptyGiveTheDocumentedFields) {
    datCh ch(im());
    EXPECT_EQ(ch.flags, datCh::kUsed);
    EXPECT_EQ(ch.kind, 0);
    EXPECT_EQ(ch.Image(), im());

    ch.SetEmpty(datCh::kDscId, 7);
    EXPECT_EQ(ch.kind, datCh::kDscId);
    EXPECT_EQ(ch.entry, 7);
    EXPECT_EQ(ch.flags, datCh::kRxBlank | datCh::kTxBlank);
    EXPECT_EQ(ch.mode, 1);
    EXPECT_EQ(std::string(ch.comment, 8), "        ");
    EXPECT_EQ(std::string(ch.name, 10), "          ");
    EXPECT_EQ(std::string(ch.indication, 3), "   ");
    EXPECT_EQ(ch.attribute, 255);
    for (uint8_t b : ch.identity)
        EXPECT_EQ(b, 0xFF);
    EXPECT_EQ(ch.pairUse, 0);
    // SetEmpty writes nothing.
    EXPECT_EQ(image, std::vector<uint8_t>(MM::kImageSize, 0));
}

TEST_F(RecordsTest, KindTable) {
    image[MM::kMaxUserChannel] = 32;
    datCh ch(im());
    struct Row {
        int kind, first, last;
        bool ops;
    };
    const Row rows[] = {{0, 0, 0, false},  {1, 1, 32, true},  {2, 0, 71, true},  {3, 0, 159, true},
                        {4, 0, 0, true},   {5, 0, 7, true},   {6, 0, 10, true},  {7, 0, 5, false},
                        {8, 0, 99, true},  {9, 0, 49, true},  {10, 0, 0, false}, {11, 0, 0, false},
                        {12, 0, 0, false}, {13, 0, 0, false}, {14, 0, 0, false}};
    for (const Row& r : rows) {
        EXPECT_EQ(datCh::FirstEntry(r.kind), r.first) << r.kind;
        EXPECT_EQ(ch.LastEntry(r.kind), r.last) << r.kind;
        EXPECT_EQ(datCh::AllowsChannelOps(r.kind), r.ops) << r.kind;
    }
    // Kind 1 follows the image at the moment of the query, and never beyond 160.
    image[MM::kMaxUserChannel] = 200;
    EXPECT_EQ(ch.LastEntry(datCh::kUserCh), 160);
    image[MM::kMaxUserChannel] = 161;
    EXPECT_EQ(ch.LastEntry(datCh::kUserCh), 160);
}

TEST_F(RecordsTest, UserChannelLayoutAndBlankBits) {
    datCh ch(im());
    ch.Load(datCh::kUserCh, 5);
    ch.rxFreq = 2182000;
    ch.txFreq = 2182500;
    ch.mode = 3;
    std::memcpy(ch.comment, "DISTRESS", 8);
    ch.flags = datCh::kUsed | datCh::kTxBlank;
    ch.Save();

    const int a = MM::kUserChannels + 17 * 5;
    EXPECT_EQ(a, 0x02E0);
    EXPECT_EQ(LE32(a), 2182000u);
    EXPECT_EQ(LE32(a + 4), 2182500u);
    EXPECT_EQ(image[a + 8], 3);
    EXPECT_EQ(std::memcmp(&image[a + 9], "DISTRESS", 8), 0);
    EXPECT_FALSE(Bit(MM::kRxBlankTable, 4));
    EXPECT_TRUE(Bit(MM::kTxBlankTable, 4));
    // Neighbours untouched.
    EXPECT_EQ(image[a - 1], 0);
    EXPECT_EQ(image[a + 17], 0);

    datCh back(im());
    back.Load(datCh::kUserCh, 5);
    EXPECT_EQ(back.rxFreq, 2182000);
    EXPECT_EQ(back.txFreq, 2182500);
    EXPECT_EQ(back.flags, datCh::kUsed | datCh::kTxBlank);
}

TEST_F(RecordsTest, UserChannelWithBothBlankBitsIsUnusedUntilOneIsCleared) {
    SetBit(MM::kRxBlankTable, 9);  // channel 10
    SetBit(MM::kTxBlankTable, 9);
    datCh ch(im());
    ch.Load(datCh::kUserCh, 10);
    EXPECT_FALSE(ch.IsUsed());
    EXPECT_EQ(ch.flags, datCh::kRxBlank | datCh::kTxBlank);

    ch.flags = uint8_t(ch.flags & ~datCh::kTxBlank);
    ch.SaveAndReload();
    EXPECT_TRUE(ch.IsUsed());
    EXPECT_TRUE(ch.IsRxBlank());
    EXPECT_FALSE(ch.IsTxBlank());
}

TEST_F(RecordsTest, UserChannelOutsideTableRangeHasNoBlankBits) {
    // Channel 0 (the template's record) reads no blank bits and stores none.
    std::fill(image.begin() + MM::kRxBlankTable,
              image.begin() + MM::kTxBlankTable + MM::kBlankTableLength, 0xFF);
    datCh ch(im());
    ch.Load(datCh::kUserCh, 0);
    EXPECT_EQ(ch.flags, datCh::kUsed);
    ch.flags = 0;
    ch.Save();
    for (int i = MM::kRxBlankTable; i < MM::kTxBlankTable + MM::kBlankTableLength; ++i) {
        ASSERT_EQ(image[i], 0xFF) << i;
    }
}

TEST_F(RecordsTest, ItuChannelStoresItsFrequencyTwiceAndBlankInBothTables) {
    datCh ch(im());
    ch.Load(datCh::kItuCh, 12);
    ch.rxFreq = 8291000;
    ch.txFreq = 123;  // ignored
    ch.flags = datCh::kRxBlank;
    ch.Save();
    const int a = MM::kItuChannels + 17 * 12;
    EXPECT_EQ(LE32(a), 8291000u);
    EXPECT_EQ(LE32(a + 4), 8291000u);
    EXPECT_TRUE(Bit(MM::kRxBlankTable, 172));
    EXPECT_TRUE(Bit(MM::kTxBlankTable, 172));

    SetLE32(a + 4, 999);  // bytes 4-7 are not read
    ch.Load(datCh::kItuCh, 12);
    EXPECT_EQ(ch.rxFreq, 8291000);
    EXPECT_EQ(ch.txFreq, 0);
    EXPECT_EQ(ch.flags, datCh::kRxBlank | datCh::kTxBlank);
}

TEST_F(RecordsTest, EMailChannelKeepsTheOtherBitsOfItsFlagByte) {
    const int a = MM::kEMailChannels + 18 * 159;
    image[a + 17] = 0x3F | 0x80;
    datCh ch(im());
    ch.Load(datCh::kEMailCh, 159);
    EXPECT_EQ(ch.flags, datCh::kUsed | datCh::kRxBlank);
    ch.flags = datCh::kUsed | datCh::kTxBlank;
    ch.filter = 2;
    ch.rxFreq = 10000000;
    ch.Save();
    EXPECT_EQ(image[a + 17], 0x3F | 0x40);
    EXPECT_EQ(image[a + 8], 2);
    EXPECT_EQ(LE32(a), 10000000u);
    EXPECT_EQ(a + 18, MM::kRxBlankTable);  // the last record ends where the blank tables begin
    EXPECT_EQ(image[MM::kRxBlankTable], 0);

    image[a + 17] = 0xC0;
    ch.Load(datCh::kEMailCh, 159);
    EXPECT_FALSE(ch.IsUsed());
}

TEST_F(RecordsTest, BandEdgesAreSignedPairs) {
    struct Row {
        int kind, entry, address;
    };
    const Row rows[] = {{datCh::kRxEdge, 0, 0x1DB2},
                        {datCh::kItuEdge, 7, 0x1DBA + 56},
                        {datCh::kTxEdge, 10, 0x1DFA + 80}};
    for (const Row& r : rows) {
        datCh ch(im());
        ch.Load(r.kind, r.entry);
        ch.lowEdge = -1;
        ch.highEdge = 29999999;
        ch.Save();
        EXPECT_EQ(LE32(r.address), 0xFFFFFFFFu);
        EXPECT_EQ(LE32(r.address + 4), 29999999u);
        ch.Reload();
        EXPECT_EQ(ch.lowEdge, -1);
        EXPECT_EQ(ch.highEdge, 29999999);
    }
}

TEST_F(RecordsTest, ModeRegistrationAndEntryTwoUseValue) {
    for (int e = 0; e < 6; ++e)
        image[MM::kModeEnable + e] = 2;
    std::memcpy(&image[MM::kModeIndications + 3 * 4], "FSK", 3);
    datCh ch(im());
    for (int e = 0; e < 6; ++e) {
        ch.Load(datCh::kModeReg, e);
        EXPECT_EQ(ch.useValue, e == 2 ? 1 : 2) << e;
    }
    ch.Load(datCh::kModeReg, 4);
    EXPECT_EQ(std::string(ch.indication, 3), "FSK");
    EXPECT_EQ(ch.ModeName(4), "FSK");
    std::memcpy(ch.indication, "J3E", 3);
    ch.useValue = 0;
    ch.Save();
    EXPECT_EQ(std::memcmp(&image[0x1E5E], "J3E", 3), 0);
    EXPECT_EQ(image[0x1D9C], 0);
    EXPECT_EQ(ch.ModeName(4), "J3E");
}

TEST_F(RecordsTest, DscIdentityStoreAndDerivedAttribute) {
    datCh ch(im());
    ch.SetEmpty(datCh::kDscId, 3);
    const uint8_t id[5] = {12, 34, 56, 78, 99};  // the pad digit is forced to 0
    std::memcpy(ch.identity, id, 5);
    ch.rxFreq = 2182050;
    ch.txFreq = 2182000;
    std::memcpy(ch.name, "COAST STN ", 10);
    ch.Save();
    EXPECT_TRUE(ch.IsUsed());
    EXPECT_EQ(ch.attribute, 0);

    const int a = MM::kDscIds + 22 * 3;
    const uint8_t want[] = {0, 12, 34, 56, 78, 90};
    EXPECT_EQ(std::memcmp(&image[a], want, 6), 0);
    const uint8_t freq[] = {2, 18, 20, 2, 18, 20};
    EXPECT_EQ(std::memcmp(&image[a + 16], freq, 6), 0);
    EXPECT_EQ(std::memcmp(&image[a + 6], "COAST STN ", 10), 0);

    datCh back(im());
    back.Load(datCh::kDscId, 3);
    EXPECT_TRUE(back.IsUsed());
    EXPECT_EQ(back.attribute, 0);
    EXPECT_EQ(back.dscFlags & datCh::kAttributeDerived, datCh::kAttributeDerived);
    EXPECT_EQ(back.rxFreq, 2182000);

    // 02... begins with 0: attribute 1. 00...: the stored attribute stays, not derived.
    image[a + 1] = 2;
    back.Load(datCh::kDscId, 3);
    EXPECT_EQ(back.attribute, 1);
    image[a + 1] = 0;
    image[a] = 3;
    back.Load(datCh::kDscId, 3);
    EXPECT_EQ(back.attribute, 3);
    EXPECT_EQ(back.dscFlags, 0);
}

TEST_F(RecordsTest, DscIdentityWithoutIdentityIsWrittenUnused) {
    datCh ch(im());
    ch.Load(datCh::kDscId, 0);
    std::memset(ch.identity, 0xFF, 5);
    ch.identity[1] = 5;  // only the first byte decides
    ch.attribute = 1;
    ch.Save();
    EXPECT_FALSE(ch.IsUsed());
    const int a = MM::kDscIds;
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(image[a + i], 0xFF) << i;

    // Attribute 0xFF with an identity loads unused and without identity.
    image[a + 1] = 12;
    ch.Load(datCh::kDscId, 0);
    EXPECT_FALSE(ch.IsUsed());
    EXPECT_EQ(ch.identity[0], 0xFF);
}

TEST_F(RecordsTest, DscPairUsesTheUseByteBeyondTheCloneRange) {
    datCh ch(im());
    ch.Load(datCh::kDscPair, 49);
    EXPECT_FALSE(ch.IsUsed());
    ch.pairUse = 3;
    ch.rxFreq = 29999999;  // truncated to 100 Hz steps
    ch.txFreq = -500;      // never negative digits
    std::memcpy(ch.name, "0123456789", 10);
    ch.SaveAndReload();
    EXPECT_EQ(image[0x2FC1], 3);
    EXPECT_TRUE(ch.IsUsed());
    EXPECT_EQ(ch.rxFreq, 29999900);
    EXPECT_EQ(ch.txFreq, 0);
    const int a = MM::kDscPairs + 16 * 49;
    EXPECT_EQ(image[a + 10], 29);
    EXPECT_EQ(image[a + 11], 99);
    EXPECT_EQ(image[a + 12], 99);
    EXPECT_EQ(a + 16, MM::kDscPairNumbers);
    EXPECT_EQ(image[MM::kDscPairNumbers], 0);
}

TEST_F(RecordsTest, ItemTablesSetOnlyTheirBit) {
    struct Row {
        int kind, word;
        uint8_t bit;
    };
    const Row rows[] = {{datCh::kFirstTelecommand, 0x1E70, datCh::kItemFirstTelecommand},
                        {datCh::kReason, 0x1E72, datCh::kItemReason},
                        {datCh::kNature, 0x1E74, datCh::kItemNature}};
    for (const Row& r : rows) {
        image[r.word] = 0xFF;
        image[r.word + 1] = 0x7F;
        datCh ch(im());
        ch.Load(r.kind, 15);
        EXPECT_EQ(ch.itemBits, 0) << r.kind;
        ch.itemBits = 0x7F;
        ch.Save();
        EXPECT_EQ(LE16(r.word), 0xFFFF) << r.kind;
        ch.Load(r.kind, 3);
        EXPECT_EQ(ch.itemBits, r.bit);
        ch.itemBits = uint8_t(0x7F & ~r.bit);
        ch.Save();
        EXPECT_EQ(LE16(r.word), 0xFFF7) << r.kind;
    }
}

TEST_F(RecordsTest, CategoryColumnsAndCallSelection) {
    datCh ch(im());
    ch.Load(datCh::kCategory, 2);
    ch.itemBits = datCh::kItemCategoryAll | datCh::kItemCategoryPos;
    ch.Save();
    EXPECT_EQ(LE16(0x1E68), 4);
    EXPECT_EQ(LE16(0x1E6A), 0);
    EXPECT_EQ(LE16(0x1E6C), 0);
    EXPECT_EQ(LE16(0x1E6E), 4);
    ch.Reload();
    EXPECT_EQ(ch.itemBits, datCh::kItemCategoryAll | datCh::kItemCategoryPos);

    image[0x1E64] = 0x08;  // a stale second bit
    ch.Load(datCh::kCallSel, 3);
    ch.callSelection = 1;
    ch.Save();
    EXPECT_EQ(LE16(0x1E66), 0x08);
    EXPECT_EQ(LE16(0x1E64), 0x00);
    const int values[] = {0, 1, 2};
    for (int v : values) {
        ch.callSelection = uint8_t(v);
        ch.SaveAndReload();
        EXPECT_EQ(ch.callSelection, v);
    }
    image[0x1E64] = 0x01;  // second without first is 0
    ch.Load(datCh::kCallSel, 0);
    EXPECT_EQ(ch.callSelection, 0);
}

TEST_F(RecordsTest, StoreWithKindZeroUsesOwnKindAndTakesTheEntry) {
    datCh ch(im());
    ch.Load(datCh::kTxEdge, 1);
    ch.lowEdge = 1600000;
    ch.Store(0, 4);
    EXPECT_EQ(ch.entry, 4);
    EXPECT_EQ(LE32(MM::kTxEdges + 32), 1600000u);
}

TEST_F(RecordsTest, Base100AndDigits) {
    uint8_t b[3] = {0xAA, 0xAA, 0xAA};
    datCh::WriteBase100(b, 3, 21820);
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(b[1], 18);
    EXPECT_EQ(b[2], 20);
    EXPECT_EQ(datCh::ReadBase100(b, 3), 21820);
    datCh::WriteBase100(b, 3, 1000000 + 42);  // 100^3 and above loses the high part
    EXPECT_EQ(datCh::ReadBase100(b, 3), 42);
    datCh::WriteBase100(b, 3, 0);
    EXPECT_EQ(b[0] | b[1] | b[2], 0);

    uint8_t id[5] = {12, 34, 56, 78, 90};
    const int want[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0};
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(datCh::DigitAt(id, k), want[k]) << k;
    datCh::SetDigitAt(id, 2, 7);
    datCh::SetDigitAt(id, 9, 4);
    EXPECT_EQ(id[1], 74);
    EXPECT_EQ(id[4], 94);
    EXPECT_FALSE(datCh::HasNoIdentity(id));
    id[0] = 100;
    EXPECT_TRUE(datCh::HasNoIdentity(id));
    // A corrupt byte still yields digits 0-9.
    id[0] = 0xFF;
    EXPECT_EQ(datCh::DigitAt(id, 0), 5);
    EXPECT_EQ(datCh::DigitAt(id, 1), 5);
}

// Wild entry numbers (a corrupt file, a caller's slip) never touch bytes outside the record's
// own table, and never reach outside the image.
TEST_F(RecordsTest, WildEntriesNeverWriteOutsideTheImage) {
    std::vector<uint8_t> guarded(MM::kImageSize + 64, 0xA5);
    datCh ch(guarded.data());
    const int entries[] = {-100000, -1, 16, 1000, 1 << 30, -(1 << 30)};
    for (int kind = 0; kind <= 16; ++kind) {
        for (int e : entries) {
            ch.Load(kind, e);
            ch.SetEmpty(kind, e);
            ch.rxFreq = 1;
            ch.Store(kind, e);
        }
    }
    for (int i = MM::kImageSize; i < MM::kImageSize + 64; ++i)
        ASSERT_EQ(guarded[i], 0xA5) << i;
}

TEST_F(RecordsTest, StrayItuEntryNeverTouchesTheTransmitTable) {
    datCh ch(im());
    ch.SetEmpty(datCh::kItuCh, 72);  // bit 232 would be the first bit of the next table
    ch.Store(datCh::kItuCh, 72);
    EXPECT_EQ(image[MM::kTxBlankTable], 0);
    EXPECT_EQ(image[MM::kTxBlankTable + MM::kBlankTableLength], 0);
}

TEST_F(RecordsTest, AccessorOverAMemoryImageKeepsToItsSize) {
    cmcEeprom full;
    full.SetSize(MM::kImageSize);
    datCh ch(full);
    ch.Load(datCh::kDscPair, 49);
    ch.pairUse = 2;
    ch.Save();
    EXPECT_EQ(full.GetByte(0x2FC1), 2);

    // An image just holding the map: wild entries stop at its end.
    std::vector<uint8_t> small(MM::kMapEnd + 16, 0xA5);
    datCh tight(small.data(), MM::kMapEnd);
    for (int e : {49, 50, 100, 1000}) {
        tight.SetEmpty(datCh::kDscPair, e);
        tight.Store(datCh::kDscPair, e);
        tight.SetEmpty(datCh::kEMailCh, e);
        tight.Store(datCh::kEMailCh, e);
    }
    for (int i = MM::kMapEnd; i < MM::kMapEnd + 16; ++i)
        ASSERT_EQ(small[i], 0xA5) << i;

    // An image smaller than the map is never touched.
    cmcEeprom tiny;
    tiny.SetSize(64);
    datCh none(tiny);
    none.SetEmpty(datCh::kUserCh, 1);
    none.Store(datCh::kUserCh, 1);
    none.Load(datCh::kCallSel, 0);
    for (int i = 0; i < 64; ++i)
        ASSERT_EQ(tiny.GetByte(i), 0) << i;
}

TEST_F(RecordsTest, AccessorWithoutImageReadsAndWritesNothing) {
    datCh ch;
    ch.Load(datCh::kUserCh, 1);
    EXPECT_EQ(ch.kind, datCh::kUserCh);
    EXPECT_EQ(ch.rxFreq, 0);
    ch.Store(datCh::kUserCh, 1);
    EXPECT_EQ(ch.LastEntry(datCh::kUserCh), 0);
    EXPECT_EQ(ch.ModeName(0), "   ");
}

}  // namespace
