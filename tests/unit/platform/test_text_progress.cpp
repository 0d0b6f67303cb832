// The terminal progress bar: the line it draws, redrawing in place, and the line ended before a
// message.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/cmcClock.h"
#include "platform/cmcTextProgress.h"

namespace {

struct LineCase {
    int done;
    int total;
    uint32_t elapsedMs;
    const char* line;
};

class ProgressLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(ProgressLine, ShowsBarPercentAndTimeLeft) {
    const LineCase& c = GetParam();
    EXPECT_EQ(cmcTextProgress::Line("Cloning", c.done, c.total, c.elapsedMs), c.line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgressLine,
    ::testing::Values(
        LineCase{0, 11552, 0, "Cloning [--------------------------------]   0%  --:-- left"},
        // Too early for a rate.
        LineCase{100, 11552, 499, "Cloning [--------------------------------]   0%  --:-- left"},
        // Half in 6 s: 6 s left.
        LineCase{5776, 11552, 6000, "Cloning [################----------------]  50%  0:06 left"},
        // 99.99 % is not 100 %.
        LineCase{11551, 11552, 12000, "Cloning [###############################-]  99%  0:01 left"},
        LineCase{11552, 11552, 12000, "Cloning [################################] 100%  0:00 left"},
        // More than was asked for counts as all; no total shows nothing done.
        LineCase{20000, 11552, 100, "Cloning [################################] 100%  0:00 left"},
        LineCase{10, 0, 1000, "Cloning [--------------------------------]   0%  --:-- left"},
        // A tenth in 7 min: about an hour left.
        LineCase{1000, 10000, 420000,
                 "Cloning [###-----------------------------]  10%  1:03:00 left"}));

TEST(ProgressDuration, RoundsUpToWholeSeconds) {
    EXPECT_EQ(cmcTextProgress::Duration(0), "0:00");
    EXPECT_EQ(cmcTextProgress::Duration(1), "0:01");
    EXPECT_EQ(cmcTextProgress::Duration(59000), "0:59");
    EXPECT_EQ(cmcTextProgress::Duration(61001), "1:02");
    EXPECT_EQ(cmcTextProgress::Duration(3600000), "1:00:00");
}

// What the bar writes, through a temporary file.
class ProgressOutput : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = std::tmpfile();
        ASSERT_NE(file_, nullptr);
        cmcClock::SetManual(1000);
    }
    void TearDown() override {
        cmcClock::SetAutomatic();
        std::fclose(file_);
    }
    std::string Written() {
        std::fflush(file_);
        std::rewind(file_);
        std::string text;
        int c;
        while ((c = std::fgetc(file_)) != EOF)
            text += static_cast<char>(c);
        return text;
    }
    std::FILE* file_ = nullptr;
};

TEST_F(ProgressOutput, RedrawsInPlaceOnlyOnChangeAndEndsItsLine) {
    {
        cmcTextProgress bar(file_);
        bar.Update(0, 32, 0, 100);  // before Show: nothing
        bar.Show("Cloning");
        bar.Update(0, 32, 0, 100);
        bar.Update(0, 32, 0, 100);  // the same line again: not drawn again
        cmcClock::Advance(1000);
        bar.Update(16, 32, 50, 100);
        bar.Hide();
    }
    EXPECT_EQ(Written(),
              "Cloning [--------------------------------]   0%  --:-- left"
              // One blank covers the end of the longer "--:--" line.
              "\rCloning [################----------------]  50%  0:01 left \n");
}

TEST_F(ProgressOutput, AMessageGetsALineOfItsOwn) {
    cmcTextProgress bar(file_);
    bar.Show("Cloning");
    bar.Update(0, 32, 0, 100);
    bar.Interrupt();
    std::fputs("message\n", file_);
    bar.Update(0, 32, 0, 100);  // drawn again, on a fresh line, without a carriage return
    bar.Hide();
    bar.Hide();  // nothing more
    EXPECT_EQ(Written(),
              "Cloning [--------------------------------]   0%  --:-- left\n"
              "message\n"
              "Cloning [--------------------------------]   0%  --:-- left\n");
}

}  // namespace
