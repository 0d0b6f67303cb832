#include <gtest/gtest.h>

#include <vector>

#include "memory/MemoryMap.h"
#include "memory/datClipCh.h"

namespace MM = MemoryMap;

namespace {

class ClipTest : public ::testing::Test {
protected:
    std::vector<uint8_t> image = std::vector<uint8_t>(MM::kImageSize, 0);
    uint8_t* im() { return image.data(); }

    void SetUserChannel(int e, int rx) {
        datCh ch(im());
        ch.Load(datCh::kUserCh, e);
        ch.rxFreq = rx;
        ch.txFreq = rx;
        ch.Save();
    }
    int UserRx(int e) {
        datCh ch(im());
        ch.Load(datCh::kUserCh, e);
        return ch.rxFreq;
    }
};

TEST_F(ClipTest, CopyHoldsCopiesThatSurviveImageEdits) {
    for (int e = 1; e <= 10; ++e)
        SetUserChannel(e, 1000000 + e * 100);
    datClipCh clip;
    EXPECT_FALSE(clip.CanPaste(datCh::kUserCh));
    EXPECT_FALSE(clip.CanPaste(0));  // an empty clipboard pastes nothing, not even kind 0
    clip.Copy(im(), datCh::kUserCh, 5, 4);
    EXPECT_EQ(clip.Kind(), datCh::kUserCh);
    EXPECT_EQ(clip.FirstEntry(), 5);
    EXPECT_EQ(clip.Count(), 4);
    EXPECT_TRUE(clip.CanPaste(datCh::kUserCh));
    EXPECT_FALSE(clip.CanPaste(datCh::kItuCh));

    SetUserChannel(5, 7);  // the clipboard keeps its copy
    clip.Paste(im(), datCh::kUserCh, 20, 100);
    clip.Paste(im(), datCh::kUserCh, 30, 2);  // pasted again, cut to 2 records
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(UserRx(20 + i), 1000000 + (5 + i) * 100) << i;
    EXPECT_EQ(UserRx(30), 1000500);
    EXPECT_EQ(UserRx(31), 1000600);
    EXPECT_EQ(UserRx(32), 0);
    EXPECT_EQ(UserRx(5), 7);
}

TEST_F(ClipTest, PasteOfAnotherKindOrAfterClearDoesNothing) {
    SetUserChannel(1, 2182000);
    datClipCh clip;
    clip.Copy(im(), datCh::kUserCh, 1, 1);
    const std::vector<uint8_t> before = image;
    clip.Paste(im(), datCh::kItuCh, 0, 1);
    EXPECT_EQ(image, before);
    clip.Clear();
    EXPECT_EQ(clip.Kind(), 0);
    EXPECT_EQ(clip.Count(), 0);
    clip.Paste(im(), datCh::kUserCh, 2, 1);
    EXPECT_EQ(image, before);
}

TEST_F(ClipTest, FillEmptyMakesBlankRecords) {
    SetUserChannel(3, 2182000);
    datClipCh clip;
    clip.FillEmpty(im(), datCh::kUserCh, 3, 2);
    EXPECT_EQ(clip.Count(), 2);
    EXPECT_EQ(clip.Record(1).flags, datCh::kRxBlank | datCh::kTxBlank);
    clip.Paste(im(), datCh::kUserCh, 3, 2);
    datCh ch(im());
    ch.Load(datCh::kUserCh, 3);
    EXPECT_FALSE(ch.IsUsed());
    EXPECT_EQ(ch.rxFreq, 0);
    EXPECT_EQ(ch.mode, 1);
    EXPECT_EQ(std::string(ch.comment, 8), "        ");
}

TEST_F(ClipTest, NegativeCountsGiveAnEmptyButTypedClipboard) {
    datClipCh clip;
    clip.Copy(im(), datCh::kUserCh, 1, -3);
    EXPECT_EQ(clip.Count(), 0);
    const std::vector<uint8_t> before = image;
    clip.Paste(im(), datCh::kUserCh, 1, 5);
    EXPECT_EQ(image, before);
}

}  // namespace
