// Undo and redo of every kind of change to the working image, made through the cells'
// behaviour with real capsules: the image, the modified flag and the title after every step.
#include <gtest/gtest.h>

#include <QUndoStack>

#include "SessionTest.h"

namespace {

using Image = std::vector<uint8_t>;

// One kind of change: how it is made on the channel file, what it must have done, and the name
// its step carries in the Edit menu.
struct Change {
    const char* name;
    void (*make)(SessionTest&);
    bool (*happened)(SessionTest&);
    const char* step;
};

void PrintTo(const Change& c, std::ostream* os) {
    *os << c.name;
}

class UndoEveryChange : public SessionTest, public ::testing::WithParamInterface<Change> {
public:
    // The state the session must be in with image `image`: modified exactly when it is not the
    // saved one, and the title announced again with the file's name.
    void ExpectState(const Image& image, bool modified, size_t titlesBefore) {
        EXPECT_EQ(Bytes(), image);
        EXPECT_EQ(session.IsModified(), modified);
        ASSERT_GT(views.titles.size(), titlesBefore) << "the title was not refreshed";
        EXPECT_EQ(views.titles.back(), "radio.t590 - " + std::string("PQ-T590"));
        EXPECT_EQ(session.Title(), views.titles.back());
    }
};

TEST_P(UndoEveryChange, UndoRestoresTheSavedImageAndRedoTheChange) {
    const Change& c = GetParam();
    OpenChannelFile();
    const Image saved = Bytes();
    EXPECT_FALSE(session.CanUndo());
    EXPECT_EQ(session.UndoText(), "");

    c.make(*this);
    ASSERT_TRUE(c.happened(*this)) << "the change was not made";
    const Image changed = Bytes();
    ASSERT_NE(changed, saved);
    EXPECT_TRUE(session.IsModified());
    EXPECT_EQ(session.UndoStepCount(), 1);
    EXPECT_EQ(session.UndoText(), std::string("Undo ") + c.step);
    EXPECT_FALSE(session.CanRedo());

    size_t titles = views.titles.size();
    const int changes = views.imageChanges;
    events.RunPass();
    posted.clear();
    RunWarningCheckNow();
    ASSERT_TRUE(session.Undo());
    ExpectState(saved, false, titles);
    EXPECT_EQ(views.imageChanges, changes + 1);
    EXPECT_EQ(views.undoTextSeen, "") << "the views are told when the history has moved";
    EXPECT_EQ(views.redoTextSeen, std::string("Redo ") + c.step);
    EXPECT_TRUE(session.WarningCheckPending());
    EXPECT_FALSE(session.CanUndo());
    EXPECT_EQ(session.RedoText(), std::string("Redo ") + c.step);
    events.RunPass();
    EXPECT_EQ(Posted(cmcEvKind::RepaintAll), 1) << "every sheet cell repaints";

    titles = views.titles.size();
    RunWarningCheckNow();
    ASSERT_TRUE(session.Redo());
    ExpectState(changed, true, titles);
    EXPECT_TRUE(session.WarningCheckPending());
    EXPECT_EQ(session.UndoText(), std::string("Undo ") + c.step);
    EXPECT_FALSE(session.CanRedo());

    // Undo and redo again: the step stays the same both ways.
    titles = views.titles.size();
    ASSERT_TRUE(session.Undo());
    ExpectState(saved, false, titles);
    titles = views.titles.size();
    ASSERT_TRUE(session.Redo());
    ExpectState(changed, true, titles);
    EXPECT_FALSE(session.Redo());
}

// Channel 5 as the channel file has it.
bool Channel5Is(SessionTest& t, int32_t rx, const char* comment) {
    const datCh ch = t.UserChannel(5);
    return ch.IsUsed() && ch.rxFreq == rx && std::string(ch.comment, 8) == comment;
}

INSTANTIATE_TEST_SUITE_P(
    Session, UndoEveryChange,
    ::testing::Values(
        Change{"TypedFrequency",
               [](SessionTest& t) { t.Type(CT_UserCh, CL_UCh_FreqR, 5, "7100.5"); },
               [](SessionTest& t) { return t.UserChannel(5).rxFreq == 7100500; }, "typing"},
        Change{
            "TypedComment", [](SessionTest& t) { t.Type(CT_UserCh, CL_UCh_Comment, 5, "HARBOUR"); },
            [](SessionTest& t) { return std::string(t.UserChannel(5).comment, 8) == "HARBOUR "; },
            "typing"},
        Change{"TypedEMailFrequency",
               [](SessionTest& t) { t.Type(CT_EMail, CL_EMail_FreqR, 3, "8414.5"); },
               [](SessionTest& t) {
                   datCh ch(t.session.WorkingImage().Bytes(), t.session.WorkingImage().GetSize());
                   ch.Load(datCh::kEMailCh, 3);
                   return ch.rxFreq == 8414500;
               },
               "typing"},
        Change{"ChosenMode",
               [](SessionTest& t) { t.Choose(CT_UserCh, CL_UCh_Mode, 5, CL_Sel_Mode_U, 4); },
               [](SessionTest& t) { return t.UserChannel(5).mode == 4; }, "choice"},
        Change{"ModeSteppedWithSpace",
               [](SessionTest& t) { t.Press(CT_UserCh, CL_UCh_Mode, 5, kKeySpace); },
               [](SessionTest& t) { return t.UserChannel(5).mode != 1; }, "change"},
        Change{"BitEditedByte", [](SessionTest& t) { t.BitEdit(MemoryMap::kComment, 0x5A); },
               [](SessionTest& t) {
                   return t.session.WorkingImage().GetByte(MemoryMap::kComment) == 0x5A;
               },
               "bit edit"},
        Change{"PastedRow",
               [](SessionTest& t) {
                   t.Row(CL_PMenu_Copy, 2);
                   t.Row(CL_PMenu_Paste, 5);
               },
               [](SessionTest& t) { return Channel5Is(t, 7002000, "CH 2    "); }, "paste"},
        Change{"RowMovedUp", [](SessionTest& t) { t.Row(CL_PMenu_CarryUp, 6); },
               [](SessionTest& t) { return Channel5Is(t, 7006000, "CH 6    "); }, "move up"},
        Change{"RowMovedDown", [](SessionTest& t) { t.Row(CL_PMenu_CarryDown, 4); },
               [](SessionTest& t) { return Channel5Is(t, 7004000, "CH 4    "); }, "move down"},
        Change{"RowsCleared", [](SessionTest& t) { t.Row(CL_PMenu_Clear, 5, 5, 7); },
               [](SessionTest& t) {
                   return !t.UserChannel(5).IsUsed() && !t.UserChannel(7).IsUsed() &&
                          t.UserChannel(8).IsUsed();
               },
               "clear"},
        Change{"RowDeleted", [](SessionTest& t) { t.Row(CL_PMenu_Delete, 5); },
               [](SessionTest& t) { return Channel5Is(t, 7006000, "CH 6    "); }, "delete"},
        Change{"RowInserted", [](SessionTest& t) { t.Row(CL_PMenu_Insert, 5); },
               [](SessionTest& t) {
                   return !t.UserChannel(5).IsUsed() && t.UserChannel(6).rxFreq == 7005000;
               },
               "insert"}),
    [](const ::testing::TestParamInfo<Change>& i) { return std::string(i.param.name); });

TEST_F(SessionTest, EveryStepIsUndoneInTurnBackToTheSavedImage) {
    OpenChannelFile();
    std::vector<Image> states{Bytes()};
    Type(CT_UserCh, CL_UCh_FreqR, 3, "7200");
    states.push_back(Bytes());
    Row(CL_PMenu_Delete, 1);
    states.push_back(Bytes());
    Choose(CT_UserCh, CL_UCh_Mode, 2, CL_Sel_Mode_U, 3);
    states.push_back(Bytes());
    ASSERT_EQ(session.UndoStepCount(), 3);
    EXPECT_EQ(session.UndoText(), "Undo choice");
    for (size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(session.Undo());
        EXPECT_EQ(Bytes(), states[i - 1]) << "after undoing step " << i;
        EXPECT_EQ(session.IsModified(), i - 1 != 0);
    }
    EXPECT_FALSE(session.Undo());
    EXPECT_EQ(session.RedoText(), "Redo typing");
    for (size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(session.Redo());
        EXPECT_EQ(Bytes(), states[i]) << "after redoing step " << i;
        EXPECT_TRUE(session.IsModified());
    }
}

TEST_F(SessionTest, AKeyThatChangesNothingMakesNoStep) {
    OpenChannelFile();
    Type(CT_UserCh, CL_UCh_FreqR, 5, "7005");  // the value it already holds
    Press(CT_UserCh, CL_UCh_FreqR, 5, kKeyEnter);
    Row(CL_PMenu_Copy, 5);
    EXPECT_EQ(session.UndoStepCount(), 0);
    EXPECT_FALSE(session.IsModified());
}

TEST_F(SessionTest, AnEditAfterUndoLeavesNothingToRedo) {
    OpenChannelFile();
    Type(CT_UserCh, CL_UCh_FreqR, 5, "7100");
    ASSERT_TRUE(session.Undo());
    Type(CT_UserCh, CL_UCh_Comment, 5, "NEW");
    EXPECT_FALSE(session.CanRedo());
    EXPECT_EQ(session.UndoStepCount(), 1);
    EXPECT_EQ(session.UndoText(), "Undo typing");
    EXPECT_EQ(UserChannel(5).rxFreq, 7005000);
}

TEST_F(SessionTest, TheViewsNameWhereTheEditWas) {
    OpenChannelFile();
    views.place = "Receive kHz, channel 5";
    Type(CT_UserCh, CL_UCh_FreqR, 5, "7100");
    EXPECT_EQ(session.UndoText(), "Undo typing in Receive kHz, channel 5");
    ASSERT_TRUE(session.Undo());
    EXPECT_EQ(session.RedoText(), "Redo typing in Receive kHz, channel 5");
    EXPECT_EQ(session.UndoStack()->redoText().toStdString(), "typing in Receive kHz, channel 5");
}

// Undoing to the saved image clears the modified flag, and undoing past a save sets it again:
// the flag follows the image, not the count of steps.
TEST_F(SessionTest, ModifiedFollowsTheImageAcrossASave) {
    const std::string path = OpenChannelFile();
    Type(CT_UserCh, CL_UCh_FreqR, 5, "7100");
    ASSERT_EQ(session.SaveFile(path), 0);
    EXPECT_FALSE(session.IsModified());
    Type(CT_UserCh, CL_UCh_FreqR, 6, "7200");
    EXPECT_TRUE(session.IsModified());
    ASSERT_TRUE(session.Undo());
    EXPECT_FALSE(session.IsModified()) << "back at what was saved";
    ASSERT_TRUE(session.Undo());
    EXPECT_TRUE(session.IsModified()) << "before the save";
    EXPECT_EQ(UserChannel(5).rxFreq, 7005000);
    ASSERT_TRUE(session.Redo());
    EXPECT_FALSE(session.IsModified());
    EXPECT_EQ(UserChannel(5).rxFreq, 7100000);
}

// Undo takes back the value an open in-place editor commits when asked to finish.
TEST_F(SessionTest, UndoFirstCommitsTheOpenEditorThenTakesItBack) {
    OpenChannelFile();
    Type(CT_UserCh, CL_UCh_FreqR, 5, "7100");
    struct Editor {
        SessionTest* test;
        bool open = true;
    } editor{this};
    auto commit = [](void* data, const cmcEvent& e) {
        auto* ed = static_cast<Editor*>(data);
        if (e.kind == cmcEvKind::FinishEditing && ed->open) {
            ed->open = false;
            ed->test->Type(CT_UserCh, CL_UCh_Comment, 5, "EDITOR");
        }
    };
    events.AddHandler(commit, &editor);
    ASSERT_TRUE(session.Undo());
    events.RemoveHandler(commit, &editor);
    EXPECT_FALSE(editor.open);
    EXPECT_EQ(std::string(UserChannel(5).comment, 8), "CH 5    ") << "the editor's value undone";
    EXPECT_EQ(UserChannel(5).rxFreq, 7100000) << "the edit before it stays";
    EXPECT_EQ(session.UndoText(), "Undo typing");
    EXPECT_EQ(session.RedoText(), "Redo typing");
}

// A QAction made from the stack drives it directly: the session follows all the same.
TEST_F(SessionTest, DrivingTheStackDirectlyIsFollowed) {
    OpenChannelFile();
    const Image saved = Bytes();
    Row(CL_PMenu_Delete, 2);
    const size_t titles = views.titles.size();
    session.UndoStack()->undo();
    EXPECT_EQ(Bytes(), saved);
    EXPECT_FALSE(session.IsModified());
    EXPECT_GT(views.titles.size(), titles);
    EXPECT_EQ(views.imageChanges, 1);
    EXPECT_EQ(session.UndoStack()->redoText().toStdString(), "delete");
}

// New, Open and Clone Read start a fresh history; Save keeps it.
TEST_F(SessionTest, NewAndOpenStartAFreshHistory) {
    const std::string path = OpenChannelFile();
    Type(CT_UserCh, CL_UCh_FreqR, 5, "7100");
    ASSERT_EQ(session.SaveFile(path), 0);
    EXPECT_TRUE(session.CanUndo()) << "saving keeps the history";

    ASSERT_TRUE(session.FileNew());
    EXPECT_FALSE(session.CanUndo());
    EXPECT_FALSE(session.CanRedo());

    Type(CT_UserCh, CL_UCh_Comment, 1, "X");
    ASSERT_TRUE(session.Undo());
    ASSERT_TRUE(session.CanRedo());
    ASSERT_EQ(session.OpenFile(path), 0);  // nothing unsaved: no question
    EXPECT_FALSE(session.CanUndo());
    EXPECT_FALSE(session.CanRedo());
    EXPECT_TRUE(host->Messages().empty());
}

// Saving normalises the image for writing, which rewrites bytes the edit did not touch (the
// DSC pair numbers follow the pairs' use values): undoing the edit afterwards still gives
// exactly the image before it, and redoing it the image that was saved.
TEST_F(SessionTest, UndoAfterASaveReturnsExactlyToTheImageBeforeTheEdit) {
    const std::string path = OpenChannelFile();
    const Image before = Bytes();
    BitEdit(MemoryMap::kDscPairUse, 1);  // pair 0 in use: it gets a number when written
    const Image edited = Bytes();
    ASSERT_EQ(session.SaveFile(path), 0);
    const Image saved = Bytes();
    ASSERT_NE(saved[MemoryMap::kDscPairNumbers], edited[MemoryMap::kDscPairNumbers])
        << "saving was to rewrite the pair number";
    ASSERT_TRUE(session.Undo());
    EXPECT_EQ(Bytes(), before);
    EXPECT_TRUE(session.IsModified());
    ASSERT_TRUE(session.Redo());
    EXPECT_EQ(Bytes(), saved);
    EXPECT_FALSE(session.IsModified());
}

TEST_F(SessionTest, AChangeWithoutACellIsCommittedUnderItsKind) {
    OpenChannelFile();
    EXPECT_FALSE(session.CommitChange(indSession::UndoStep::Import));
    session.WorkingImage().SetByte(MemoryMap::kComment, 'Z');
    const int scheduledBefore = session.WarningCheckPending() ? 1 : 0;
    EXPECT_EQ(scheduledBefore, 0);
    ASSERT_TRUE(session.CommitChange(indSession::UndoStep::Import, "User channels"));
    EXPECT_EQ(session.UndoText(), "Undo import in User channels");
    EXPECT_TRUE(session.IsModified());
    EXPECT_TRUE(session.WarningCheckPending());
    ASSERT_TRUE(session.Undo());
    EXPECT_FALSE(session.IsModified());
}

}  // namespace
