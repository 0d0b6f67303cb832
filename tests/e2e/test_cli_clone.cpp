// pqt590-cli info, read and write against t590-sim over a pseudo-terminal: what reaches the file
// and the radio, every fault kind of the emulator with its status and message, and files left
// untouched by every failure.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <signal.h>

#include <QDir>
#include <QProcess>
#include <QStringList>
#include <string>

#include "CliFixture.h"
#include "CloneFaults.h"
#include "SimProcess.h"
#include "clone/dst_CDrv_Result.h"

using R = dst_CDrv_Result;

namespace {

class CliClone : public CliFixture {};

TEST_F(CliClone, ReadSavesTheRadiosImageOverAnExistingFile) {
    cmcEeprom radio, expected;
    DefaultImage(radio, "E2E RADIO 1");
    ChangeProtectedByte(radio);
    Normalised(radio, expected);
    ASSERT_FALSE(SameCloneRange(expected, radio));
    SimProcess sim({"--image", QString::fromStdString(Save(radio, "radio.t590"))});
    ASSERT_FALSE(sim.Device().empty());
    const std::string out = Path("out.t590");
    {
        QFile old(QString::fromStdString(out));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older file\n");
    }

    const CliRun run = RunCli({"read", "--port", QString::fromStdString(sim.Device()), "-o",
                               QString::fromStdString(out)});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, "status 0")) << run.err;
    cmcEeprom saved;
    Load(saved, out);
    EXPECT_TRUE(SameCloneRange(saved, expected));
    EXPECT_TRUE(Contains(ReadWholeFile(out), "#Comment=E2E RADIO 1\r\n"));
}

TEST_F(CliClone, WriteMakesTheRadioEqualToTheFile) {
    cmcEeprom radio, file, expected;
    DefaultImage(radio, "BEFORE");
    DefaultImage(file, "WRITTEN BY E2E");
    ChangeProtectedByte(file);
    Normalised(file, expected);
    ASSERT_FALSE(SameCloneRange(expected, file));
    const std::string saved = Path("radio-after.t590");
    SimProcess sim({"--image", QString::fromStdString(Save(radio, "radio.t590")), "--save",
                    QString::fromStdString(saved)});
    ASSERT_FALSE(sim.Device().empty());
    const std::string path = Save(file, "file.t590");
    const std::string before = ReadWholeFile(path);

    const CliRun run = RunCli(
        {"write", "--port", QString::fromStdString(sim.Device()), QString::fromStdString(path)});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, Line("GI_Mess_CloneWrite_Succeeded", 0))) << run.err;
    EXPECT_EQ(ReadWholeFile(path), before);  // the file itself is never rewritten
    sim.Stop();
    cmcEeprom after;
    Load(after, saved);
    EXPECT_TRUE(SameCloneRange(after, expected));
}

TEST_F(CliClone, NoiseOnTheLineIsIgnoredByReadAndWrite) {
    cmcEeprom radio, file, expected;
    DefaultImage(radio, "NOISY RADIO");
    DefaultImage(file, "NOISY FILE");
    Normalised(file, expected);
    const std::string saved = Path("radio-after.t590");
    SimProcess sim({"--fault", "noise", "--image",
                    QString::fromStdString(Save(radio, "radio.t590")), "--save",
                    QString::fromStdString(saved)});
    ASSERT_FALSE(sim.Device().empty());
    const QString device = QString::fromStdString(sim.Device());
    const std::string out = Path("out.t590");
    const CliRun read = RunCli({"read", "--port", device, "-o", QString::fromStdString(out)});
    EXPECT_EQ(read.exitCode, 0) << read.err;
    cmcEeprom got;
    Load(got, out);
    EXPECT_TRUE(SameCloneRange(got, radio));
    const CliRun write =
        RunCli({"write", "--port", device, QString::fromStdString(Save(file, "file.t590"))});
    EXPECT_EQ(write.exitCode, 0) << write.err;
    sim.Stop();
    cmcEeprom after;
    Load(after, saved);
    EXPECT_TRUE(SameCloneRange(after, expected));
}

TEST_F(CliClone, InfoPrintsTheInformationSheet) {
    SimProcess sim({});
    ASSERT_FALSE(sim.Device().empty());
    const CliRun run = RunCli({"info", "--port", QString::fromStdString(sim.Device())});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // The emulator reports revision byte 0x01; the model cell shows its fixed text.
    EXPECT_TRUE(Contains(run.out, "Version")) << run.out;
    EXPECT_TRUE(Contains(run.out, "USA")) << run.out;
    EXPECT_TRUE(Contains(run.out, "Firmware revision")) << run.out;
    EXPECT_TRUE(Contains(run.out, "0.1")) << run.out;
    EXPECT_TRUE(Contains(run.out, "Comment in the radio")) << run.out;
}

TEST_F(CliClone, ProgressBarOnATerminalOnly) {
    cmcEeprom radio;
    DefaultImage(radio, "PROGRESS");
    SimProcess sim({"--image", QString::fromStdString(Save(radio, "radio.t590"))});
    ASSERT_FALSE(sim.Device().empty());
    const QStringList args{"read", "--port", QString::fromStdString(sim.Device()), "-o",
                           QString::fromStdString(Path("a.t590"))};

    const CliRun terminal = RunCliOnTerminal(args);
    EXPECT_EQ(terminal.exitCode, 0) << terminal.err;
    EXPECT_TRUE(Contains(terminal.err, "Cloning [")) << terminal.err;
    EXPECT_TRUE(Contains(terminal.err, "] 100%  0:00 left")) << terminal.err;

    const CliRun piped = RunCli(args);
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_FALSE(Contains(piped.err, "Cloning [")) << piped.err;
    EXPECT_FALSE(Contains(piped.err, "%")) << piped.err;
}

TEST_F(CliClone, OnATerminalAFailureMessageStartsOnALineOfItsOwn) {
    cmcEeprom radio;
    DefaultImage(radio, "PROGRESS");
    SimProcess sim(
        {"--image", QString::fromStdString(Save(radio, "radio.t590")), "--fault", "missing-frame"});
    ASSERT_FALSE(sim.Device().empty());
    const CliRun run = RunCliOnTerminal({"read", "--port", QString::fromStdString(sim.Device()),
                                         "-o", QString::fromStdString(Path("a.t590"))});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    // The terminal turns each line feed into CR LF.
    EXPECT_TRUE(Contains(
        run.err, " left\r\n" + Text("GI_Sys_AppTitle") + ": " + Line("GI_Mess_CloneErr_Head", 8)))
        << run.err;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("a.t590"))));
}

TEST_F(CliClone, AnInterruptWaitsForTheEndOfAWrite) {
    cmcEeprom radio, file, expected;
    DefaultImage(radio, "BEFORE");
    DefaultImage(file, "AFTER CTRL-C");
    Normalised(file, expected);
    const std::string saved = Path("radio-after.t590");
    // Paced like a real line, the write takes seconds: the interrupt comes in its middle.
    SimProcess sim({"--baud", "38400", "--verbose", "--image",
                    QString::fromStdString(Save(radio, "radio.t590")), "--save",
                    QString::fromStdString(saved)});
    ASSERT_FALSE(sim.Device().empty());
    QProcess cli;
    cli.setProgram(QString::fromStdString(CliPath()));
    cli.setArguments({"write", "--port", QString::fromStdString(sim.Device()),
                      QString::fromStdString(Save(file, "file.t590"))});
    cli.start();
    ASSERT_TRUE(cli.waitForStarted(30000));
    // The interrupt comes once the radio has taken the first data frame of the write.
    ASSERT_TRUE(sim.WaitForError("t590-sim: write frame 1 received")) << sim.Errors();
    ASSERT_EQ(cli.state(), QProcess::Running) << "the write ended before the interrupt";
    ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
    ASSERT_TRUE(cli.waitForFinished(120000));
    const std::string err = cli.readAllStandardError().toStdString();
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit) << err;
    EXPECT_EQ(cli.exitCode(), 0) << err;
    EXPECT_TRUE(Contains(err, "interrupted: the transfer was let finish first")) << err;
    sim.Stop();
    cmcEeprom after;
    Load(after, saved);
    EXPECT_TRUE(SameCloneRange(after, expected));
}

class CliFaults : public CliFixture, public ::testing::WithParamInterface<CloneFault> {};

TEST_P(CliFaults, EndWithTheStatusItsMessageAndExit3LeavingFilesAndRadio) {
    const CloneFault& c = GetParam();
    cmcEeprom radio, file;
    DefaultImage(radio, "RADIO");
    if (c.badMaker)
        radio.SetByte(MemoryMap::kMakerText, 'X');
    DefaultImage(file, "FILE");
    const std::string radioAfter = Path("radio-after.t590");
    QStringList simArgs{"--image", QString::fromStdString(Save(radio, "radio.t590")), "--save",
                        QString::fromStdString(radioAfter)};
    for (const QString& f : c.faults)
        simArgs << "--fault" << f;
    SimProcess sim(simArgs);
    ASSERT_FALSE(sim.Device().empty());

    const bool read = c.op == CloneOp::Read;
    const std::string target = read ? Path("out.t590") : Save(file, "file.t590");
    if (read) {
        QFile old(QString::fromStdString(target));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("kept\n");
    }
    const std::string before = ReadWholeFile(target);

    QStringList args{read ? "read" : "write", "--port", QString::fromStdString(sim.Device())};
    if (read)
        args << "-o";
    args << QString::fromStdString(target);
    const CliRun run = RunCli(args);

    int status = c.Status();
    if (c.alternative >= 0 && Contains(run.err, "clone status " + std::to_string(c.alternative)))
        status = c.alternative;
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_TRUE(Contains(run.err, "clone status " + std::to_string(status) + "\n")) << run.err;
    EXPECT_TRUE(Contains(run.err, Line("GI_Mess_CloneErr_Head", status))) << run.err;
    EXPECT_EQ(ReadWholeFile(target), before);
    EXPECT_EQ(QDir(QString::fromStdString(Path(""))).entryList(QDir::Files).size(),
              2);  // radio.t590 and the target: no stray temporary file

    sim.Stop();
    if (std::string(c.name).rfind("CutLink", 0) == 0)
        return;  // a cut link ends the emulator before it can save
    cmcEeprom after;
    Load(after, radioAfter);
    EXPECT_TRUE(SameCloneRange(after, radio));
}

INSTANTIATE_TEST_SUITE_P(Emulator, CliFaults, ::testing::ValuesIn(FailingCloneFaults()),
                         CloneFaultName);

TEST_F(CliClone, AReadIntoAMissingDirectoryIsAFileErrorAfterTheRead) {
    cmcEeprom radio;
    DefaultImage(radio, "RADIO");
    SimProcess sim({"--image", QString::fromStdString(Save(radio, "radio.t590"))});
    ASSERT_FALSE(sim.Device().empty());
    const CliRun run = RunCli({"read", "--port", QString::fromStdString(sim.Device()), "-o",
                               QString::fromStdString(Path("no/such/dir/out.t590"))});
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_TRUE(Contains(run.err, Text("GI_Mess_FileErr_FileOpen"))) << run.err;
    EXPECT_TRUE(Contains(run.err, "file status 1\n")) << run.err;
}

TEST_F(CliClone, AMissingDeviceIsStatus2WithTheSystemsReason) {
    const std::string out = Path("never.t590");
    const CliRun run =
        RunCli({"read", "--port", "/dev/ttyNoSuchPort42", "-o", QString::fromStdString(out)});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(Contains(run.err, "/dev/ttyNoSuchPort42: no such device.")) << run.err;
    EXPECT_TRUE(Contains(run.err, "clone status 2\n")) << run.err;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out)));
}

TEST_F(CliClone, WriteRefusesDataWithErrorsBeforeOpeningThePort) {
    cmcEeprom file;
    DefaultImage(file, "HAS ERRORS");
    BreakUserChannel1(file);
    // A port that does not exist: reaching it would end in status 2 and exit 3.
    const CliRun run = RunCli({"write", "--port", "/dev/ttyNoSuchPort42",
                               QString::fromStdString(Save(file, "errors.t590"))});
    EXPECT_EQ(run.exitCode, 4) << run.err;
    EXPECT_TRUE(Contains(run.err, Line("GI_Mess_DataError", 0))) << run.err;
    EXPECT_TRUE(Contains(run.err, Line("GI_Mess_DataError", 1))) << run.err;
    EXPECT_FALSE(Contains(run.err, "no such device")) << run.err;
}

}  // namespace

#endif  // _WIN32
