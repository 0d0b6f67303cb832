#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FakeSerialLink.h"
#include "clone/cmcComm.h"
#include "events/cmcTask.h"

namespace {

struct LinkFixture : ::testing::Test {
    std::shared_ptr<FakeWire> wire = std::make_shared<FakeWire>();
    cmcComm comm;
    void SetUp() override {
        wire->echo = false;
        comm.SetBackend(std::make_unique<FakeSerialLink>(wire));
    }
    // What the timer would do: run the pump while it is scheduled.
    void PumpUntilIdle(int maxRuns = 100) {
        for (int i = 0; i < maxRuns && !comm.PumpTask().IsStopped(); ++i)
            comm.PumpTask().TimerEvent();
    }
};

struct SettingsCase {
    const char* text;
    bool ok;
    int baud;
    char parity;
    int dataBits;
    int stopBits;
};

class SettingsParse : public ::testing::TestWithParam<SettingsCase> {};

}  // namespace

TEST_P(SettingsParse, FieldsInOrder) {
    const SettingsCase& c = GetParam();
    cmcLineSettings s;
    ASSERT_EQ(cmcComm::ParseSettings(c.text, s), c.ok) << c.text;
    if (!c.ok)
        return;
    EXPECT_EQ(s.baudRate, c.baud);
    EXPECT_EQ(s.parity, c.parity);
    EXPECT_EQ(s.dataBits, c.dataBits);
    EXPECT_EQ(s.stopBits, c.stopBits);
}

INSTANTIATE_TEST_SUITE_P(Texts, SettingsParse,
                         ::testing::Values(SettingsCase{"9600,N,8,1", true, 9600, 'N', 8, 0},
                                           SettingsCase{"9600,n,8,1", true, 9600, 'N', 8, 0},
                                           SettingsCase{"4800,N,9,1.5", true, 4800, 'N', 8, 1},
                                           SettingsCase{"38400,N,3,2", true, 38400, 'N', 4, 2},
                                           SettingsCase{"9600,N,8", false, 0, 'N', 0, 0},
                                           SettingsCase{"9600,,8,1", false, 0, 'N', 0, 0}));

TEST_F(LinkFixture, OpenTwiceIsRefusedWithoutTouchingThePort) {
    ASSERT_TRUE(comm.OpenDevice("/dev/fake", "9600,N,8,1"));
    EXPECT_EQ(wire->settings.baudRate, 9600);
    EXPECT_FALSE(comm.OpenDevice("/dev/other", "9600,N,8,1"));
    EXPECT_EQ(wire->opens, 1);
    EXPECT_EQ(wire->device, "/dev/fake");
    EXPECT_TRUE(comm.IsOpen());
}

TEST_F(LinkFixture, FailedOpenLeavesTheLinkClosedAndSaysWhy) {
    wire->openFails = true;
    wire->openError = cmcSerialError::Busy;
    wire->openErrorText = "/dev/fake: the port is in use by another program.";
    EXPECT_FALSE(comm.OpenDevice("/dev/fake", "9600,N,8,1"));
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_EQ(comm.LastError(), cmcSerialError::Busy);
    EXPECT_EQ(comm.LastErrorText(), wire->openErrorText);
}

TEST_F(LinkFixture, SendIsPumpedInPiecesOfAtMost1024IntoAnEmptyQueue) {
    ASSERT_TRUE(comm.OpenDevice("/dev/fake", "9600,N,8,1"));
    std::string bytes(2500, 'x');
    comm.Send(reinterpret_cast<const std::uint8_t*>(bytes.data()), 2500);
    EXPECT_FALSE(comm.PumpTask().IsStopped());
    EXPECT_EQ(comm.PendingOutput(), 2500);
    comm.PumpTask().TimerEvent();
    EXPECT_EQ(wire->written.size(), 1024u);
    EXPECT_EQ(comm.PendingOutput(), 2500 - 1024);
    wire->outputQueue = 5;  // the driver still holds bytes: the pump waits
    comm.PumpTask().TimerEvent();
    EXPECT_EQ(wire->written.size(), 1024u);
    EXPECT_EQ(comm.PendingOutput(), 5 + 2500 - 1024);
    wire->outputQueue = 0;
    PumpUntilIdle();
    EXPECT_EQ(wire->written.size(), 2500u);
    EXPECT_EQ(comm.PendingOutput(), 0);
    EXPECT_TRUE(comm.PumpTask().IsStopped());
    EXPECT_FALSE(comm.HasError());
}

TEST_F(LinkFixture, ShortWriteSetsTheErrorAndKeepsTheBuffer) {
    ASSERT_TRUE(comm.OpenDevice("/dev/fake", "9600,N,8,1"));
    wire->writeLimit = 3;
    const std::uint8_t bytes[] = {1, 2, 3, 4, 5};
    comm.Send(bytes, 5);
    comm.PumpTask().TimerEvent();
    EXPECT_TRUE(comm.HasError());
    EXPECT_TRUE(comm.PumpTask().IsStopped());
    EXPECT_EQ(comm.BufferedOutput(), 5);
    comm.Close();
    EXPECT_FALSE(comm.HasError());
    EXPECT_EQ(comm.PendingOutput(), 0);
}

TEST_F(LinkFixture, ClosedLinkIgnoresSendAndReadsNothing) {
    const std::uint8_t bytes[] = {1, 2};
    comm.Send(bytes, 2);
    EXPECT_EQ(comm.PendingOutput(), 0);
    EXPECT_TRUE(comm.PumpTask().IsStopped());
    std::uint8_t buf[4];
    wire->Queue({9, 9});
    EXPECT_EQ(comm.Read(buf, 4), 0);
    EXPECT_EQ(comm.InputCount(), 0);
}

TEST_F(LinkFixture, CloseEmptiesTheOutputBuffer) {
    ASSERT_TRUE(comm.OpenDevice("/dev/fake", "9600,N,8,1"));
    const std::uint8_t bytes[] = {1, 2, 3};
    comm.Send(bytes, 3);
    comm.Close();
    EXPECT_EQ(comm.PendingOutput(), 0);
    EXPECT_TRUE(comm.PumpTask().IsStopped());
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_TRUE(wire->written.empty());
}

TEST_F(LinkFixture, ReadTakesWhatWaitsUpToMax) {
    ASSERT_TRUE(comm.OpenDevice("/dev/fake", "9600,N,8,1"));
    wire->Queue({1, 2, 3, 4, 5});
    EXPECT_EQ(comm.InputCount(), 5);
    std::uint8_t buf[3];
    EXPECT_EQ(comm.Read(buf, 3), 3);
    EXPECT_EQ(buf[2], 3);
    EXPECT_EQ(comm.InputCount(), 2);
}
