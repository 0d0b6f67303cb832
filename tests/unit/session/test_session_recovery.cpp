// The recovery file of unsaved changes: when it is written, when it goes, what it holds, how an
// earlier run's file is offered and restored, and a killed process's edits coming back.
#ifndef _WIN32
#include <signal.h>
#endif

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include "SessionTest.h"
#include "memory/cmcCloneFile.h"

namespace {

class RecoveryTest : public SessionTest {
public:
    void SetUp() override {
        SessionTest::SetUp();
        recoveryDir = Path("data");
        ASSERT_TRUE(session.EnableRecovery(recoveryDir));
    }
    std::string OwnFile() const { return session.Recovery().FilePath(); }
    bool OwnFileExists() const { return QFile::exists(QString::fromStdString(OwnFile())); }
    // The delayed write comes due.
    void LetTheDelayPass() { cmcClock::Advance(indSession::kRecoveryDelayMs); }
    // As a crash ends a run: the lock goes with the process, the recovery file stays.
    void EndRunWithoutCleaningUp() { const_cast<indRecovery&>(session.Recovery()).Release(); }

    std::string recoveryDir;
};

TEST_F(RecoveryTest, WrittenAFewSecondsAfterTheLastChangeAsAFileThatOpens) {
    const std::string path = OpenChannelFile();
    EXPECT_FALSE(session.RecoveryWritePending());
    Type(CT_UserCh, CL_UCh_FreqR, 5, "7100");
    EXPECT_TRUE(session.RecoveryWritePending());
    cmcClock::Advance(indSession::kRecoveryDelayMs - 1);
    EXPECT_FALSE(session.RunDueRecoveryWrite());
    EXPECT_FALSE(OwnFileExists());
    // Another change puts the write off again.
    Type(CT_UserCh, CL_UCh_Comment, 5, "LATER");
    cmcClock::Advance(indSession::kRecoveryDelayMs - 1);
    EXPECT_FALSE(session.RunDueRecoveryWrite());
    cmcClock::Advance(1);
    ASSERT_TRUE(session.RunDueRecoveryWrite());
    EXPECT_FALSE(session.RecoveryWritePending());
    EXPECT_FALSE(session.RunDueRecoveryWrite()) << "written once";

    cmcEeprom kept;
    ASSERT_EQ(FileCommands::OpenCloneFile(OwnFile(), kept), 0);
    datCh ch(kept.Bytes(), kept.GetSize());
    ch.Load(datCh::kUserCh, 5);
    EXPECT_EQ(ch.rxFreq, 7100000);
    EXPECT_EQ(std::string(ch.comment, 8), "LATER   ");
    EXPECT_EQ(indRecovery::FileNameIn(OwnFile()), path);
    EXPECT_TRUE(host->Messages().empty());
}

TEST_F(RecoveryTest, EditsWithoutPauseAreWrittenAtTheLatestAfterTheLongestDelay) {
    OpenChannelFile();
    uint32_t waited = 0;
    for (int n = 0; !session.RunDueRecoveryWrite(); ++n) {
        ASSERT_LE(waited, indSession::kRecoveryMaxDelayMs) << "never written";
        Type(CT_UserCh, CL_UCh_Comment, 5, "EDIT " + std::to_string(n % 100));
        cmcClock::Advance(1000);
        waited += 1000;
    }
    EXPECT_EQ(waited, indSession::kRecoveryMaxDelayMs);
    EXPECT_TRUE(OwnFileExists());
}

// Each way the unsaved changes end takes the recovery file with them.
struct Ending {
    const char* name;
    void (*end)(RecoveryTest&, const std::string& path);
};

void PrintTo(const Ending& e, std::ostream* os) {
    *os << e.name;
}

class RecoveryEnds : public RecoveryTest, public ::testing::WithParamInterface<Ending> {};

TEST_P(RecoveryEnds, TheFileGoes) {
    const std::string path = OpenChannelFile();
    Type(CT_UserCh, CL_UCh_FreqR, 5, "7100");
    LetTheDelayPass();
    ASSERT_TRUE(session.RunDueRecoveryWrite());
    ASSERT_TRUE(OwnFileExists());
    GetParam().end(*this, path);
    EXPECT_FALSE(OwnFileExists());
    EXPECT_FALSE(session.RecoveryWritePending());
}

INSTANTIATE_TEST_SUITE_P(
    Session, RecoveryEnds,
    ::testing::Values(
        Ending{"Saved", [](RecoveryTest& t,
                           const std::string& path) { ASSERT_EQ(t.session.SaveFile(path), 0); }},
        Ending{"DiscardedByNew",
               [](RecoveryTest& t, const std::string&) {
                   t.host->QueueAnswer(HostAnswer::No);
                   ASSERT_TRUE(t.session.FileNew());
               }},
        Ending{"DiscardedByOpen",
               [](RecoveryTest& t, const std::string&) {
                   const std::string other = t.Path("other.t590");
                   ASSERT_EQ(FileCommands::SaveCloneFile(other, t.session.TemplateImage()), 0);
                   t.host->QueueAnswer(HostAnswer::No);
                   ASSERT_EQ(t.session.OpenFile(other), 0);
               }},
        Ending{"UndoneToTheSavedImage",
               [](RecoveryTest& t, const std::string&) { ASSERT_TRUE(t.session.Undo()); }},
        Ending{"CleanEnd", [](RecoveryTest& t, const std::string&) { t.session.EndRecovery(); }}),
    [](const ::testing::TestParamInfo<Ending>& i) { return std::string(i.param.name); });

TEST_F(RecoveryTest, CancellingTheQuestionKeepsTheFile) {
    OpenChannelFile();
    Type(CT_UserCh, CL_UCh_FreqR, 5, "7100");
    LetTheDelayPass();
    ASSERT_TRUE(session.RunDueRecoveryWrite());
    host->QueueAnswer(HostAnswer::Cancel);
    EXPECT_FALSE(session.FileNew());
    EXPECT_TRUE(OwnFileExists());
}

// A recovery file found when the directory is claimed is the earlier run's: it is set aside,
// so that nothing this run saves or discards removes it before the user has decided.
TEST_F(RecoveryTest, AnEarlierRunsFileIsOfferedRestoredAndThenThisRunsOwn) {
    const std::string path = OpenChannelFile();
    Type(CT_UserCh, CL_UCh_FreqR, 5, "7100");
    Choose(CT_UserCh, CL_UCh_Mode, 6, CL_Sel_Mode_U, 4);
    const std::vector<uint8_t> edited = Bytes();
    LetTheDelayPass();
    ASSERT_TRUE(session.RunDueRecoveryWrite());
    EndRunWithoutCleaningUp();

    indSession next;
    RecordingViews nextViews;
    next.SetViews(&nextViews);
    next.SetResourceDir(ResourcePath(""));
    next.LoadTemplate();
    ASSERT_TRUE(next.EnableRecovery(recoveryDir));
    ASSERT_TRUE(next.HasEarlierRecovery());
    EXPECT_FALSE(next.Recovery().HasFile()) << "moved aside";
    ASSERT_TRUE(next.FileNew());  // unmodified: no question, and the offer stays
    ASSERT_TRUE(next.HasEarlierRecovery());

    ASSERT_EQ(next.RestoreRecovery(), 0);
    EXPECT_EQ(std::vector<uint8_t>(next.WorkingImage().Bytes(),
                                   next.WorkingImage().Bytes() + next.WorkingImage().GetSize()),
              edited);
    EXPECT_TRUE(next.IsModified());
    EXPECT_EQ(next.FileName(), path);
    ASSERT_FALSE(nextViews.titles.empty());
    EXPECT_EQ(nextViews.titles.back(), "radio.t590 - PQ-T590");
    EXPECT_FALSE(next.CanUndo());
    EXPECT_FALSE(next.HasEarlierRecovery());
    EXPECT_TRUE(next.Recovery().HasFile()) << "kept as this run's own at once";
    EXPECT_EQ(nextViews.imageChanges, 1);
    EXPECT_GE(nextViews.sheetsClosed, 1);
    // Saving it ends the recovery.
    ASSERT_EQ(next.SaveFile(path), 0);
    EXPECT_FALSE(next.Recovery().HasFile());
    next.SetViews(nullptr);
}

// Ended from outside (SIGTERM at a shutdown): an edit not yet written (its delay still running)
// is written at once and left for the next start, which offers it as after a crash.
TEST_F(RecoveryTest, EndedFromOutsideTheEditsAreKeptForTheNextStart) {
    OpenChannelFile();
    Type(CT_UserCh, CL_UCh_FreqR, 5, "7100");
    const std::vector<uint8_t> edited = Bytes();
    ASSERT_FALSE(OwnFileExists()) << "still within its delay";
    session.KeepRecoveryForNextRun();
    EXPECT_FALSE(session.Recovery().IsActive());

    indSession next;
    next.SetResourceDir(ResourcePath(""));
    next.LoadTemplate();
    ASSERT_TRUE(next.EnableRecovery(recoveryDir)) << "the lock was released";
    ASSERT_TRUE(next.HasEarlierRecovery());
    ASSERT_EQ(next.RestoreRecovery(), 0);
    EXPECT_EQ(std::vector<uint8_t>(next.WorkingImage().Bytes(),
                                   next.WorkingImage().Bytes() + next.WorkingImage().GetSize()),
              edited);
}

TEST_F(RecoveryTest, EndedFromOutsideWithoutChangesNothingIsOfferedNextTime) {
    OpenChannelFile();
    session.KeepRecoveryForNextRun();
    indSession next;
    next.SetResourceDir(ResourcePath(""));
    next.LoadTemplate();
    ASSERT_TRUE(next.EnableRecovery(recoveryDir));
    EXPECT_FALSE(next.HasEarlierRecovery());
}

TEST_F(RecoveryTest, AnUntitledImageIsRestoredUntitled) {
    ASSERT_TRUE(session.FileNew());
    Type(CT_UserCh, CL_UCh_FreqR, 7, "7300");
    LetTheDelayPass();
    ASSERT_TRUE(session.RunDueRecoveryWrite());
    EndRunWithoutCleaningUp();
    ASSERT_TRUE(session.EnableRecovery(recoveryDir));
    host->QueueAnswer(HostAnswer::No);  // the edit still in this session is discarded
    ASSERT_EQ(session.RestoreRecovery(), 0);
    EXPECT_TRUE(session.IsUntitled());
    EXPECT_TRUE(session.IsModified());
    EXPECT_EQ(UserChannel(7).rxFreq, 7300000);
}

TEST_F(RecoveryTest, DiscardingTheEarlierFileRemovesIt) {
    OpenChannelFile();
    Type(CT_UserCh, CL_UCh_FreqR, 5, "7100");
    LetTheDelayPass();
    ASSERT_TRUE(session.RunDueRecoveryWrite());
    EndRunWithoutCleaningUp();
    ASSERT_TRUE(session.EnableRecovery(recoveryDir));
    ASSERT_TRUE(session.HasEarlierRecovery());
    session.DiscardRecovery();
    EXPECT_FALSE(session.HasEarlierRecovery());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(session.Recovery().EarlierFilePath())));
}

TEST_F(RecoveryTest, ADamagedEarlierFileIsReportedAndChangesNothing) {
    OpenChannelFile();
    const std::vector<uint8_t> before = Bytes();
    session.EndRecovery();
    QDir().mkpath(QString::fromStdString(recoveryDir));
    QFile damaged(QDir(QString::fromStdString(recoveryDir)).filePath(indRecovery::kFileName));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("24290001\r\n#MapRev=7\r\nnot a data line\r\n");
    damaged.close();
    ASSERT_TRUE(session.EnableRecovery(recoveryDir));
    ASSERT_TRUE(session.HasEarlierRecovery());
    EXPECT_EQ(session.RestoreRecovery(), cmcCloneFile::Format);
    ASSERT_EQ(host->Messages().size(), 1u);
    EXPECT_EQ(Bytes(), before);
    EXPECT_FALSE(session.IsModified());
    EXPECT_TRUE(session.HasEarlierRecovery()) << "kept until discarded";
}

// One session at a time owns the directory; a second one keeps no recovery file there.
TEST_F(RecoveryTest, ASecondSessionCannotClaimTheDirectoryWhileTheFirstHoldsIt) {
    indSession second;
    second.SetResourceDir(ResourcePath(""));
    EXPECT_FALSE(second.EnableRecovery(recoveryDir));
    EXPECT_FALSE(second.RecoveryEnabled());
    session.EndRecovery();
    EXPECT_TRUE(second.EnableRecovery(recoveryDir));
}

TEST_F(RecoveryTest, WithoutADirectoryNothingIsKept) {
    indSession other;
    EXPECT_FALSE(other.EnableRecovery(std::string()));
    QFile blocker(QString::fromStdString(Path("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(other.EnableRecovery(Path("blocker/data"))) << "a file where the directory goes";
}

// File names of any length and bytes survive the header lines.
class RecoveryFileNames : public ::testing::TestWithParam<std::string> {};

TEST_P(RecoveryFileNames, RoundTripThroughTheFile) {
    ScopedTestHost host;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    cmcGTex texts;
    texts.SetFile(ResourcePath("PQT590.OVL"));
    cmcGTex* previous = cmcGTex::Main();
    cmcGTex::SetMain(&texts);
    cmcEeprom image;
    ASSERT_EQ(FileCommands::OpenCloneFile(ResourcePath("PQT590_Default.t590"), image), 0);
    const std::string path = dir.filePath("r.t590").toStdString();
    ASSERT_EQ(
        FileCommands::SaveCloneFileSilently(path, image, indRecovery::FileNameLines(GetParam())),
        0);
    EXPECT_EQ(indRecovery::FileNameIn(path), GetParam());
    cmcEeprom back;
    EXPECT_EQ(FileCommands::OpenCloneFile(path, back), 0) << "still an ordinary clone file";
    EXPECT_TRUE(host->Messages().empty());
    cmcGTex::SetMain(previous);
}

INSTANTIATE_TEST_SUITE_P(Names, RecoveryFileNames,
                         ::testing::Values(std::string(), "/home/op/radio.t590",
                                           "/tmp/100% sure #1.t590", "/tmp/ends with blanks  ",
                                           "/tmp/line\nbreak\r.t590",
                                           "/deep/" + std::string(2000, 'x') + ".t590"));

#ifndef _WIN32
// The killed process: a child session edits a file and has its recovery file written; it is
// killed without a chance to clean up; the next session finds the edits and restores them.
TEST_F(RecoveryTest, EditsOfAKilledProcessComeBack) {
    const std::string path = OpenChannelFile();
    cmcEeprom opened;
    opened.CopyFrom(session.WorkingImage());
    session.EndRecovery();  // the child owns the directory now

    QProcess child;
    child.setProgram(QString::fromStdString(RuntimePath("pq-recovery-child")));
    child.setArguments({QString::fromStdString(ResourcePath("")),
                        QString::fromStdString(recoveryDir), QString::fromStdString(path)});
    child.start();
    ASSERT_TRUE(child.waitForStarted(10000)) << RuntimePath("pq-recovery-child");
    while (!child.canReadLine() && child.state() == QProcess::Running)
        child.waitForReadyRead(60000);
    ASSERT_EQ(child.readLine().trimmed().toStdString(), "ready")
        << "child ended with " << child.exitCode() << ": "
        << child.readAllStandardError().toStdString();
    ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
    ASSERT_TRUE(child.waitForFinished(10000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);

    indSession next;
    RecordingViews nextViews;
    next.SetViews(&nextViews);
    next.SetResourceDir(ResourcePath(""));
    next.LoadTemplate();
    ASSERT_TRUE(next.EnableRecovery(recoveryDir)) << "the dead child's lock is taken over";
    ASSERT_TRUE(next.HasEarlierRecovery());
    ASSERT_EQ(next.RestoreRecovery(), 0);
    EXPECT_TRUE(next.IsModified());
    EXPECT_EQ(next.FileName(), path);
    ASSERT_FALSE(nextViews.titles.empty());
    EXPECT_EQ(nextViews.titles.back(), "radio.t590 - PQ-T590");

    cmcEeprom& restored = next.WorkingImage();
    datCh ch(restored.Bytes(), restored.GetSize());
    ch.Load(datCh::kUserCh, 5);
    EXPECT_EQ(ch.rxFreq, 7123400);
    EXPECT_EQ(ch.mode, 4);
    EXPECT_EQ(std::string(ch.comment, 8), "KILLED  ");
    // Nothing but channel 5's record differs from the file the child opened.
    const int first = MemoryMap::kUserChannels + 5 * MemoryMap::kUserChannelSize;
    const int last = first + MemoryMap::kUserChannelSize - 1;
    ASSERT_EQ(restored.GetSize(), opened.GetSize());
    for (int a = 0; a < restored.GetSize(); ++a) {
        if (a < first || a > last) {
            ASSERT_EQ(restored.GetByte(a), opened.GetByte(a)) << "address " << a;
        }
    }
    next.SetViews(nullptr);
}
#endif

}  // namespace
