// The file commands of the session: the question about unsaved changes, New, Open, Save, Save
// As, the title and the recent files.
#include <QFileInfo>

#include "SessionFixture.h"
#include "platform/cmcClock.h"
#include "text/cmcGTex.h"

namespace {

std::string Text(const char* key) {
    return cmcGTex::Main()->Text(key);
}

// The question about unsaved changes of a titled image.
std::string AskToSave(const std::string& name) {
    std::string q = Text("GI_Mess_Confirm_WriteFile");
    return q.replace(q.find("%s"), 2, name);
}

TEST_F(SessionFileTest, StartsUntitledUnmodifiedOnTheTemplate) {
    EXPECT_TRUE(session.IsUntitled());
    EXPECT_FALSE(session.IsModified());
    EXPECT_TRUE(session.WorkingImage().IsEqual(session.TemplateImage()));
    EXPECT_TRUE(session.ReferenceImage().IsEqual(session.TemplateImage()));
    EXPECT_EQ(session.Title(), Title("Untitled"));
    EXPECT_EQ(session.CurrentFileName(), Path("Untitled"));
}

// New and Open on an image without unsaved changes ask nothing (Clone Read: see the e2e tests).
TEST_F(SessionFileTest, CommandsWithoutChangesAskNothing) {
    EXPECT_TRUE(session.FileNew());
    EXPECT_EQ(session.OpenFile(MakeFile("a.t590", "A")), 0);
    EXPECT_EQ(session.ConfirmDiscard(true), indSession::kAnswerYes);
    EXPECT_TRUE(host->Messages().empty());
    EXPECT_TRUE(host->Dialogs().empty());
}

struct DiscardCase {
    const char* name;
    HostAnswer answer;
    int result;
    bool saved;  // the changes reached the open file
};

class Discard : public SessionFileTest, public ::testing::WithParamInterface<DiscardCase> {};

TEST_P(Discard, OpeningAnotherFileAsksWithTheCurrentNameAndYesSavesSilently) {
    const DiscardCase& c = GetParam();
    const std::string a = MakeFile("a.t590", "A");
    const std::string b = MakeFile("b.t590", "B");
    ASSERT_EQ(session.OpenFile(a), 0);
    Edit("CHANGED");
    host->QueueAnswer(c.answer);
    EXPECT_EQ(session.OpenFile(b), c.result);

    ASSERT_EQ(host->Messages().size(), 1u);
    const cmcTestHost::Message& q = host->Messages()[0];
    EXPECT_EQ(q.text, AskToSave("a.t590"));
    EXPECT_EQ(q.caption, Text("GI_Sys_AppTitle"));
    EXPECT_EQ(q.icon, HostIcon::Warning);
    EXPECT_EQ(q.buttons, HostButtons::YesNoCancel);
    EXPECT_TRUE(host->Dialogs().empty());  // Yes saves under the name it has
    EXPECT_EQ(FileComment(a), c.saved ? "CHANGED" : "A");
    if (c.result == 0) {
        EXPECT_EQ(session.FileName(), b);
        EXPECT_EQ(WorkingComment(), "B");
        EXPECT_FALSE(session.IsModified());
    } else {
        EXPECT_EQ(session.FileName(), a);
        EXPECT_EQ(WorkingComment(), "CHANGED");
        EXPECT_TRUE(session.IsModified());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Discard,
    ::testing::Values(DiscardCase{"Yes", HostAnswer::Yes, 0, true},
                      DiscardCase{"No", HostAnswer::No, 0, false},
                      DiscardCase{"Cancel", HostAnswer::Cancel, indSession::kOpenCancelled, false}),
    [](const ::testing::TestParamInfo<DiscardCase>& i) { return std::string(i.param.name); });

struct ReopenCase {
    const char* name;
    const char* reopened;  // the spelling the file is opened with the second time
    bool caseIgnored;      // the file system ignores letter case
};

class Reopen : public SessionFileTest, public ::testing::WithParamInterface<ReopenCase> {};

// Reopening the open file with unsaved changes asks whether to save them to another file; Yes
// shows Save As with the file's name, and the open goes on after the save.
TEST_P(Reopen, TheOpenFileAsksAboutAnotherFileAndYesOffersSaveAs) {
    const ReopenCase& c = GetParam();
    session.SetPathRules(c.caseIgnored ? cmcPathRules::MacOS() : cmcPathRules::Posix());
    const std::string a = MakeFile("Radio.t590", "A");
    ASSERT_EQ(session.OpenFile(a), 0);
    Edit("CHANGED");
    host->QueueAnswer(HostAnswer::Yes);
    const std::string copy = Path("copy.t590");
    host->QueueFileName(copy);
    const std::string again = Path(c.reopened);
    session.OpenFile(again);

    ASSERT_GE(host->Messages().size(), 1u);
    EXPECT_EQ(host->Messages()[0].text, Text("GI_Mess_Confirm_WriteAnother"));
    ASSERT_EQ(host->Dialogs().size(), 1u);
    EXPECT_TRUE(host->Dialogs()[0].save);
    EXPECT_EQ(host->Dialogs()[0].request.presetName, "Radio.t590");
    EXPECT_EQ(host->Dialogs()[0].request.defaultExtension, "t590");
    EXPECT_EQ(FileComment(copy), "CHANGED");
    EXPECT_EQ(FileComment(a), "A");
}

INSTANTIATE_TEST_SUITE_P(Spellings, Reopen,
                         ::testing::Values(ReopenCase{"SamePath", "Radio.t590", false},
                                           ReopenCase{"OtherCase", "RADIO.T590", true}),
                         [](const ::testing::TestParamInfo<ReopenCase>& i) {
                             return std::string(i.param.name);
                         });

TEST_F(SessionFileTest, AnotherLetterCaseIsAnotherFileWhereTheFileSystemTellsThemApart) {
    session.SetPathRules(cmcPathRules::Posix());
    ASSERT_EQ(session.OpenFile(MakeFile("Radio.t590", "A")), 0);
    Edit();
    host->QueueAnswer(HostAnswer::Cancel);
    session.OpenFile(Path("RADIO.T590"));
    ASSERT_EQ(host->Messages().size(), 1u);
    EXPECT_EQ(host->Messages()[0].text, AskToSave("Radio.t590"));
}

TEST_F(SessionFileTest, SaveAsCancelledInsideTheQuestionCancelsTheOpen) {
    Edit("UNSAVED");  // untitled: Yes means Save As
    host->QueueAnswer(HostAnswer::Yes);
    host->QueueFileName("");  // the dialog is cancelled
    EXPECT_EQ(session.OpenFile(MakeFile("b.t590", "B")), indSession::kOpenCancelled);
    // Data never saved has no file to be saved to: the question names none.
    ASSERT_EQ(host->Messages().size(), 1u);
    EXPECT_EQ(host->Messages()[0].text, Text("GI_Mess_Confirm_SaveChanges"));
    EXPECT_EQ(host->Messages()[0].text.find("Untitled"), std::string::npos);
    ASSERT_EQ(host->Dialogs().size(), 1u);
    EXPECT_EQ(host->Dialogs()[0].request.presetName, "Untitled");
    EXPECT_EQ(host->Dialogs()[0].request.initialDir, dir.path().toStdString());
    EXPECT_TRUE(session.IsUntitled());
    EXPECT_TRUE(session.IsModified());
    EXPECT_EQ(WorkingComment(), "UNSAVED");
}

TEST_F(SessionFileTest, NewAfterNoTakesTheTemplateUntitledAndRebuildsTheSheet) {
    ASSERT_EQ(session.OpenFile(MakeFile("a.t590", "A")), 0);
    Edit();
    const int closed = views.sheetsClosed;
    host->QueueAnswer(HostAnswer::No);
    EXPECT_TRUE(session.FileNew());
    EXPECT_TRUE(session.WorkingImage().IsEqual(session.TemplateImage()));
    EXPECT_TRUE(session.IsUntitled());
    EXPECT_FALSE(session.IsModified());
    EXPECT_EQ(views.Title(), Title("Untitled"));
    EXPECT_GT(views.sheetsClosed, closed);
}

TEST_F(SessionFileTest, TheTitleFollowsTheFileAndItsChanges) {
    EXPECT_EQ(views.Title(), Title("Untitled"));
    ASSERT_EQ(session.OpenFile(MakeFile("radio1", "A")), 0);
    EXPECT_EQ(views.Title(), Title("radio1"));
    Edit();
    EXPECT_TRUE(session.IsModified());
    host->QueueFileName(Path("radio2.t590"));
    EXPECT_EQ(session.FileSaveAs(), 0);
    EXPECT_EQ(views.Title(), Title("radio2.t590"));
    EXPECT_EQ(session.LastDirectory(), dir.path().toStdString());
}

TEST_F(SessionFileTest, SavingWritesTheCommentWithoutControlBytesOrTrailingBlanks) {
    const uint8_t comment[MemoryMap::kCommentLength] = {'A', 'B', 'C', 0x01, 0x7F, ' ', 0x0A, ' ',
                                                        ' ', ' ', ' ', ' ',  ' ',  ' ', ' ',  ' '};
    session.WorkingImage().WriteBlock(MemoryMap::kComment, comment, MemoryMap::kCommentLength);
    const std::string path = Path("abc.t590");
    EXPECT_EQ(session.SaveFile(path), 0);
    EXPECT_EQ(FileComment(path), "ABC");
    EXPECT_FALSE(session.IsModified());
    EXPECT_EQ(session.FileName(), path);
}

TEST_F(SessionFileTest, SaveOfAnUntitledImageAsksForAName) {
    Edit();
    host->QueueFileName(Path("named.t590"));
    session.FileSave();
    ASSERT_EQ(host->Dialogs().size(), 1u);
    EXPECT_TRUE(host->Dialogs()[0].save);
    EXPECT_EQ(session.FileName(), Path("named.t590"));
    // Once named, Save writes to the name without a dialog.
    Edit("AGAIN");
    session.FileSave();
    EXPECT_EQ(host->Dialogs().size(), 1u);
    EXPECT_EQ(FileComment(Path("named.t590")), "AGAIN");
}

TEST_F(SessionFileTest, AFailedOpenLeavesImageNameAndModifiedFlagAsTheyWere) {
    ASSERT_EQ(session.OpenFile(MakeFile("a.t590", "A")), 0);
    Edit("KEPT");
    host->QueueAnswer(HostAnswer::No);
    QFile broken(QString::fromStdString(Path("broken.t590")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a clone file\n");
    broken.close();
    EXPECT_NE(session.OpenFile(Path("broken.t590")), 0);
    EXPECT_EQ(WorkingComment(), "KEPT");
    EXPECT_EQ(session.FileName(), Path("a.t590"));
    EXPECT_TRUE(session.IsModified());
    EXPECT_EQ(session.RecentFileText(0, true), Path("a.t590"));
    EXPECT_FALSE(host->Busy());  // the normal cursor is back
}

TEST_F(SessionFileTest, AFailedSaveLeavesNameAndModifiedFlagAsTheyWere) {
    ASSERT_EQ(session.OpenFile(MakeFile("a.t590", "A")), 0);
    Edit();
    EXPECT_NE(session.SaveFile(Path("no/such/dir/x.t590")), 0);
    EXPECT_EQ(session.FileName(), Path("a.t590"));
    EXPECT_TRUE(session.IsModified());
}

TEST_F(SessionFileTest, RecentFilesPutTheLatestFirstByNameInTheCurrentDirectory) {
    const std::string a = MakeFile("a.t590", "A");
    const std::string b = MakeFile("b.t590", "B");
    ASSERT_EQ(session.OpenFile(a), 0);
    ASSERT_EQ(session.OpenFile(b), 0);
    ASSERT_EQ(session.OpenFile(a), 0);
    EXPECT_EQ(session.RecentFileText(0, false), "a.t590");
    EXPECT_EQ(session.RecentFileText(1, false), "b.t590");
    EXPECT_EQ(session.RecentFileText(1, true), b);
    EXPECT_EQ(session.RecentFileText(2, true), "");
}

TEST_F(SessionFileTest, CheckModifiedFollowsTheSavedImageAndUpdatesTheTitleOnce) {
    EXPECT_FALSE(session.CheckModified());
    const size_t titles = views.titles.size();
    Edit();
    EXPECT_TRUE(session.IsModified());
    EXPECT_EQ(views.titles.size(), titles + 1);
    Edit("OTHER");
    EXPECT_EQ(views.titles.size(), titles + 1);  // already marked
    session.MarkSaved();
    EXPECT_FALSE(session.IsModified());
}

// The tree's marks follow 250 ms after the last edit, not before; a further edit postpones them.
TEST_F(SessionFileTest, TheDelayedWarningCheckRuns250MsAfterTheLastEdit) {
    struct ManualTime {
        ManualTime() { cmcClock::SetManual(1000); }
        ~ManualTime() { cmcClock::SetAutomatic(); }
    } time;
    EXPECT_FALSE(session.RunDueWarningCheck());
    session.ScheduleWarningCheck();
    cmcClock::Advance(200);
    EXPECT_FALSE(session.RunDueWarningCheck());
    session.ScheduleWarningCheck();  // another edit
    cmcClock::Advance(249);
    EXPECT_FALSE(session.RunDueWarningCheck());
    EXPECT_EQ(views.marksShown, 0);
    cmcClock::Advance(1);
    EXPECT_TRUE(session.RunDueWarningCheck());
    EXPECT_EQ(views.marksShown, 1);
    EXPECT_FALSE(session.RunDueWarningCheck());  // once
    EXPECT_TRUE(views.markedErrors.empty());     // the default radio is clean
}

TEST_F(SessionFileTest, CommandLineModesAndTheirMark) {
    session.ReadCommandLine({"pqt590", "/EXPERT", "/gene"});
    EXPECT_TRUE(session.ExpertMode());
    EXPECT_TRUE(session.GeneralCoverageMode());
    EXPECT_EQ(session.MarkText(), Text("GI_StatusPanel_Expert") + "[ GENE ]");
    session.ReadCommandLine({"pqt590"});
    EXPECT_FALSE(session.ExpertMode());
    EXPECT_TRUE(session.MarkText().empty());
}

}  // namespace
