#include <gtest/gtest.h>

#include "events/cmcTick.h"
#include "platform/cmcClock.h"

namespace {

class TickTest : public ::testing::Test {
protected:
    void TearDown() override { cmcClock::SetAutomatic(); }
};

TEST_F(TickTest, IdleUntilStarted) {
    cmcClock::SetManual(1000);
    cmcTick tick;
    EXPECT_FALSE(tick.IsRunning());
    EXPECT_EQ(tick.Remaining(), 0u);
}

TEST_F(TickTest, CountsDownAndExpiresOnceReached) {
    struct Case {
        uint32_t elapsed;
        uint32_t remaining;
        bool running;
    };
    const Case cases[] = {{0, 250, true},  {1, 249, true},  {249, 1, true},
                          {250, 0, false}, {251, 0, false}, {100000, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.elapsed);
        cmcClock::SetManual(5000);
        cmcTick tick;
        tick.Start(250);
        cmcClock::Advance(c.elapsed);
        EXPECT_EQ(tick.Remaining(), c.remaining);
        EXPECT_EQ(tick.IsRunning(), c.running);
    }
}

TEST_F(TickTest, StaysExpiredUntilStartedAgain) {
    cmcClock::SetManual(5000);
    cmcTick tick;
    tick.Start(250);
    cmcClock::SetManual(5250);
    EXPECT_EQ(tick.Remaining(), 0u);
    // Even if the clock were read as earlier again, an observed expiry is final.
    cmcClock::SetManual(5010);
    EXPECT_EQ(tick.Remaining(), 0u);
    tick.Start(100);
    EXPECT_EQ(tick.Remaining(), 100u);
}

TEST_F(TickTest, RestartBeginsTheWaitAnew) {
    cmcClock::SetManual(0);
    cmcTick tick;
    tick.Start(250);
    cmcClock::Advance(200);
    tick.Start(250);
    cmcClock::Advance(200);
    EXPECT_EQ(tick.Remaining(), 50u);
}

TEST_F(TickTest, WrapOfTheTickCountIsHandled) {
    struct Case {
        uint32_t duration;
        uint32_t remaining;
    };
    // From 0xFFFFFF00 to 0x00000010 is 0x110 ms.
    const Case cases[] = {{1000, 1000 - 0x110}, {0x111, 1}, {0x110, 0}, {0x10, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.duration);
        cmcClock::SetManual(0xFFFFFF00u);
        cmcTick tick;
        tick.Start(c.duration);
        cmcClock::SetManual(0x00000010u);
        EXPECT_EQ(tick.Remaining(), c.remaining);
    }
}

}  // namespace
