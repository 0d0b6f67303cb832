#include <gtest/gtest.h>

#include <vector>

#include "ProfileFixture.h"

namespace MM = MemoryMap;

namespace {

class Normalize : public ProfileTest {
protected:
    std::vector<int> PairNumbers(int n) {
        std::vector<int> out;
        for (int i = 0; i < n; ++i)
            out.push_back(image.Bytes()[MM::kDscPairNumbers + i]);
        return out;
    }
    std::vector<int> PairUses(int n) {
        std::vector<int> out;
        for (int i = 0; i < n; ++i)
            out.push_back(image.Bytes()[MM::kDscPairUse + i]);
        return out;
    }
    void SetPairNumbers(const std::vector<int>& numbers) {
        for (size_t i = 0; i < numbers.size(); ++i)
            image.Bytes()[MM::kDscPairNumbers + i] = uint8_t(numbers[i]);
    }
};

TEST_F(Normalize, PairNumbersBecomeUseValuesAndBack) {
    SetPairNumbers({1, 51, 101, 255, 2});
    NormalizeImage(image, templ, false);
    EXPECT_EQ(PairUses(6), (std::vector<int>{1, 2, 3, 0, 1, 0}));
    // Renumbered before writing, in pair order within each use.
    SetPairNumbers({0, 0, 0, 0, 0});
    NormalizeImage(image, templ, true);
    EXPECT_EQ(PairNumbers(6), (std::vector<int>{1, 51, 101, 255, 2, 255}));
}

TEST_F(Normalize, AtMostSixPairsAreScanned) {
    SetPairNumbers({101, 102, 103, 104, 105, 106, 101, 0, 107});
    NormalizeImage(image, templ, false);
    EXPECT_EQ(PairUses(9), (std::vector<int>{3, 3, 3, 3, 3, 3, 0, 0, 0}));

    // Writing: a seventh use 3, a 51st use 1 and a 51st use 2 get no number.
    uint8_t* b = image.Bytes();
    for (int i = 0; i < MM::kDscPairCount; ++i)
        b[MM::kDscPairUse + i] = i < 7 ? 3 : 1;
    ModelProfile::NumberDscPairs(b);
    EXPECT_EQ(PairNumbers(8), (std::vector<int>{101, 102, 103, 104, 105, 106, 255, 1}));
    EXPECT_EQ(b[MM::kDscPairNumbers + 49], 43);
    for (int i = 0; i < MM::kDscPairCount; ++i)
        b[MM::kDscPairUse + i] = 2;
    ModelProfile::NumberDscPairs(b);
    EXPECT_EQ(b[MM::kDscPairNumbers + 0], 51);
    EXPECT_EQ(b[MM::kDscPairNumbers + 49], 100);
    b[MM::kDscPairUse + 3] = 7;  // no such use
    ModelProfile::NumberDscPairs(b);
    EXPECT_EQ(b[MM::kDscPairNumbers + 3], 255);
}

TEST_F(Normalize, FaultyChannelsAboveTheMaximumAreErasedBothWays) {
    for (bool forWriting : {false, true}) {
        SCOPED_TRACE(forWriting);
        MakeConsistent(image);
        image.Bytes()[MM::kMaxUserChannel] = 100;
        Put(image, datCh::kUserCh, 100, 20000, 20000);      // at the maximum: stays
        Put(image, datCh::kUserCh, 101, 20000, 20000);      // bad receive side
        Put(image, datCh::kUserCh, 102, 7000000, 1000000);  // bad transmit side
        Put(image, datCh::kUserCh, 103, 7000000, 7000000);  // good
        NormalizeImage(image, templ, forWriting);
        EXPECT_TRUE(Load(image, datCh::kUserCh, 100).IsUsed());
        EXPECT_FALSE(Load(image, datCh::kUserCh, 101).IsUsed());
        EXPECT_FALSE(Load(image, datCh::kUserCh, 102).IsUsed());
        EXPECT_TRUE(Load(image, datCh::kUserCh, 103).IsUsed());
        EXPECT_EQ(image.Bytes()[MM::kMaxUserChannel], 100);
    }
}

TEST_F(Normalize, ModeErrorsAboveTheMaximumCountToo) {
    image.Bytes()[MM::kMaxUserChannel] = 10;
    Put(image, datCh::kUserCh, 20, 7000000, 7000000);
    datCh ch = Load(image, datCh::kUserCh, 20);
    ch.mode = 4;
    ch.Save();
    image.Bytes()[MM::kModeEnable + 4] = 0;
    templ.Bytes()[MM::kModeEnable + 4] = 0;
    NormalizeImage(image, templ, false);
    EXPECT_FALSE(Load(image, datCh::kUserCh, 20).IsUsed());
}

struct MergeCase {
    const char* name;
    int32_t rx, tx;          // I's record (-1 blank)
    int32_t tRx, tTx;        // T's record
    int32_t wantRx, wantTx;  // I's record after writing
    const char* wantComment;
};

TEST_F(Normalize, BlankSidesTakeTheTemplatesWhenWriting) {
    const MergeCase cases[] = {
        {"unused: the template's record", -1, -1, 4000000, 4100000, 4000000, 4100000, "TEMPLATE"},
        {"unused over unused", -1, -1, -1, -1, -1, -1, "TEMPLATE"},
        {"full record stays", 7000000, 7100000, 4000000, 4100000, 7000000, 7100000, "MINE    "},
        {"blank transmit: the template's transmit side", 7000000, -1, 4000000, 4100000, 7000000,
         4100000, "MINE    "},
        {"blank transmit over blank", 7000000, -1, 4000000, -1, 7000000, -1, "MINE    "},
        {"blank receive: template with this transmit", -1, 7100000, 4000000, -1, 4000000, 7100000,
         "TEMPLATE"},
    };
    for (int kind : {datCh::kUserCh, datCh::kEMailCh}) {
        for (const MergeCase& k : cases) {
            SCOPED_TRACE(::testing::Message() << kind << ": " << k.name);
            Put(image, kind, 7, k.rx, k.tx, "MINE    ");
            Put(templ, kind, 7, k.tRx, k.tTx, "TEMPLATE");
            NormalizeImage(image, templ, true);
            const datCh r = Load(image, kind, 7);
            EXPECT_EQ(r.IsRxBlank() ? -1 : r.rxFreq, k.wantRx);
            EXPECT_EQ(r.IsTxBlank() ? -1 : r.txFreq, k.wantTx);
            EXPECT_EQ(std::string(r.comment, 8), k.wantComment);
            // The template is never changed.
            const datCh t = Load(templ, kind, 7);
            EXPECT_EQ(t.IsRxBlank() ? -1 : t.rxFreq, k.tRx);
            EXPECT_EQ(std::string(t.comment, 8), "TEMPLATE");
        }
    }
}

TEST_F(Normalize, LoadingKeepsTheRecordsAsTheyAre) {
    Put(image, datCh::kUserCh, 7, -1, 7100000, "MINE    ");
    Put(templ, datCh::kUserCh, 7, 4000000, 4100000, "TEMPLATE");
    NormalizeImage(image, templ, false);
    const datCh r = Load(image, datCh::kUserCh, 7);
    EXPECT_TRUE(r.IsRxBlank());
    EXPECT_EQ(r.txFreq, 7100000);
    EXPECT_EQ(std::string(r.comment, 8), "MINE    ");
}

TEST_F(Normalize, UnprintableTextBecomesBlanksBothWays) {
    for (bool forWriting : {false, true}) {
        Put(image, datCh::kEMailCh, 3, 7000000, 7000000,
            "A\x01"
            "B\x7f"
            "C\xe9"
            "D\n");
        datCh pair(image);
        pair.SetEmpty(datCh::kDscPair, 4);
        pair.pairUse = 1;
        std::memcpy(pair.name,
                    "NAME\x02\x03"
                    "END\x80",
                    10);
        pair.Save();
        NormalizeImage(image, templ, forWriting);
        EXPECT_EQ(std::string(Load(image, datCh::kEMailCh, 3).comment, 8), "A B C D ");
        EXPECT_EQ(std::string(Load(image, datCh::kDscPair, 4).name, 10), "NAME  END ");
    }
}

TEST_F(Normalize, ProtectedAreasFollowTheTemplate) {
    uint8_t* i = image.Bytes();
    uint8_t* t = templ.Bytes();
    // Template values in every protected place, other values in the image.
    std::memcpy(t + MM::kMakerText, "TEMPLATE", 8);
    for (int k = 0; k < MM::kUserChannelSize; ++k)
        t[MM::kUserChannels + k] = uint8_t(0x40 + k);
    for (int a : {MM::kModeEnable + 1, MM::kModeSel2182, MM::k2182Mode, MM::kAlarmTimer,
                  MM::kSel2182Alarm, MM::kTemplateByte1DB1, MM::kTemplateByte0273})
        t[a] = 0x5A;
    t[MM::kExpansion] = 0x63;
    i[MM::kExpansion] = 0x9C;  // the image's own bits 7, 4, 3, 2
    for (int a = MM::kCategoryAllWord; a < MM::kCategoryAllWord + 8; ++a) {
        t[a] = 0xFF;
        i[a] = 0x00;
    }
    t[MM::kTemplateWord1E77] = 0x12;
    t[MM::kTemplateWord1E77 + 1] = 0x34;
    std::memset(t + MM::kTemplateBlock2A65, 0x77, MM::kTemplateBlock2A65Length);
    std::memset(t + MM::kTemplateBlock2B4B, 0x66, MM::kTemplateBlock2B4BLength);
    std::memset(t + MM::kTemplateBlock2F68, 0x55, MM::kTemplateBlock2F68Length);
    t[MM::kMapRevision] = 7;
    i[MM::kMapRevision] = 6;
    // DSC items fixed by the radio, and one that is not.
    datCh item(templ);
    item.Load(datCh::kFirstTelecommand, 0);
    item.itemBits |= datCh::kItemFirstTelecommand;
    item.Save();
    item.Load(datCh::kCallSel, 5);
    item.callSelection = 2;
    item.Save();
    item.Load(datCh::kCallSel, 4);
    item.callSelection = 2;
    item.Save();
    i[MM::kTxMeter] = 3;  // an ordinary setting

    NormalizeImage(image, templ, false);

    EXPECT_EQ(std::string(reinterpret_cast<char*>(i + MM::kMakerText), 8), "TEMPLATE");
    EXPECT_EQ(std::memcmp(i + MM::kUserChannels, t + MM::kUserChannels, MM::kUserChannelSize), 0);
    for (int a : {MM::kModeEnable + 1, MM::kModeSel2182, MM::k2182Mode, MM::kAlarmTimer,
                  MM::kSel2182Alarm, MM::kTemplateByte1DB1, MM::kTemplateByte0273})
        EXPECT_EQ(i[a], 0x5A) << std::hex << a;
    EXPECT_EQ(i[MM::kModeEnable + 0], 1);  // only mode 1's byte is the template's
    EXPECT_EQ(i[MM::kExpansion], 0x63 | 0x9C);
    // Category words: All bits 0 and 3, Grp and Pos bits 0-3; Ind untouched.
    EXPECT_EQ(i[MM::kCategoryAllWord], 0x09);
    EXPECT_EQ(i[MM::kCategoryAllWord + 1], 0x00);
    EXPECT_EQ(i[MM::kCategoryGrpWord], 0x0F);
    EXPECT_EQ(i[MM::kCategoryIndWord], 0x00);
    EXPECT_EQ(i[MM::kCategoryPosWord], 0x0F);
    EXPECT_EQ(i[MM::kCategoryPosWord + 1], 0x00);
    EXPECT_EQ(i[MM::kTemplateWord1E77], 0x12);
    EXPECT_EQ(i[MM::kTemplateWord1E77 + 1], 0x34);
    for (int k = 0; k < MM::kTemplateBlock2A65Length; ++k)
        ASSERT_EQ(i[MM::kTemplateBlock2A65 + k], 0x77) << k;
    for (int k = 0; k < MM::kTemplateBlock2B4BLength; ++k)
        ASSERT_EQ(i[MM::kTemplateBlock2B4B + k], 0x66) << k;
    for (int k = 0; k < MM::kTemplateBlock2F68Length; ++k)
        ASSERT_EQ(i[MM::kTemplateBlock2F68 + k], 0x55) << k;
    EXPECT_EQ(i[MM::kTemplateBlock2F68 + MM::kTemplateBlock2F68Length], 0);  // 0x2F7F is free
    EXPECT_EQ(i[MM::kMapRevision], 7);
    EXPECT_TRUE(Load(image, datCh::kFirstTelecommand, 0).itemBits & datCh::kItemFirstTelecommand);
    EXPECT_EQ(Load(image, datCh::kCallSel, 5).callSelection, 2);
    EXPECT_EQ(Load(image, datCh::kCallSel, 4).callSelection, 0);
    EXPECT_EQ(i[MM::kTxMeter], 3);
}

TEST_F(Normalize, OwnIdentityGetsItsCheckByteOrTheTemplates) {
    uint8_t* i = image.Bytes();
    uint8_t* t = templ.Bytes();
    const uint8_t id[7] = {12, 34, 56, 78, 90, 0xAA, 0xBB};
    std::memcpy(i + MM::kOwnIdentity, id, 7);
    std::memset(t + MM::kOwnIdentity, 0x11, 7);
    NormalizeImage(image, templ, true);
    EXPECT_EQ(i[MM::kOwnIdentity + 4], 90);
    EXPECT_EQ(i[MM::kOwnIdentityCheck], uint8_t(~uint8_t(12 + 34 + 56 + 78 + 90)));
    EXPECT_EQ(i[MM::kOwnIdentityTail], 0);

    i[MM::kOwnIdentity] = 100;  // no identity: the template's seven bytes
    NormalizeImage(image, templ, false);
    for (int k = 0; k < 7; ++k)
        EXPECT_EQ(i[MM::kOwnIdentity + k], 0x11);
}

TEST_F(Normalize, ImagesSmallerThanTheMapAreLeftAlone) {
    cmcEeprom small;
    small.SetSize(MM::kMapEnd - 1);
    small.Fill(0xEE);
    NormalizeImage(small, templ, true);
    for (int a = 0; a < small.GetSize(); ++a)
        ASSERT_EQ(small.GetByte(a), 0xEE);
}

}  // namespace
