// Menu, tool-bar and tree commands: what Enter runs, and the state an update reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SettingsBehaveTest.h"
#include "memory/datClipCh.h"
#include "platform/cmcHost.h"

using namespace ConvTest;

namespace {

class BehaveCommand : public SettingsBehaveTest {
protected:
    struct State {
        bool checked = false;
        bool hidden = false;
        bool disabled = false;
        bool replaced = false;
        std::string text;
    };

    // Runs a command cell with Enter and returns what the controller was asked to do.
    std::vector<std::string> Enter(int label, int argument, const char* argText = nullptr,
                                   int category = CT_Null) {
        main_->ClearCommandLog();
        cmcCellObj cell;
        cell.category = category;
        cell.label = label;
        cell.argument = argument;
        if (argText != nullptr)
            cell.argText = argText;
        const Result r = RunCell(Display(), cell, kKeyEnter);
        EXPECT_EQ(r.action, kActNone);
        return main_->CommandLog();
    }

    // An update as the menus and the tool bar ask it: key 0, state bits preset as given.
    State Update(int label, int argument, uint8_t presetState = 0, int category = CT_Null,
                 cmcCellCapsule* parent = nullptr) {
        cmcCellObj cell;
        cell.category = category;
        cell.label = label;
        cell.argument = argument;
        cell.state = presetState;
        cell.SetText("Caption");
        cmcCellCapsule c;
        c.parent = parent;
        RunCell(c, cell);
        State s;
        s.checked = (cell.state & cmcCellObj::kChecked) != 0;
        s.hidden = (cell.state & cmcCellObj::kHidden) != 0;
        s.disabled = (cell.state & cmcCellObj::kDisabled) != 0;
        s.replaced = (cell.state & cmcCellObj::kTextReplaced) != 0;
        s.text = cell.GetText();
        return s;
    }

    Result RunCell(cmcCellCapsule c, cmcCellObj& cell, int key) {
        c.key = key;
        return SettingsBehaveTest::RunCell(c, cell);
    }
    using SettingsBehaveTest::RunCell;
};

using Log = std::vector<std::string>;

TEST_F(BehaveCommand, EnterRunsTheCommand) {
    main_->SetCanPrintOpenSheet(true);
    struct Row {
        int label;
        int argument;
        Log expected;
    };
    const Row rows[] = {
        {CL_Menu_File_New, 0, {"FileNew"}},
        {CL_Menu_File_Open, 0, {"FileOpen"}},
        {CL_Menu_File_SaveAs, 0, {"FileSaveAs"}},
        {CL_Menu_File_Print_Current, 0, {"Print current"}},
        {CL_Menu_File_Print_All, 0, {"Print all"}},
        {CL_Menu_File_Exit, 0, {"CloseMainWindow"}},
        {CL_Menu_Clone_Read, 0, {"CloneRead"}},
        {CL_Menu_Clone_Write, 0, {"CloneWrite"}},
        {CL_Menu_Clone_Info, 0, {"CloneInfo"}},
        {CL_Menu_View_FontSize, 150, {"FontSize 150", "CloseSheet"}},
        {CL_Menu_View_ToolBar, 0, {"ToolBar hidden"}},
        {CL_Menu_Port_Com, 3, {"ComPort 3"}},
        {CL_Help_Contents,
         0,
         {"ShowHelp " + cmcHost::Instance().ExecutableDir() + "help/index.html"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(LabelName(row.label));
        EXPECT_EQ(Enter(row.label, row.argument), row.expected);
    }
}

TEST_F(BehaveCommand, OtherKeysRunNothing) {
    for (int label : {CL_Menu_File_New, CL_Menu_Clone_Write, CL_Menu_File_Exit, CallSheet}) {
        SCOPED_TRACE(LabelName(label));
        main_->ClearCommandLog();
        cmcCellObj cell;
        cell.label = label;
        cell.argText = "St_Common";
        for (int key : {0, int('a'), int(kKeySpace), int(kKeyBackspace)})
            RunCell(Key(key), cell);
        EXPECT_TRUE(main_->CommandLog().empty());
    }
}

TEST_F(BehaveCommand, DoubleClickCountsAsEnter) {
    main_->ClearCommandLog();
    cmcCellObj cell;
    cell.label = CL_Menu_Clone_Read;
    RunCell(Key(kKeyDoubleClick), cell);
    EXPECT_EQ(main_->CommandLog(), Log{"CloneRead"});
}

TEST_F(BehaveCommand, SaveChoosesSaveAsForAnUntitledImage) {
    EXPECT_EQ(Enter(CL_Menu_File_Save, 0), Log{"FileSaveAs"});
    main_->SetFileName("/data/radio1.t590");
    EXPECT_EQ(Enter(CL_Menu_File_Save, 0), Log{"SaveFile /data/radio1.t590"});
}

TEST_F(BehaveCommand, TreeCellsOpenTheirSheet) {
    EXPECT_EQ(Enter(CallSheet, 0, "St_Common:Extra"), Log{"OpenSheet St_Common:Extra"});
    EXPECT_EQ(Enter(CallSheet, 0), Log{});  // no argument text: nothing to open
}

TEST_F(BehaveCommand, AboutIsPostedAndThePortChangeSent) {
    Enter(CL_Help_About, 0);
    EXPECT_TRUE(EventsOf(cmcEvKind::ShowAbout).empty());  // posted: not yet delivered
    events_.RunPass();
    EXPECT_EQ(EventsOf(cmcEvKind::ShowAbout).size(), 1u);

    Enter(CL_Menu_Port_Com, 2);
    EXPECT_EQ(EventsOf(cmcEvKind::CommandSetChanged).size(), 1u);  // sent at once
    EXPECT_EQ(main_->ComPortSetting(), 2);
}

TEST_F(BehaveCommand, CheckMarksFollowTheSettings) {
    main_->SetComPortSetting(2);
    EXPECT_TRUE(Update(CL_Menu_Port_Com, 2).checked);
    // The tool bar does not clear the bits before asking: a stale check mark must go.
    EXPECT_FALSE(Update(CL_Menu_Port_Com, 1, cmcCellObj::kChecked).checked);

    main_->SetFontSizeSetting(125);
    EXPECT_TRUE(Update(CL_Menu_View_FontSize, 125).checked);
    EXPECT_FALSE(Update(CL_Menu_View_FontSize, 100, cmcCellObj::kChecked).checked);

    EXPECT_TRUE(Update(CL_Menu_View_ToolBar, 0).checked);
    main_->ToggleToolBar();
    EXPECT_FALSE(Update(CL_Menu_View_ToolBar, 0, cmcCellObj::kChecked).checked);
}

TEST_F(BehaveCommand, PrintCurrentNeedsAPrintableSheet) {
    main_->SetCanPrintOpenSheet(false);
    EXPECT_TRUE(Update(CL_Menu_File_Print_Current, 0).disabled);
    EXPECT_EQ(Enter(CL_Menu_File_Print_Current, 0), Log{});
    main_->SetCanPrintOpenSheet(true);
    EXPECT_FALSE(Update(CL_Menu_File_Print_Current, 0, cmcCellObj::kDisabled).disabled);
    EXPECT_FALSE(Update(CL_Menu_File_Print_All, 0).disabled);
}

TEST_F(BehaveCommand, RecentFileEntries) {
    main_->SetRecentFile(0, "radio1.t590", "/data/radio1.t590");
    main_->SetRecentFile(1, "/other/R&D.t590", "/other/R&D.t590");

    const State first = Update(CL_Menu_File_Recent, 0);
    EXPECT_FALSE(first.disabled);
    EXPECT_FALSE(first.hidden);
    EXPECT_TRUE(first.replaced);
    EXPECT_EQ(first.text, "&1 radio1.t590");
    // A file name's own "&" is shown, not taken as a shortcut mark.
    EXPECT_EQ(Update(CL_Menu_File_Recent, 1).text, "&2 /other/R&&D.t590");

    // Entry 2 without a file is hidden and disabled; entry 0 without a file is shown disabled.
    const State empty2 = Update(CL_Menu_File_Recent, 2);
    EXPECT_TRUE(empty2.hidden);
    EXPECT_TRUE(empty2.disabled);
    EXPECT_FALSE(empty2.replaced);
    EXPECT_EQ(empty2.text, "Caption");
    main_->SetRecentFile(0, "", "");
    const State empty0 = Update(CL_Menu_File_Recent, 0, cmcCellObj::kTextReplaced);
    EXPECT_FALSE(empty0.hidden);
    EXPECT_TRUE(empty0.disabled);
    EXPECT_FALSE(empty0.replaced);

    // Enter opens the full path; an empty slot opens nothing.
    EXPECT_EQ(Enter(CL_Menu_File_Recent, 1), Log{"OpenFile /other/R&D.t590"});
    EXPECT_EQ(Enter(CL_Menu_File_Recent, 0), Log{});
    EXPECT_EQ(Enter(CL_Menu_File_Recent, 7), Log{});
}

TEST_F(BehaveCommand, EditMenuGetsNoItemOnlyWhileEmpty) {
    main_->ClearCommandLog();
    Update(CL_Menu_Edit_Top, 0);  // no Edit menu at all
    EXPECT_TRUE(main_->CommandLog().empty());
    main_->SetMainMenuItemCount(CL_Menu_Edit_Top, 0);
    Update(CL_Menu_Edit_Top, 0);
    EXPECT_EQ(main_->CommandLog(), Log{"Mirror 33 GI_PMenu_NoItem"});
    main_->ClearCommandLog();
    main_->SetMainMenuItemCount(CL_Menu_Edit_Top, 1);  // filled: repeated refreshes add nothing
    Update(CL_Menu_Edit_Top, 0);
    Update(CL_Menu_Edit_Top, 0);
    EXPECT_TRUE(main_->CommandLog().empty());
}

TEST_F(BehaveCommand, NoItemIsShownOnlyAsTheEditMenusOnlyItem) {
    struct Row {
        int count;  // items of the Edit menu, -1 none
        bool hidden;
    };
    for (const Row& row : {Row{-1, true}, Row{0, true}, Row{1, false}, Row{4, true}}) {
        SCOPED_TRACE(row.count);
        main_->SetMainMenuItemCount(CL_Menu_Edit_Top, row.count);
        const State s = Update(CL_PMenu_NoItem, 0, 0, CT_PopupMenu);
        EXPECT_TRUE(s.disabled);
        EXPECT_EQ(s.hidden, row.hidden);
    }
}

TEST_F(BehaveCommand, PopupItemStatesFollowTheRecordKindOfTheMenusCell) {
    // The menu belongs to a cell of the sheet; its record kind decides.
    struct Row {
        int ownerCategory;
        bool rowEditsAllowed;
    };
    for (const Row& row : {Row{CT_UserCh, true}, Row{CT_DscRxTx, true}, Row{CT_ModeReg, false},
                           Row{CT_DscCate, false}, Row{CT_Null, false}}) {
        SCOPED_TRACE(CategoryName(row.ownerCategory));
        cmcCellObj owner;
        owner.category = row.ownerCategory;
        owner.label = CL_Null;
        owner.argument = 1;
        cmcCellCapsule parent;
        parent.cell = &owner;
        for (int label : {CL_PMenu_CarryUp, CL_PMenu_CarryDown, CL_PMenu_Clear, CL_PMenu_Delete,
                          CL_PMenu_Insert}) {
            EXPECT_EQ(Update(label, 0, 0, CT_PopupMenu, &parent).disabled, !row.rowEditsAllowed)
                << LabelName(label);
        }
    }
}

TEST_F(BehaveCommand, PasteNeedsClipboardRecordsOfTheSameKind) {
    cmcCellObj owner;
    owner.category = CT_ItuCh;
    owner.label = CL_ICh_Freq;
    owner.argument = 4;
    cmcCellCapsule parent;
    parent.cell = &owner;
    EXPECT_TRUE(Update(CL_PMenu_Paste, 0, 0, CT_PopupMenu, &parent).disabled);
    main_->Clipboard().Copy(image_, datCh::kItuCh, 0, 2);
    EXPECT_FALSE(Update(CL_PMenu_Paste, 0, cmcCellObj::kDisabled, CT_PopupMenu, &parent).disabled);
    owner.category = CT_EMail;
    EXPECT_TRUE(Update(CL_PMenu_Paste, 0, 0, CT_PopupMenu, &parent).disabled);
}

}  // namespace
