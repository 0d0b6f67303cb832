// pqt590-cli write --dry-run and --verify against t590-sim: the comparison of what the radio
// holds with what the write would leave there (nothing written), and the read back after a
// write that proves what the radio holds or names the cells that differ.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <QStringList>
#include <string>

#include "CliFixture.h"
#include "SimProcess.h"
#include "clone/dst_CDrv_Result.h"
#include "memory/cmcCloneFile.h"

using R = dst_CDrv_Result;

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// User channel 1 on 2187.5 kHz both ways (2182.0 in the default image).
void MoveUserChannel1(cmcEeprom& image) {
    datCh ch(image);
    ch.Load(datCh::kUserCh, 1);
    ch.rxFreq = 2187500;
    ch.txFreq = 2187500;
    ch.Save();
}

const char kChannel1Line[] = "[User channels] 1 / Receive kHz: \"2182.0\" -> \"2187.5\"";

class CliWriteChecks : public CliFixture {
protected:
    // A radio holding the default image with comment RADIO, and a file to write.
    void Radio(const QStringList& faults = {}) {
        cmcEeprom radio;
        DefaultImage(radio, "RADIO");
        radioFile_ = Save(radio, "radio.t590");
        QStringList args{"--image", Q(radioFile_), "--save", Q(Path("after.t590"))};
        for (const QString& f : faults)
            args << "--fault" << f;
        sim_ = std::make_unique<SimProcess>(args);
        ASSERT_FALSE(sim_->Device().empty()) << sim_->Errors();
    }
    CliRun Write(const std::string& file, const QStringList& options) {
        QStringList args{"write", "--port", Q(sim_->Device())};
        args += options;
        args << Q(file);
        return RunCli(args);
    }
    // What the radio holds once the emulator has ended.
    void After(cmcEeprom& image) {
        sim_->Stop();
        Load(image, Path("after.t590"));
    }

    std::string radioFile_;
    std::unique_ptr<SimProcess> sim_;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = text.find('\n', from);
        lines.push_back(text.substr(from, end - from));
        if (end == std::string::npos)
            break;
        from = end + 1;
    }
    return lines;
}

TEST_F(CliWriteChecks, ADryRunPrintsWhatTheWriteWouldChangeAndWritesNothing) {
    Radio();
    cmcEeprom file;
    DefaultImage(file, "RADIO");
    MoveUserChannel1(file);
    const CliRun run = Write(Save(file, "file.t590"), {"--dry-run"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Lines(run.out), std::vector<std::string>{kChannel1Line}) << run.out;
    EXPECT_TRUE(Contains(run.err, "dry run: 1 cells differ in 1 sheet; nothing was written"))
        << run.err;
    EXPECT_FALSE(Contains(run.err, Line("GI_Mess_CloneWrite_Succeeded", 0))) << run.err;
    cmcEeprom radio, after;
    Load(radio, radioFile_);
    After(after);
    EXPECT_TRUE(SameCloneRange(after, radio)) << "the radio was written";
}

TEST_F(CliWriteChecks, ADryRunOfWhatTheRadioHoldsSaysSo) {
    Radio();
    const CliRun run = Write(radioFile_, {"--dry-run"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(Contains(run.err, Text("GI_Mess_Preview_Same") + "; nothing was written"))
        << run.err;
}

TEST_F(CliWriteChecks, ADryRunOnARadioThatCannotBeReadEndsInTheReadsStatus) {
    Radio({"bad-checksum=2"});
    const CliRun run = Write(radioFile_, {"--dry-run"});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_TRUE(Contains(run.err, "clone status " + std::to_string(R::kFrameError))) << run.err;
    EXPECT_TRUE(Contains(run.err, Text("GI_Mess_CloneErr_NothingWritten"))) << run.err;
    EXPECT_FALSE(Contains(run.err, "partly written")) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST_F(CliWriteChecks, VerifyReadsTheRadioBackAndSaysItHoldsWhatWasWritten) {
    Radio();
    cmcEeprom file, expected;
    DefaultImage(file, "WRITTEN");
    MoveUserChannel1(file);
    Normalised(file, expected);
    const CliRun run = Write(Save(file, "file.t590"), {"--verify"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, Text("GI_Mess_WriteCheck_Matched"))) << run.err;
    EXPECT_TRUE(Contains(run.err, ", verified, status 0")) << run.err;
    cmcEeprom after;
    After(after);
    EXPECT_TRUE(SameCloneRange(after, expected));
}

TEST_F(CliWriteChecks, VerifyNamesTheCellsTheRadioDidNotTakeAndFails) {
    // The radio keeps the first byte of user channel 1's receive frequency.
    const int at = MemoryMap::kUserChannels + MemoryMap::kUserChannelSize + MemoryMap::kChRxFreq;
    char address[8];
    std::snprintf(address, sizeof address, "%X", at);
    Radio({QStringLiteral("stuck-byte=%1").arg(address)});
    cmcEeprom file;
    DefaultImage(file, "WRITTEN");
    MoveUserChannel1(file);
    const CliRun run = Write(Save(file, "file.t590"), {"--verify"});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    std::string first = Line("GI_Mess_WriteCheck_Differs", 0);
    first = first.substr(0, first.find("%s"));
    EXPECT_TRUE(Contains(run.err, first + "1 ")) << run.err;
    // Written 2187.5, the radio shows another frequency: named by sheet, row and column.
    EXPECT_TRUE(Contains(run.err, "[User channels] 1 / Receive kHz: \"2187.5\" -> \"")) << run.err;
    EXPECT_TRUE(Contains(run.err, Line("GI_Mess_WriteCheck_Differs", 3))) << run.err;
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%04X", at);
    EXPECT_TRUE(Contains(run.err, std::string("differs in 1 bytes (the first at ") + hex))
        << run.err;
}

TEST_F(CliWriteChecks, VerifyNamesAnIdentityTheRadioKeepsAsKept) {
    cmcEeprom radio, file;
    DefaultImage(radio, "RADIO");
    const uint8_t inRadio[5] = {21, 13, 45, 67, 80};
    radio.WriteBlock(MemoryMap::kOwnIdentity, inRadio, 5);
    radioFile_ = Save(radio, "radio.t590");
    sim_ = std::make_unique<SimProcess>(
        QStringList{"--image", Q(radioFile_), "--fault", "keep-identity"});
    ASSERT_FALSE(sim_->Device().empty());
    DefaultImage(file, "WRITTEN");
    const uint8_t inFile[5] = {23, 10, 0, 0, 10};
    file.WriteBlock(MemoryMap::kOwnIdentity, inFile, 5);
    const CliRun run = Write(Save(file, "file.t590"), {"--verify"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, Text("GI_Mess_WriteCheck_IdentityKept"))) << run.err;
    EXPECT_TRUE(Contains(run.err, "verified (the radio kept its own identity)")) << run.err;
}

TEST_F(CliWriteChecks, DryRunAndVerifyTogetherAreAUsageError) {
    const CliRun run = RunCli(
        {"write", "--port", "/dev/ttyNoSuchPort42", "--dry-run", "--verify", Q(Path("none.t590"))});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_TRUE(Contains(run.err, "--dry-run writes nothing for --verify to check")) << run.err;
}

}  // namespace

#endif  // _WIN32
