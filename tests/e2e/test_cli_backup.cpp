// pqt590-cli write --backup against t590-sim: the radio is read and what it held saved before
// anything is written; a read or a save that fails means nothing is written to the radio.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>
#include <string>

#include "CliFixture.h"
#include "SimProcess.h"
#include "clone/dst_CDrv_Result.h"

using R = dst_CDrv_Result;

namespace {

class CliBackup : public CliFixture {
protected:
    // The radio's image, with a byte the program would normalise away: the backup must hold
    // what the radio held, not what the program makes of it.
    void RadioImage(cmcEeprom& radio) {
        DefaultImage(radio, "BEFORE BACKUP");
        ChangeProtectedByte(radio);
    }
    std::string Dir() const { return Path(""); }
    int FilesInDir() const {
        return int(QDir(QString::fromStdString(Dir())).entryList(QDir::Files).size());
    }
};

TEST_F(CliBackup, SavesWhatTheRadioHeldThenWritesTheFile) {
    cmcEeprom radio, file, expected;
    RadioImage(radio);
    DefaultImage(file, "WRITTEN AFTER BACKUP");
    Normalised(file, expected);
    const std::string radioAfter = Path("radio-after.t590");
    SimProcess sim({"--image", QString::fromStdString(Save(radio, "radio.t590")), "--save",
                    QString::fromStdString(radioAfter)});
    ASSERT_FALSE(sim.Device().empty());
    const std::string backup = Path("backup.t590");
    {
        QFile old(QString::fromStdString(backup));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older backup\n");
    }

    const CliRun run =
        RunCli({"write", "--port", QString::fromStdString(sim.Device()), "--backup",
                QString::fromStdString(backup), QString::fromStdString(Save(file, "file.t590"))});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, "backup of the radio saved to '" + backup + "'")) << run.err;
    EXPECT_TRUE(Contains(run.err, Line("GI_Mess_CloneWrite_Succeeded", 0))) << run.err;
    const std::string named = Text("GI_Mess_CloneWrite_Backup");
    EXPECT_TRUE(Contains(run.err, named.substr(0, named.find("%s")) + backup)) << run.err;
    cmcEeprom saved;
    Load(saved, backup);
    EXPECT_TRUE(SameCloneRange(saved, radio)) << "the backup holds the radio's own bytes";
    EXPECT_TRUE(Contains(ReadWholeFile(backup), "#Comment=BEFORE BACKUP\r\n"));
    sim.Stop();
    cmcEeprom after;
    Load(after, radioAfter);
    EXPECT_TRUE(SameCloneRange(after, expected));
}

// A read that fails: nothing is written, the backup file stays as it was, exit 3 with the
// read's status.
struct FailedRead {
    const char* name;
    QStringList faults;
    int status;
    bool badMaker = false;
};

void PrintTo(const FailedRead& c, std::ostream* os) {
    *os << c.name;
}

class CliBackupReadFails : public CliBackup, public ::testing::WithParamInterface<FailedRead> {};

TEST_P(CliBackupReadFails, NothingIsWrittenToTheRadio) {
    const FailedRead& c = GetParam();
    cmcEeprom radio, file;
    RadioImage(radio);
    if (c.badMaker)
        radio.SetByte(MemoryMap::kMakerText, 'X');
    DefaultImage(file, "NEVER WRITTEN");
    const std::string radioAfter = Path("radio-after.t590");
    QStringList simArgs{"--image", QString::fromStdString(Save(radio, "radio.t590")), "--save",
                        QString::fromStdString(radioAfter)};
    for (const QString& f : c.faults)
        simArgs << "--fault" << f;
    SimProcess sim(simArgs);
    ASSERT_FALSE(sim.Device().empty());
    const std::string backup = Path("backup.t590");
    {
        QFile old(QString::fromStdString(backup));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("kept\n");
    }
    const std::string path = Save(file, "file.t590");
    const int files = FilesInDir();

    const CliRun run = RunCli({"write", "--port", QString::fromStdString(sim.Device()), "--backup",
                               QString::fromStdString(backup), QString::fromStdString(path)});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_TRUE(Contains(run.err, "clone status " + std::to_string(c.status) + "\n")) << run.err;
    // Told as a read before any write: never that the radio may be partly written.
    const std::string readHead = Line("GI_Mess_CloneErr_ReadHead", c.status);
    EXPECT_TRUE(
        Contains(run.err, readHead.empty() ? Line("GI_Mess_CloneErr_Head", c.status) : readHead))
        << run.err;
    EXPECT_TRUE(Contains(run.err, Text("GI_Mess_CloneErr_NothingWritten"))) << run.err;
    EXPECT_FALSE(Contains(run.err, "partly written")) << run.err;
    EXPECT_TRUE(Contains(run.err, "nothing was written")) << run.err;
    EXPECT_FALSE(Contains(run.err, Line("GI_Mess_CloneWrite_Succeeded", 0))) << run.err;
    EXPECT_EQ(ReadWholeFile(backup), "kept\n");
    EXPECT_EQ(FilesInDir(), files) << "no stray temporary file";
    sim.Stop();
    cmcEeprom after;
    Load(after, radioAfter);
    EXPECT_TRUE(SameCloneRange(after, radio)) << "the radio was written";
}

INSTANTIATE_TEST_SUITE_P(
    Emulator, CliBackupReadFails,
    ::testing::Values(FailedRead{"MissingFrame", {"missing-frame"}, R::kMissing},
                      FailedRead{"BadChecksum", {"bad-checksum=5"}, R::kFrameError},
                      FailedRead{"WrongFrameCount", {"wrong-count"}, R::kFrameCount},
                      FailedRead{"MakerTextChanged", {}, R::kModelCheck, true}),
    [](const ::testing::TestParamInfo<FailedRead>& i) { return std::string(i.param.name); });

TEST_F(CliBackup, ABackupThatCannotBeSavedMeansNothingIsWritten) {
    cmcEeprom radio, file;
    RadioImage(radio);
    DefaultImage(file, "NEVER WRITTEN");
    const std::string radioAfter = Path("radio-after.t590");
    SimProcess sim({"--image", QString::fromStdString(Save(radio, "radio.t590")), "--save",
                    QString::fromStdString(radioAfter)});
    ASSERT_FALSE(sim.Device().empty());
    const std::string backup = Path("no/such/dir/backup.t590");
    const CliRun run =
        RunCli({"write", "--port", QString::fromStdString(sim.Device()), "--backup",
                QString::fromStdString(backup), QString::fromStdString(Save(file, "file.t590"))});
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_TRUE(Contains(run.err, Text("GI_Mess_FileErr_FileOpen"))) << run.err;
    EXPECT_TRUE(Contains(run.err, "could not be saved, file status 1; nothing was written"))
        << run.err;
    EXPECT_FALSE(Contains(run.err, Line("GI_Mess_CloneWrite_Succeeded", 0))) << run.err;
    sim.Stop();
    cmcEeprom after;
    Load(after, radioAfter);
    EXPECT_TRUE(SameCloneRange(after, radio));
}

TEST_F(CliBackup, DataWithErrorsIsRefusedBeforeTheRadioIsRead) {
    cmcEeprom file;
    DefaultImage(file, "HAS ERRORS");
    BreakUserChannel1(file);
    const std::string backup = Path("backup.t590");
    // A port that does not exist: reading from it would end in status 2 and exit 3.
    const CliRun run =
        RunCli({"write", "--port", "/dev/ttyNoSuchPort42", "--backup",
                QString::fromStdString(backup), QString::fromStdString(Save(file, "e.t590"))});
    EXPECT_EQ(run.exitCode, 4) << run.err;
    EXPECT_TRUE(Contains(run.err, Line("GI_Mess_DataError", 0))) << run.err;
    EXPECT_FALSE(Contains(run.err, "no such device")) << run.err;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(backup)));
}

TEST_F(CliBackup, BackupNeedsAFileName) {
    cmcEeprom file;
    DefaultImage(file, "FILE");
    const QString path = QString::fromStdString(Save(file, "f.t590"));
    const CliRun missing = RunCli({"write", "--port", "/dev/ttyNoSuchPort42", path, "--backup"});
    EXPECT_EQ(missing.exitCode, 1) << missing.err;
    const CliRun empty = RunCli({"write", "--port", "/dev/ttyNoSuchPort42", "--backup", "", path});
    EXPECT_EQ(empty.exitCode, 1) << empty.err;
    EXPECT_TRUE(Contains(empty.err, "--backup needs a file name")) << empty.err;
}

TEST_F(CliBackup, HelpDescribesTheOption) {
    const CliRun write = RunCli({"write", "--help"});
    EXPECT_EQ(write.exitCode, 0);
    EXPECT_TRUE(Contains(write.out, "--backup <BACKUP>")) << write.out;
    const CliRun top = RunCli({"--help"});
    EXPECT_TRUE(Contains(top.out, "[--backup BACKUP]")) << top.out;
}

}  // namespace

#endif  // _WIN32
