#include <gtest/gtest.h>

#include "BehaveTestSupport.h"
#include "cells/cmcCellNames.h"
#include "cells/indBehave.h"

using namespace ConvTest;

namespace {

class Dispatch : public BehaveTest {};

struct RedrawLog {
    int calls = 0;
    int criteria = 0;
    static void Callback(void* data, cmcCellCapsule&, int criteria) {
        auto* log = static_cast<RedrawLog*>(data);
        ++log->calls;
        log->criteria = criteria;
    }
};

TEST_F(Dispatch, LabelsWithoutBehaviourShowTheirNumber) {
    for (int label : {int(CL_FBits), int(CL_PMenu_Edit), int(CL_EMail_Mode), int(CL_Deb_Yet)}) {
        const Result r = Show(CT_Null, label, 0);
        EXPECT_EQ(r.text, std::to_string(label) + " *Yet*");
        EXPECT_EQ(r.action, kActNone);
    }
}

TEST_F(Dispatch, NoCellGivesNothing) {
    indActiveCell active(main_.Core());
    cmcCellCapsule c = Key('5');
    EXPECT_EQ(active.Evaluate(c, true), kActNone);
    EXPECT_EQ(indActiveCell(main_.Core()).ActivateCell(nullptr, kKeyEnter), kActNone);
    EXPECT_EQ(main_->WarningChecksScheduled(), 0);
}

TEST_F(Dispatch, TypingOnAReadOnlyCellIsRefusedWithAStatusMessage) {
    const Result r = Press(CT_Null, CL_CannotEdit, 0, 'x');
    EXPECT_EQ(r.key, kKeyDisplay);
    EXPECT_EQ(r.action, kActNone);
    // The key first clears the old message (sent at once), then the refusal is posted.
    ASSERT_EQ(EventsOf(cmcEvKind::StatusMessage).size(), 1u);
    EXPECT_EQ(events[0].text, "");
    EXPECT_EQ(events[0].first, kStatusTextNormal);
    events_.RunPass();
    const std::vector<Event> status = EventsOf(cmcEvKind::StatusMessage);
    ASSERT_EQ(status.size(), 2u);
    EXPECT_EQ(status[1].text, "Cannot edit");
    EXPECT_EQ(status[1].first, kStatusTextAlert);
    EXPECT_EQ(uint32_t(status[1].second), kStatusBackAlert);
    // A refused key is no edit: no warning check, not modified.
    EXPECT_EQ(main_->WarningChecksScheduled(), 0);
    EXPECT_FALSE(main_->IsModified());
}

TEST_F(Dispatch, DisplayRaisesNoStatusAndNoEditHooks) {
    SetChannel(datCh::kUserCh, 3, 7000000, 7000000);
    main_->MarkSaved();
    Show(CT_UserCh, CL_UCh_FreqR, 3);
    events_.RunPass();
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(main_->WarningChecksScheduled(), 0);
}

TEST_F(Dispatch, AnEditSchedulesTheWarningCheckAndMarksModified) {
    const Result r = Type(CT_UserCh, CL_UCh_FreqR, 4, "2182");
    EXPECT_EQ(Load(datCh::kUserCh, 4).rxFreq, 2182000);
    EXPECT_EQ(r.action, kActDone);
    EXPECT_EQ(main_->WarningChecksScheduled(), 1);
    EXPECT_TRUE(main_->IsModified());
}

TEST_F(Dispatch, RedrawCriteriaFollowTheKindOfCell) {
    struct Case {
        int category, label, argument;
        bool notify;
        std::string input;
        int calls, criteria;
    };
    SetEdge(datCh::kTxEdge, 0, 1600000, 29999999);
    const Case cases[] = {
        {CT_Null, CL_Misc_ChNo_1Base, 4, true, "", 1, kCriteriaThisCell},
        {CT_UserCh, CL_UCh_Comment, 4, true, "", 1, kCriteriaThisCell | kCriteriaSameArgument},
        {CT_UserCh, CL_UCh_Comment, 4, false, "", 0, 0},
        // A band edge changes what every frequency cell shows.
        {CT_Edge_Tx, CL_EdgeFreq_High, 0, true, "20000", 1,
         kCriteriaThisCell | kCriteriaSameArgument | kCriteriaAllLabelled},
        // Unchanged edge: no repaint of the others.
        {CT_Edge_Tx, CL_EdgeFreq_High, 0, true, "", 1, kCriteriaThisCell | kCriteriaSameArgument},
    };
    main_->SetExpertMode(true);
    for (const Case& k : cases) {
        RedrawLog log;
        cmcCellCapsule c = k.input.empty() ? Display() : Typed(k.input);
        c.redraw = &RedrawLog::Callback;
        c.redrawData = &log;
        Run(c, k.category, k.label, k.argument, k.notify);
        EXPECT_EQ(log.calls, k.calls) << k.label;
        EXPECT_EQ(log.criteria, k.criteria) << k.label;
    }
}

TEST_F(Dispatch, TypingOnAnEmptyRowMovesToItsFrequencyCell) {
    struct Case {
        int category, label, target;
    };
    const Case cases[] = {
        {CT_UserCh, CL_UCh_Mode, CL_UCh_FreqR},        {CT_UserCh, CL_UCh_Comment, CL_UCh_FreqR},
        {CT_ItuCh, CL_ICh_Mode, CL_ICh_Freq},          {CT_ItuCh, CL_ICh_Comment, CL_ICh_Freq},
        {CT_EMail, CL_EMail_Filt, CL_EMail_FreqR},     {CT_DscId, CL_Dsc_Id_Comment, CL_Dsc_Id_Adr},
        {CT_DscRxTx, CL_Dsc_RxTx_Rx, CL_Dsc_RxTx_Use},
    };
    // Empty records everywhere.
    for (int e = 1; e <= 160; ++e)
        SetChannel(datCh::kUserCh, e, 0, 0);
    for (const Case& k : cases) {
        datCh ch(main_->WorkingImage());
        ch.SetEmpty(RecordKindOf(k.category), 5);
        ch.Save();
        const Result r = Press(k.category, k.label, 5, '7');
        EXPECT_EQ(r.moveRequest, 1) << k.label;
        EXPECT_EQ(r.moveLabel, k.target) << k.label;
        EXPECT_EQ(r.moveArgument, 5) << k.label;
        EXPECT_EQ(r.repeatKey, '7') << k.label;
        EXPECT_EQ(r.text, "") << k.label;
        EXPECT_EQ(r.action, kActNone) << k.label;
    }
}

TEST_F(Dispatch, KeysAboveTypingDoNotRedirect) {
    datCh ch(main_->WorkingImage());
    ch.SetEmpty(datCh::kUserCh, 5);
    ch.Save();
    const Result r = Press(CT_UserCh, CL_UCh_Mode, 5, kKeyF3);
    EXPECT_EQ(r.moveRequest, 0);
    EXPECT_EQ(r.moveLabel, CL_UCh_Mode);  // the move target stays the cell itself
}

TEST_F(Dispatch, RowsAboveTheMaximumChannelShowNoUseAndTakeNoInput) {
    image_[MemoryMap::kMaxUserChannel] = 100;
    SetChannel(datCh::kUserCh, 101, 7000000, 7000000);
    main_->MarkSaved();
    RecordingCanvas canvas;
    cmcCellCapsule c = Display();
    c.canvas = &canvas;
    const Result shown = Run(c, CT_UserCh, CL_UCh_FreqR, 101);
    EXPECT_EQ(shown.text, "No use");
    EXPECT_EQ(shown.alignment, cmcCellCapsule::kAlignCenter);
    EXPECT_EQ(canvas.fontColor, 0xC0C0C0u);
    EXPECT_FALSE(shown.Error());

    const Result typed = Type(CT_UserCh, CL_UCh_FreqR, 101, "2182");
    EXPECT_EQ(typed.text, "No use");
    EXPECT_EQ(Load(datCh::kUserCh, 101).rxFreq, 7000000);
    EXPECT_EQ(Press(CT_UserCh, CL_UCh_FreqR, 101, '2').action, kActNone);
    // Channel 100 is a normal row.
    EXPECT_EQ(Press(CT_UserCh, CL_UCh_FreqR, 100, '2').action, kActEdit);
}

TEST_F(Dispatch, PopupEditActsAsEnter) {
    SetChannel(datCh::kUserCh, 2, 7000000, 7000000);
    cmcCellCapsule c = Key(kKeyDisplay);
    c.command = CL_PMenu_Edit;
    const Result r = Run(c, CT_UserCh, CL_UCh_FreqR, 2);
    EXPECT_EQ(r.action, kActEdit);
    EXPECT_EQ(r.text, "7000.0");
}

TEST_F(Dispatch, PopupCommandsWorkOnOneItuBand) {
    for (int e = 0; e < 72; ++e)
        SetChannel(datCh::kItuCh, e, 4000000 + e * 1000, 0);
    main_->MarkSaved();
    cmcCellCapsule c = Key(kKeyDisplay);
    c.command = CL_PMenu_Clear;
    c.rangeFlags = kRangeSelected;
    c.rangeLow = 0;
    c.rangeHigh = 71;
    const Result r = Run(c, CT_ItuCh, CL_ICh_Freq, 12);
    EXPECT_EQ(r.key, kKeyDisplay);
    EXPECT_EQ(r.text, "");  // no label step
    for (int e = 0; e < 72; ++e)
        EXPECT_EQ(Load(datCh::kItuCh, e).IsUsed(), e < 9 || e > 17) << e;
    EXPECT_EQ(main_->WarningChecksScheduled(), 1);
    EXPECT_TRUE(main_->IsModified());
}

TEST_F(Dispatch, PopupCopyTakesTheListBoundsOfTheRecordKind) {
    image_[MemoryMap::kMaxUserChannel] = 20;
    cmcCellCapsule c = Key(kKeyDisplay);
    c.command = CL_PMenu_Copy;
    c.rangeFlags = kRangeSelected;
    c.rangeLow = 15;
    c.rangeHigh = 40;
    Run(c, CT_UserCh, CL_UCh_FreqR, 15);
    EXPECT_EQ(main_->Clipboard().Kind(), datCh::kUserCh);
    EXPECT_EQ(main_->Clipboard().FirstEntry(), 15);
    EXPECT_EQ(main_->Clipboard().Count(), 6);  // 15..20

    // A row outside the list copies nothing.
    main_->Clipboard().Clear();
    c.rangeFlags = 0;
    Run(c, CT_UserCh, CL_UCh_FreqR, 21);
    EXPECT_EQ(main_->Clipboard().Kind(), 0);
}

TEST_F(Dispatch, PopupCommandsOnDscIdentitiesRepaintTheAddressColumn) {
    cmcCellCapsule c = Key(kKeyDisplay);
    c.command = CL_PMenu_Copy;
    Run(c, CT_DscId, CL_Dsc_Id_Comment, 3);
    events_.RunPass();
    const std::vector<Event> repaint = EventsOf(cmcEvKind::RepaintLabel);
    ASSERT_EQ(repaint.size(), 1u);
    EXPECT_EQ(repaint[0].second, CL_Dsc_Id_Adr);
}

TEST_F(Dispatch, PopupMenuItemsUseTheRecordOfTheMenusCell) {
    cmcCellObj owner;
    owner.category = CT_UserCh;
    owner.label = CL_UCh_FreqR;
    owner.argument = 42;
    cmcCellCapsule parent;
    parent.cell = &owner;
    cmcCellCapsule c = Display();
    c.parent = &parent;
    RedrawLog log;
    c.redraw = &RedrawLog::Callback;
    c.redrawData = &log;
    const Result r = Run(c, CT_PopupMenu, CL_Misc_ChNo_0Base, 0, true);
    EXPECT_EQ(r.text, "42");
    EXPECT_EQ(log.criteria, kCriteriaThisCell | kCriteriaSameArgument);
}

TEST_F(Dispatch, MarkQueriesWithoutASheet) {
    SetChannel(datCh::kUserCh, 7, 7000000, 7000000);
    SetChannel(datCh::kUserCh, 8, 20000, 7000000);  // below the receive edge
    EXPECT_FALSE(indActiveCell(main_.Core()).ErrorMarkOf(CT_UserCh, CL_UCh_FreqR, 7));
    EXPECT_TRUE(indActiveCell(main_.Core()).ErrorMarkOf(CT_UserCh, CL_UCh_FreqR, 8));
    EXPECT_FALSE(indActiveCell(main_.Core()).NoticeMarkOf(CT_UserCh, CL_UCh_FreqR, 8));
    // On another image than the working one.
    cmcEeprom other;
    other.CopyFrom(main_->WorkingImage());
    datCh ch(other);
    ch.Load(datCh::kUserCh, 8);
    ch.rxFreq = 7000000;
    ch.Save();
    EXPECT_FALSE(indActiveCell(main_.Core(), &other).ErrorMarkOf(CT_UserCh, CL_UCh_FreqR, 8));
    EXPECT_TRUE(indActiveCell(main_.Core()).ErrorMarkOf(CT_UserCh, CL_UCh_FreqR, 8));
}

TEST_F(Dispatch, ActivateCellRunsTheKeyWithoutNotification) {
    SetChannel(datCh::kUserCh, 2, 7000000, 7000000);
    cmcCellObj cell;
    cell.category = CT_UserCh;
    cell.label = CL_UCh_Comment;
    cell.argument = 2;
    // Without a grid no editor opens; the key still counts as an edit request.
    EXPECT_EQ(indActiveCell(main_.Core()).ActivateCell(&cell, kKeyEnter), kActNone);
    EXPECT_EQ(main_->WarningChecksScheduled(), 1);
}

}  // namespace

namespace {

// The marks a query reports are those a sheet draws, over a table of mixed rows.
TEST_F(Dispatch, MarkQueriesAgreeWithTheSheet) {
    image_[MemoryMap::kMaxUserChannel] = 120;
    SetEdge(datCh::kTxEdge, 0, 2000000, 9000000);
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) & 0xFFFF;
    };
    const int32_t freqs[] = {-1, 20000, 1000000, 2182000, 8000000, 12000000, 29999900};
    for (int n = 1; n <= 160; ++n) {
        datCh ch(image_);
        ch.SetEmpty(datCh::kUserCh, n);
        ch.flags = 0;
        const int32_t rx = freqs[next() % 7];
        const int32_t tx = freqs[next() % 7];
        if (rx < 0)
            ch.flags |= datCh::kRxBlank;
        ch.rxFreq = rx < 0 ? 0 : rx;
        if (tx < 0)
            ch.flags |= datCh::kTxBlank;
        ch.txFreq = tx < 0 ? 0 : tx;
        ch.mode = uint8_t(next() % 6);
        ch.Save();
    }
    image_[MemoryMap::kModeEnable + 4] = 0;
    RecordingCanvas canvas;
    cmcCellRect rect{0, 0, 80, 20};
    int errors = 0;
    for (int n = 1; n <= 160; ++n) {
        for (int label : {int(CL_UCh_FreqR), int(CL_UCh_FreqT), int(CL_UCh_Mode)}) {
            cmcCellCapsule c = Key(kKeyDisplay);  // a sheet's paint request
            c.canvas = &canvas;
            c.cellRect = &rect;
            const bool drawn = Run(c, CT_UserCh, label, n).Error();
            EXPECT_EQ(indActiveCell(main_.Core()).ErrorMarkOf(CT_UserCh, label, n), drawn)
                << n << " " << label;
            errors += drawn;
        }
    }
    EXPECT_GT(errors, 20);  // the table holds plenty of faults, and rows above 120 none
}

}  // namespace

namespace {

// Arguments and labels outside every table come from a faulty resource file; they show something
// harmless and touch nothing.
TEST_F(Dispatch, ArgumentsOutsideTheTablesTouchNothing) {
    std::vector<uint8_t> before(image_, image_ + MemoryMap::kImageSize);
    struct Case {
        int category, label, argument;
    };
    const Case cases[] = {
        {CT_UserCh, CL_UCh_FreqR, -1},
        {CT_UserCh, CL_UCh_FreqT, 100000},
        {CT_ItuCh, CL_ICh_Freq, -9},
        {CT_ItuCh, CL_ICh_Mode, 72},
        {CT_EMail, CL_EMail_FreqR, 160},
        {CT_Edge_Tx, CL_EdgeFreq_Low, 11},
        {CT_Edge_Itu, CL_EdgeFreq_High, -1},
        {CT_Null, 500, 0},
        {CT_Null, -4, 0},
    };
    for (const Case& k : cases) {
        for (int key : {int(kKeyDisplay), int('5'), int(kKeyEnter), int(kKeySpace)})
            Press(k.category, k.label, k.argument, key);
        Type(k.category, k.label, k.argument, "7000");
        cmcCellCapsule c = Key(kKeyDisplay);
        c.command = CL_PMenu_Clear;
        Run(c, k.category, k.label, k.argument);
        for (int a = 0; a < MemoryMap::kImageSize; ++a)
            ASSERT_EQ(image_[a], before[size_t(a)])
                << "address " << std::hex << a << " after " << std::dec << k.category << "."
                << k.label << "[" << k.argument << "]";
    }
    EXPECT_EQ(Show(CT_Null, 500, 0).text, "500 *Yet*");
}

TEST_F(Dispatch, AnUnknownCategoryIsAProgramError) {
    EXPECT_THROW(Show(20, CL_Null, 0), cmcFatalError);
}

}  // namespace

namespace {

TEST(HeadlessMain, ModifiedFollowsTheSavedImageUntilSavedAgain) {
    ScopedTestHost host;
    ScopedHeadlessMain main;
    EXPECT_TRUE(main->CheckModified());  // nothing saved yet: the images differ in size
    main->MarkSaved();
    EXPECT_FALSE(main->CheckModified());
    main->WorkingImage().SetByte(MemoryMap::kTxMeter, 1);
    EXPECT_TRUE(main->CheckModified());
    // Undoing the edit by hand does not make the image unmodified; saving does.
    main->WorkingImage().SetByte(MemoryMap::kTxMeter, 0);
    EXPECT_TRUE(main->CheckModified());
    main->MarkSaved();
    EXPECT_FALSE(main->IsModified());

    const uint8_t info[30] = {1, 0x21, 2, 'A'};
    main->SetCloneInfo(info, 30);  // more than the block: cut
    EXPECT_EQ(main->CloneInfo()[1], 0x21);
    EXPECT_EQ(main->CloneInfo()[3], 'A');
    main->SetCloneInfo(info, 2);
    EXPECT_EQ(main->CloneInfo()[3], 0);
    EXPECT_EQ(main->TemplateImage().GetSize(), MemoryMap::kImageSize);
    EXPECT_EQ(main->ReferenceImage().GetSize(), MemoryMap::kImageSize);
}

}  // namespace
