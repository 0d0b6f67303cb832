// What the radio answers after earlier transfers, through pqt590-cli against t590-sim: the clone
// information shows the comment the radio holds now, and a transfer that failed part way leaves
// the line as clean for the next one as a good transfer does.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <QStringList>
#include <string>

#include "CliFixture.h"
#include "SimProcess.h"

namespace {

class CliRadioState : public CliFixture {};

TEST_F(CliRadioState, InfoShowsTheCommentAWriteLeftInTheRadio) {
    cmcEeprom radio, file;
    DefaultImage(radio, "OLD COMMENT");
    DefaultImage(file, "NEW COMMENT");
    SimProcess sim({"--image", QString::fromStdString(Save(radio, "radio.t590"))});
    ASSERT_FALSE(sim.Device().empty());
    const QString port = QString::fromStdString(sim.Device());

    const CliRun before = RunCli({"info", "--port", port});
    EXPECT_EQ(before.exitCode, 0) << before.err;
    EXPECT_TRUE(Contains(before.out, "OLD COMMENT")) << before.out;

    const CliRun write =
        RunCli({"write", "--port", port, QString::fromStdString(Save(file, "file.t590"))});
    ASSERT_EQ(write.exitCode, 0) << write.err;

    const CliRun after = RunCli({"info", "--port", port});
    EXPECT_EQ(after.exitCode, 0) << after.err;
    EXPECT_TRUE(Contains(after.out, "NEW COMMENT")) << after.out;
    EXPECT_FALSE(Contains(after.out, "OLD COMMENT")) << after.out;
}

TEST_F(CliRadioState, AWriteAfterAReadThatFailedOnADamagedFrameSucceeds) {
    cmcEeprom radio, file, expected;
    DefaultImage(radio, "DAMAGED READ");
    DefaultImage(file, "WRITTEN AFTER");
    Normalised(file, expected);
    const std::string saved = Path("radio-after.t590");
    // Paced, the radio is still sending the rest of the read when the program gives up on it
    // and starts the write; the damaged frame is one of the first.
    SimProcess sim({"--baud", "115200", "--fault", "bad-checksum=5", "--image",
                    QString::fromStdString(Save(radio, "radio.t590")), "--save",
                    QString::fromStdString(saved)});
    ASSERT_FALSE(sim.Device().empty());
    const QString port = QString::fromStdString(sim.Device());

    const CliRun read = RunCli({"read", "--port", port, "-o", QString::fromStdString(Path("r"))});
    EXPECT_EQ(read.exitCode, 3) << read.err;
    EXPECT_TRUE(Contains(read.err, "clone status 6\n")) << read.err;

    const CliRun write =
        RunCli({"write", "--port", port, QString::fromStdString(Save(file, "file.t590"))});
    EXPECT_EQ(write.exitCode, 0) << write.err;
    EXPECT_TRUE(Contains(write.err, "status 0")) << write.err;
    sim.Stop();
    cmcEeprom after;
    Load(after, saved);
    EXPECT_TRUE(SameCloneRange(after, expected));
}

}  // namespace

#endif  // _WIN32
