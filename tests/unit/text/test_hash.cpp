#include <gtest/gtest.h>

#include <string>

#include "cmcTestHost.h"
#include "text/cmcHash.h"

namespace {

// Buckets worked out by hand from the hash rule (h = 2h + step + signed byte; the step halves
// when the next byte, the terminating NUL included, is odd, and restarts at n / 2 at zero).
struct BucketCase {
    const char* key;
    std::uint32_t buckets;
    std::uint32_t expected;
};

class HashBucket : public ::testing::TestWithParam<BucketCase> {};

TEST_P(HashBucket, FollowsTheRule) {
    const auto& c = GetParam();
    EXPECT_EQ(cmcHashBucket(c.key, c.buckets), c.expected) << c.key;
}

INSTANTIATE_TEST_SUITE_P(
    HandWorked, HashBucket,
    ::testing::Values(BucketCase{"", 1031, 0},        // no bytes: h stays 0
                      BucketCase{"A", 1031, 580},     // 515 + 65
                      BucketCase{"AB", 1031, 710},    // 2*580 + 515 + 66 = 1741
                      BucketCase{"Ac", 1031, 485},    // 'c' is odd: step 257; 1160+257+99 = 1516
                      BucketCase{"\xE9", 1031, 492},  // signed byte: 515 - 23
                      BucketCase{"aaa", 4, 3},  // step 2,1,2 (restart): 99, 296, 691 -> 691 % 4
                      BucketCase{"clRed", 101, 8}));

TEST(Hash, FindsWhatWasAddedAndNothingElse) {
    ScopedTestHost host;
    cmcHash h;
    EXPECT_EQ(h.BucketCount(), cmcHash::kDefaultBuckets);
    h.Add("clRed", 0xFF);
    h.Add("clred", 1);
    h.Add("", 7);
    ASSERT_NE(h.Find("clRed"), nullptr);
    EXPECT_EQ(h.Find("clRed")->value, 0xFF);
    EXPECT_EQ(h.Find("clred")->value, 1);
    EXPECT_EQ(h.Find("")->value, 7);
    EXPECT_EQ(h.Find("clRe"), nullptr);
    EXPECT_EQ(h.Find("clRed "), nullptr);
    EXPECT_EQ(h.Find("never"), nullptr);
}

TEST(Hash, OneBucketChainsEveryKey) {
    ScopedTestHost host;
    cmcHash h(1);
    for (int i = 0; i < 200; ++i)
        h.Add("k" + std::to_string(i), i);
    for (int i = 0; i < 200; ++i) {
        const cmcHashEntry* e = h.Find("k" + std::to_string(i));
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->value, i);
    }
}

TEST(Hash, AddingAKeyTwiceIsFatal) {
    ScopedTestHost host;
    cmcHash h;
    h.Add("GI_Key", 1);
    EXPECT_THROW(h.Add("GI_Key", 2), cmcFatalError);
    ASSERT_EQ(host->Fatals().size(), 1u);
    EXPECT_EQ(host->Fatals()[0], "Overlapped Hash table.");
    EXPECT_EQ(h.Find("GI_Key")->value, 1);
}

}  // namespace
