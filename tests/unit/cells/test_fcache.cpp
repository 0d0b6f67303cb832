#include <gtest/gtest.h>

#include <vector>

#include "ScopedMainDictionary.h"
#include "cells/cmcCellNames.h"
#include "cells/cmcFCache.h"
#include "cmcTestHost.h"
#include "text/cmcGTex.h"
#include "text/cmcHash2.h"

namespace {

class FCacheTest : public ::testing::Test {
protected:
    FCacheTest() {
        static const char* const kLines[] = {
            "#GI_Sheet_Sel_A_Cells",
            "{(%Flex0[2])}two|{(%Flex0[0])}zero|{(%Flex0[1]:One)}ignored",
            "#",
            "#GI_Sheet_Sel_Grid_Cells",
            "{(%Flex0[10])}ten|{(%Flex0[11])}eleven",
            "{(%Flex0[12])}twelve|{(%Flex0[13])}thirteen",
            "#GI_Sheet_Sel_Mixed_Cells",
            "|{(%CL_Null[5])}head|{(%Flex0[7])}seven|{(%CL_FBits[7])}bits seven|",
            "{(%Flex0[8])}  eight\\_",
            "{(%Flex0)}",
            "#GI_Sheet_Sel_Dup_Cells",
            "{(%Flex0[4])}first|{(%Flex0[4])}second|{(%Flex0[4])}third|{(%Flex0[3])}three",
            "#GI_Sheet_Sel_None_Cells",
            "{(%CL_Null[1])}x",
            "#End_Of_Ovl",
        };
        dict_.SetLines(kLines, sizeof(kLines) / sizeof(kLines[0]));
    }

    std::vector<int> PositionKeys(const char* base, int label) {
        std::vector<int> keys;
        const cmcFCacheRecord* r = cache_.Record(base, label);
        if (r)
            for (const auto& e : r->byPosition)
                keys.push_back(e.key);
        return keys;
    }

    ScopedTestHost host_;
    cmcGTex dict_;
    cmcFCache cache_{&dict_};
};

TEST_F(FCacheTest, KeysInAnyOrderShowTheirTexts) {
    EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_A", Flex0, 0), "zero");
    EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_A", Flex0, 1), "One");  // the argument text wins
    EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_A", Flex0, 2), "two");
    EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_A", Flex0, 3), "error");
    EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_A", Flex0, -1), "error");
    const cmcFCacheRecord* r = cache_.Record("GI_Sheet_Sel_A", Flex0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->rows, 1);
    EXPECT_EQ(r->columns, 3);
    EXPECT_EQ(r->count, 3);
    EXPECT_EQ(cache_.StepKey("GI_Sheet_Sel_A", Flex0, 0, +1), 1);  // next in column order
    EXPECT_EQ(cache_.StepKey("GI_Sheet_Sel_A", Flex0, 1, +1), 2);  // wraps
    EXPECT_EQ(cache_.StepKey("GI_Sheet_Sel_A", Flex0, 2, -1), 1);
}

TEST_F(FCacheTest, PositionOrderIsColumnByColumnAndStepsWrap) {
    EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_Grid", Flex0, 12), "twelve");
    EXPECT_EQ(PositionKeys("GI_Sheet_Sel_Grid", Flex0), (std::vector<int>{10, 12, 11, 13}));
    struct Step {
        int from, step, to;
    };
    const Step steps[] = {{10, +1, 12}, {12, +1, 11}, {11, +1, 13}, {13, +1, 10},
                          {10, -1, 13}, {13, -1, 11}, {99, +1, 10}, {99, -1, 13}};
    for (const auto& s : steps)
        EXPECT_EQ(cache_.StepKey("GI_Sheet_Sel_Grid", Flex0, s.from, s.step), s.to)
            << s.from << " by " << s.step;
    EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_Grid", Flex0, 99), "error");
}

TEST_F(FCacheTest, OtherLabelsTakeColumnsButNoEntries) {
    EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_Mixed", Flex0, 7), "seven");
    EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_Mixed", Flex0, 8), "eight ");
    EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_Mixed", Flex0, 5), "error");
    const cmcFCacheRecord* r = cache_.Record("GI_Sheet_Sel_Mixed", Flex0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->rows, 3);
    EXPECT_EQ(r->columns, 4);  // an empty cell, head, seven, bits seven
    ASSERT_EQ(r->count, 3);
    const cmcFCacheEntry& seven = r->byKey[1];  // keys 0, 7, 8
    EXPECT_EQ(seven.key, 7);
    EXPECT_EQ(seven.row, 0);
    EXPECT_EQ(seven.column, 2);
    // A cell with the label but neither argument nor text: key 0, empty text.
    EXPECT_EQ(r->byKey[0].key, 0);
    EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_Mixed", Flex0, 0), "");
}

TEST_F(FCacheTest, EachLabelHasItsOwnRecord) {
    EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_Mixed", Flex0, 7), "seven");
    EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_Mixed", CL_FBits, 7), "bits seven");
    EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_Mixed", CL_Null, 5), "head");
    EXPECT_NE(cache_.Record("GI_Sheet_Sel_Mixed", Flex0),
              cache_.Record("GI_Sheet_Sel_Mixed", CL_FBits));
    EXPECT_EQ(cache_.Record("GI_Sheet_Sel_Mixed", CL_FBits)->count, 1);
}

TEST_F(FCacheTest, EqualKeysKeepTheirOrderOfAppearance) {
    EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_Dup", Flex0, 3), "three");
    const cmcFCacheRecord* r = cache_.Record("GI_Sheet_Sel_Dup", Flex0);
    ASSERT_EQ(r->count, 4);
    std::vector<std::string> byKey;
    for (const auto& e : r->byKey)
        byKey.push_back(r->TextOf(e));
    EXPECT_EQ(byKey, (std::vector<std::string>{"three", "first", "second", "third"}));
    // The binary search meets whichever equal key it probes first: index 1 of 0..3.
    EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_Dup", Flex0, 4), "first");
    // Stepping starts from the first entry in position order with the key.
    EXPECT_EQ(cache_.StepKey("GI_Sheet_Sel_Dup", Flex0, 4, +1), 4);
    EXPECT_EQ(cache_.StepKey("GI_Sheet_Sel_Dup", Flex0, 4, -1), 3);
}

TEST_F(FCacheTest, ListsAreParsedOnce) {
    EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_Grid", Flex0, 11), "eleven");
    const auto reads = dict_.SourceReads();
    for (int k = 9; k <= 14; ++k)
        cache_.TextOf("GI_Sheet_Sel_Grid", Flex0, k);
    EXPECT_EQ(dict_.SourceReads(), reads);
}

TEST_F(FCacheTest, WithoutRecordOrEntriesThereIsNoStep) {
    EXPECT_EQ(cache_.StepKey("GI_Sheet_Sel_Grid", Flex0, 10, +1), std::nullopt);  // not built
    EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_None", Flex0, 1), "error");
    EXPECT_EQ(cache_.Record("GI_Sheet_Sel_None", Flex0)->count, 0);
    EXPECT_EQ(cache_.StepKey("GI_Sheet_Sel_None", Flex0, 1, +1), std::nullopt);
    EXPECT_EQ(cache_.StepKey("GI_Sheet_Sel_None", Flex0, 1, -1), std::nullopt);
}

TEST_F(FCacheTest, BuildingARecordTwiceIsFatal) {
    cache_.BuildList("GI_Sheet_Sel_A", Flex0);
    EXPECT_THROW(cache_.BuildList("GI_Sheet_Sel_A", Flex0), cmcFatalError);
    ASSERT_EQ(host_->Fatals().size(), 1u);
    EXPECT_EQ(host_->Fatals()[0], "Overlapped Hash2 table.");
    EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_A", Flex0, 2), "two");
}

TEST_F(FCacheTest, MissingSectionIsTheDictionaryError) {
    EXPECT_THROW(cache_.TextOf("GI_Sheet_Sel_Nope", Flex0, 0), cmcFatalError);
    EXPECT_EQ(host_->Fatals().at(0),
              "GTEX Error !\nThe index 'GI_Sheet_Sel_Nope_Cells' was not found.");
}

TEST(FCache, UsesTheMainDictionaryByDefault) {
    ScopedTestHost host;
    static const char* const kLines[] = {"#L_Cells", "{(%Flex0[1])}on|{(%Flex0[0])}off",
                                         "#End_Of_Ovl"};
    cmcGTex dict;
    dict.SetLines(kLines, 3);
    const ScopedMainDictionary main(&dict);
    cmcFCache cache;
    EXPECT_EQ(cache.TextOf("L", Flex0, 0), "off");
    EXPECT_EQ(cmcFCache::RecordName("L", Flex0), "L#1");
}

TEST(Hash2, SameTableRules) {
    ScopedTestHost host;
    cmcHash2 h;
    EXPECT_EQ(h.BucketCount(), 1031u);
    cmcFCacheRecord a, b;
    h.Add("GI_X#1", &a);
    h.Add("GI_X#4", &b);
    EXPECT_EQ(h.Find("GI_X#1")->record, &a);
    EXPECT_EQ(h.Find("GI_X#4")->record, &b);
    EXPECT_EQ(h.Find("gi_x#1"), nullptr);
    EXPECT_THROW(h.Add("GI_X#4", &a), cmcFatalError);
    EXPECT_EQ(host->Fatals().at(0), "Overlapped Hash2 table.");
}

}  // namespace
