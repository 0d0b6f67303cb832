#include <gtest/gtest.h>

#include "cmcTestHost.h"
#include "platform/cmcClock.h"
#include "platform/cmcHost.h"

TEST(Clock, ManualTimeMovesOnlyWhenTold) {
    cmcClock::SetManual(0xFFFFFF00u);
    EXPECT_EQ(cmcClock::Ticks(), 0xFFFFFF00u);
    cmcClock::Advance(0x110);
    EXPECT_EQ(cmcClock::Ticks(), 0x00000010u);  // wraps like the system tick count
    cmcClock::SetAutomatic();
    EXPECT_FALSE(cmcClock::IsManual());
}

TEST(Host, TestHostRecordsMessagesAndAnswersFromScript) {
    ScopedTestHost host;
    host->QueueAnswer(HostAnswer::No);
    EXPECT_EQ(
        cmcHost::Instance().MessageBox("cap", "text", HostIcon::Question, HostButtons::YesNoCancel),
        HostAnswer::No);
    host->SetDefaultAnswer(HostAnswer::Cancel);
    EXPECT_EQ(cmcHost::Instance().MessageBox("c2", "t2", HostIcon::Warning, HostButtons::OkCancel),
              HostAnswer::Cancel);
    ASSERT_EQ(host->Messages().size(), 2u);
    EXPECT_EQ(host->Messages()[0].caption, "cap");
    EXPECT_EQ(host->Messages()[1].icon, HostIcon::Warning);
}

TEST(Host, FatalErrorThrowsUnderTestHost) {
    ScopedTestHost host;
    EXPECT_THROW(FatalError("boom"), cmcFatalError);
    ASSERT_EQ(host->Fatals().size(), 1u);
    EXPECT_EQ(host->Fatals()[0], "boom");
}

TEST(Host, ExecutableDirEndsWithSeparator) {
    const std::string dir = cmcHost::Instance().ExecutableDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_TRUE(dir.back() == '/' || dir.back() == '\\');
}
