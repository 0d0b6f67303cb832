#include <gtest/gtest.h>

#include <vector>

#include "cells/adrHash.h"
#include "cells/indValueRules.h"
#include "memory/MemoryMap.h"
#include "memory/datCh.h"

namespace MM = MemoryMap;

namespace {

class RulesTest : public ::testing::Test {
protected:
    std::vector<uint8_t> image = std::vector<uint8_t>(MM::kImageSize, 0);
    uint8_t* im() { return image.data(); }

    void SetEdge(int kind, int index, int32_t low, int32_t high) {
        datCh ch(im());
        ch.Load(kind, index);
        ch.lowEdge = low;
        ch.highEdge = high;
        ch.Save();
    }
    void SetUp() override {
        SetEdge(datCh::kRxEdge, 0, 100000, 29999999);
        for (int e = 0; e < 11; ++e)
            SetEdge(datCh::kTxEdge, e, -1, -1);
    }
};

TEST_F(RulesTest, ReceiveAndItuFrequencies) {
    EXPECT_TRUE(indValueRules::IsRxFreqValid(im(), 100000));
    EXPECT_TRUE(indValueRules::IsRxFreqValid(im(), 29999999));
    EXPECT_FALSE(indValueRules::IsRxFreqValid(im(), 99999));
    SetEdge(datCh::kItuEdge, 3, 6200000, 6525000);
    EXPECT_TRUE(indValueRules::IsItuFreqValid(im(), 3, 6200000));
    EXPECT_FALSE(indValueRules::IsItuFreqValid(im(), 3, 6525001));
    EXPECT_FALSE(indValueRules::IsItuFreqValid(im(), 2, 6200000));
    EXPECT_FALSE(indValueRules::IsItuFreqValid(im(), 8, 0));  // no band 8
    EXPECT_FALSE(indValueRules::IsItuFreqValid(im(), -1, 0));
}

TEST_F(RulesTest, TransmitFrequencyNeedsASetEdgeOrGeneralCoverage) {
    SetEdge(datCh::kTxEdge, 0, 1605000, 4000000);
    SetEdge(datCh::kTxEdge, 1, 4000001, -1);  // half set: never covers
    EXPECT_TRUE(indValueRules::IsTxFreqValid(im(), 2182000, false));
    EXPECT_FALSE(indValueRules::IsTxFreqValid(im(), 5000000, false));
    SetEdge(datCh::kTxEdge, 3, 4500000, 5500000);
    EXPECT_TRUE(indValueRules::IsTxFreqValid(im(), 5000000, false));

    // "/gene": 1.6 .. 29.999999 MHz inside the receive edge, whatever the transmit edges.
    EXPECT_TRUE(indValueRules::IsTxFreqValid(im(), 2000000 + 7000000, true));
    EXPECT_TRUE(indValueRules::IsTxFreqValid(im(), 1600000, true));
    EXPECT_FALSE(indValueRules::IsTxFreqValid(im(), 1599999, true));
    SetEdge(datCh::kRxEdge, 0, 100000, 20000000);
    EXPECT_FALSE(indValueRules::IsTxFreqValid(im(), 25000000, true));
}

TEST_F(RulesTest, ModeAvailability) {
    image[MM::kModeEnable + 2] = 1;
    EXPECT_TRUE(indValueRules::IsModeAvailable(im(), 2));
    EXPECT_FALSE(indValueRules::IsModeAvailable(im(), 1));
    image[MM::kModeSel2182] = 1;  // the byte after mode 5's is no mode
    EXPECT_FALSE(indValueRules::IsModeAvailable(im(), 6));
    EXPECT_FALSE(indValueRules::IsModeAvailable(im(), 255));
}

TEST_F(RulesTest, DscCategoryColumnsAndPairsUse3) {
    EXPECT_EQ(indValueRules::DscCategoryColumns(im()), 0);
    image[MM::kCategoryAllWord] = 0x01;  // item 0's All bit does not count
    image[MM::kCategoryIndWord] = 0x08;  // item 3 Ind
    image[MM::kCategoryGrpWord] = 0x02;  // item 1 Grp does not count
    image[MM::kCategoryPosWord] = 0x01;  // item 0 Pos
    EXPECT_EQ(indValueRules::DscCategoryColumns(im()),
              datCh::kItemCategoryInd | datCh::kItemCategoryPos);
    image[MM::kCategoryAllWord] = 0x04;  // item 2 All
    image[MM::kCategoryGrpWord] = 0x01;
    EXPECT_EQ(indValueRules::DscCategoryColumns(im()),
              datCh::kItemCategoryAll | datCh::kItemCategoryGrp | datCh::kItemCategoryInd |
                  datCh::kItemCategoryPos);

    EXPECT_EQ(indValueRules::CountPairsUse3(im()), 0);
    image[MM::kDscPairUse] = 3;
    image[MM::kDscPairUse + 49] = 3;
    image[MM::kDscPairUse + 10] = 2;
    image[MM::kDscPairUse + 50] = 3;  // beyond the last pair
    EXPECT_EQ(indValueRules::CountPairsUse3(im()), 2);
}

TEST_F(RulesTest, EdgeValidityTable) {
    struct Setup {
        int kind, index;
        int32_t low, high;
    };
    struct Row {
        const char* what;
        std::vector<Setup> edges;
        int kind, index;
        bool low, high;
    };
    const std::vector<Row> rows = {
        {"rx ok", {}, datCh::kRxEdge, 0, true, true},
        {"rx inverted", {{4, 0, 200000, 100000}}, datCh::kRxEdge, 0, false, false},
        {"rx low too low", {{4, 0, 29999, 29999999}}, datCh::kRxEdge, 0, false, true},
        {"itu ok", {{5, 2, 4000000, 4438000}}, datCh::kItuEdge, 2, true, true},
        {"itu below 1.6 MHz", {{5, 2, 1500000, 4438000}}, datCh::kItuEdge, 2, false, true},
        {"itu outside rx",
         {{4, 0, 100000, 4000000}, {5, 2, 3000000, 4438000}},
         datCh::kItuEdge,
         2,
         true,
         false},
        {"tx 0 unset", {}, datCh::kTxEdge, 0, false, false},
        {"tx 3 unset, 5 set", {{6, 5, 20000000, 21000000}}, datCh::kTxEdge, 3, false, false},
        {"tx 3 unset, nothing later", {}, datCh::kTxEdge, 3, true, true},
        {"tx half set", {{6, 2, 5000000, -1}}, datCh::kTxEdge, 2, false, false},
        {"tx ok",
         {{6, 0, 1605000, 3000000}, {6, 1, 4000000, 5000000}},
         datCh::kTxEdge,
         1,
         true,
         true},
        {"tx overlaps previous",
         {{6, 0, 1605000, 4500000}, {6, 1, 4000000, 5000000}},
         datCh::kTxEdge,
         1,
         false,
         true},
        {"tx inside previous",
         {{6, 0, 1605000, 6000000}, {6, 1, 4000000, 5000000}},
         datCh::kTxEdge,
         1,
         false,
         false},
        {"tx above 29.999999", {{6, 0, 1605000, 30000000}}, datCh::kTxEdge, 0, true, false},
    };
    for (const Row& r : rows) {
        SetUp();
        for (int e = 0; e < 8; ++e)
            SetEdge(datCh::kItuEdge, e, 0, 0);
        for (const Setup& s : r.edges)
            SetEdge(s.kind, s.index, s.low, s.high);
        const auto v = indValueRules::EdgeValid(im(), r.kind, r.index);
        EXPECT_EQ(v.low, r.low) << r.what;
        EXPECT_EQ(v.high, r.high) << r.what;
    }
}

TEST_F(RulesTest, AdrHashFindsDuplicatesOnlyAmongUsedIdentities) {
    auto setId = [&](int e, const char* digits) {
        datCh ch(im());
        ch.SetEmpty(datCh::kDscId, e);
        for (int k = 0; k < 9; ++k)
            datCh::SetDigitAt(ch.identity, k, digits[k] - '0');
        ch.Save();
    };
    for (int e = 0; e < 100; ++e) {
        datCh ch(im());
        ch.SetEmpty(datCh::kDscId, e);
        ch.Save();
    }
    EXPECT_FALSE(adrHash::HasDuplicateIdentity(im()));
    setId(3, "123456789");
    setId(5, "987654321");  // same digit sum, same bucket, not equal
    EXPECT_FALSE(adrHash::HasDuplicateIdentity(im()));
    setId(7, "123456789");
    EXPECT_TRUE(adrHash::HasDuplicateIdentity(im()));

    adrHash hash;
    datCh ch(im());
    ch.Load(datCh::kDscId, 3);
    EXPECT_FALSE(hash.AddUnique(ch));
    ch.Load(datCh::kDscId, 5);
    EXPECT_FALSE(hash.AddUnique(ch));
    ch.Load(datCh::kDscId, 7);
    EXPECT_TRUE(hash.AddUnique(ch));
    EXPECT_TRUE(hash.AddUnique(ch));  // a duplicate is never added, so it stays a duplicate
    hash.Clear();
    EXPECT_FALSE(hash.AddUnique(ch));
}

}  // namespace
