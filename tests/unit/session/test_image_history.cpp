// Image differences and the undo history built on them.
#include <gtest/gtest.h>

#include <QUndoStack>
#include <string>
#include <utility>
#include <vector>

#include "memory/cmcEeprom.h"
#include "session/cmcImageDiff.h"
#include "session/cmcImageHistory.h"

namespace {

constexpr int kSize = 64;

void Fill(cmcEeprom& image, int size = kSize) {
    image.SetSize(size);
    for (int a = 0; a < size; ++a)
        image.SetByte(a, uint8_t(a * 7 + 1));
}

std::vector<uint8_t> Bytes(const cmcEeprom& image) {
    return std::vector<uint8_t>(image.Bytes(), image.Bytes() + image.GetSize());
}

// The addresses changed (each byte XOR 0xFF), the runs and stored bytes the difference must have.
struct DiffCase {
    const char* name;
    std::vector<int> changed;
    int runs;
    int stored;
};

void PrintTo(const DiffCase& c, std::ostream* os) {
    *os << c.name;
}

class ImageDiffCases : public ::testing::TestWithParam<DiffCase> {};

TEST_P(ImageDiffCases, HoldOnlyTheChangedRunsAndApplyBothWays) {
    const DiffCase& c = GetParam();
    cmcEeprom before, after;
    Fill(before);
    Fill(after);
    for (int a : c.changed)
        after.SetByte(a, uint8_t(after.GetByte(a) ^ 0xFF));
    const cmcImageDiff diff = cmcImageDiff::Between(before, after);
    EXPECT_FALSE(diff.SizesDiffer());
    EXPECT_EQ(diff.IsEmpty(), c.changed.empty());
    EXPECT_EQ(diff.RunCount(), c.runs);
    EXPECT_EQ(diff.StoredBytes(), c.stored);

    cmcEeprom image;
    image.CopyFrom(before);
    diff.ApplyForward(image);
    EXPECT_EQ(Bytes(image), Bytes(after));
    diff.ApplyBackward(image);
    EXPECT_EQ(Bytes(image), Bytes(before));
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ImageDiffCases,
    ::testing::Values(DiffCase{"Equal", {}, 0, 0}, DiffCase{"OneByte", {10}, 1, 2},
                      DiffCase{"FirstAndLastByte", {0, kSize - 1}, 2, 4},
                      DiffCase{"NeighboursJoin", {10, 11, 12}, 1, 6},
                      // Up to eight equal bytes between two changes are kept in the run.
                      DiffCase{"GapOfEightJoins", {10, 19}, 1, 20},
                      DiffCase{"GapOfNineSplits", {10, 20}, 2, 4},
                      DiffCase{"ChainOfGapsJoins", {0, 8, 16, 24}, 1, 50}),
    [](const ::testing::TestParamInfo<DiffCase>& i) { return std::string(i.param.name); });

TEST(ImageDiff, AppliesToAnImageChangedElsewhereSinceAndLeavesTheRestAlone) {
    cmcEeprom before, after, later;
    Fill(before);
    after.CopyFrom(before);
    after.SetByte(5, 0xAA);
    const cmcImageDiff diff = cmcImageDiff::Between(before, after);
    later.CopyFrom(after);
    later.SetByte(40, 0x55);
    diff.ApplyBackward(later);
    EXPECT_EQ(later.GetByte(5), before.GetByte(5));
    EXPECT_EQ(later.GetByte(40), 0x55);
}

TEST(ImageDiff, ImagesOfDifferentSizesHaveNoDifferenceToApply) {
    cmcEeprom small, large;
    Fill(small, 16);
    Fill(large, 32);
    const cmcImageDiff diff = cmcImageDiff::Between(small, large);
    EXPECT_TRUE(diff.SizesDiffer());
    EXPECT_TRUE(diff.IsEmpty());
}

// ---- The history.

struct Applied {
    int count = 0;
    static void Count(void* self) { ++static_cast<Applied*>(self)->count; }
};

class ImageHistoryTest : public ::testing::Test {
protected:
    ImageHistoryTest() {
        Fill(image);
        history.Clear();
        history.SetAppliedHandler(&Applied::Count, &applied);
    }
    void Edit(int address, uint8_t value, const std::string& name) {
        image.SetByte(address, value);
        ASSERT_TRUE(history.Commit(name));
    }

    cmcEeprom image;
    cmcImageHistory history{image};
    Applied applied;
};

TEST_F(ImageHistoryTest, StepsUndoAndRedoInOrderWithTheirNames) {
    const std::vector<uint8_t> start = Bytes(image);
    Edit(3, 0x11, "first");
    const std::vector<uint8_t> one = Bytes(image);
    Edit(30, 0x22, "second");
    const std::vector<uint8_t> two = Bytes(image);
    EXPECT_EQ(history.StepCount(), 2);
    EXPECT_EQ(history.UndoName(), "second");
    EXPECT_EQ(history.RedoName(), "");

    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(Bytes(image), one);
    EXPECT_EQ(history.UndoName(), "first");
    EXPECT_EQ(history.RedoName(), "second");
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(Bytes(image), start);
    EXPECT_FALSE(history.Undo());
    EXPECT_EQ(history.UndoName(), "");
    ASSERT_TRUE(history.Redo());
    ASSERT_TRUE(history.Redo());
    EXPECT_EQ(Bytes(image), two);
    EXPECT_FALSE(history.Redo());
    EXPECT_EQ(applied.count, 4);
    EXPECT_EQ(history.Stack()->undoText().toStdString(), "second");
}

TEST_F(ImageHistoryTest, ACommitWithoutAChangeIsNoStep) {
    EXPECT_FALSE(history.HasUncommitted());
    EXPECT_FALSE(history.Commit("nothing"));
    EXPECT_EQ(history.StepCount(), 0);
    image.SetByte(1, uint8_t(image.GetByte(1) ^ 1));
    EXPECT_TRUE(history.HasUncommitted());
}

TEST_F(ImageHistoryTest, ANewStepAfterUndoDropsTheStepsAbove) {
    Edit(3, 0x11, "first");
    Edit(4, 0x12, "second");
    ASSERT_TRUE(history.Undo());
    Edit(50, 0x33, "third");
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.StepCount(), 2);
    EXPECT_EQ(image.GetByte(4), uint8_t(4 * 7 + 1));
}

TEST_F(ImageHistoryTest, ClearForgetsEveryStepAndTakesTheImageAsItIs) {
    Edit(3, 0x11, "first");
    image.SetByte(9, 0x99);
    history.Clear();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.HasUncommitted());
}

TEST_F(ImageHistoryTest, AResizedImageStartsTheHistoryAfresh) {
    Edit(3, 0x11, "first");
    image.SetSize(kSize * 2);
    EXPECT_FALSE(history.Commit("resized"));
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.HasUncommitted());
}

// A rewrite after a step (bytes inside and outside the step's run) is folded into it: undoing
// gives exactly the image before the step, redoing the rewritten one.
TEST_F(ImageHistoryTest, ARewriteIsFoldedIntoTheStepThatLedToIt) {
    const std::vector<uint8_t> start = Bytes(image);
    Edit(10, 0x11, "edit");
    image.SetByte(10, 0x12);  // inside the step's run
    image.SetByte(60, 0x13);  // far outside it
    history.AbsorbRewrite();
    const std::vector<uint8_t> rewritten = Bytes(image);
    EXPECT_FALSE(history.HasUncommitted());
    EXPECT_EQ(history.StepCount(), 1);
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(Bytes(image), start);
    ASSERT_TRUE(history.Redo());
    EXPECT_EQ(Bytes(image), rewritten);
}

// Steps that could be redone were made on the image before the rewrite: they go.
TEST_F(ImageHistoryTest, ARewriteDropsTheStepsThatCouldBeRedone) {
    Edit(10, 0x11, "first");
    Edit(20, 0x22, "second");
    Edit(30, 0x33, "third");
    ASSERT_TRUE(history.Undo());
    ASSERT_TRUE(history.Undo());
    const std::vector<uint8_t> one = Bytes(image);
    image.SetByte(40, 0x44);
    history.AbsorbRewrite();
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.StepCount(), 1);
    EXPECT_EQ(history.UndoName(), "first");
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(image.GetByte(10), uint8_t(10 * 7 + 1));
    EXPECT_EQ(image.GetByte(40), uint8_t(40 * 7 + 1)) << "the rewrite went with the step";
    ASSERT_TRUE(history.Redo());
    EXPECT_EQ(image.GetByte(40), 0x44);
    EXPECT_EQ(image.GetByte(10), one[10]);
}

TEST_F(ImageHistoryTest, ARewriteBeforeAnyStepIsTheNewStart) {
    image.SetByte(40, 0x44);
    history.AbsorbRewrite();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.HasUncommitted());
}

}  // namespace
