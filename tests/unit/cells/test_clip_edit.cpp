#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cells/cmcCellCapsule.h"
#include "cells/datChEdit.h"
#include "cmcTestHost.h"
#include "cuiHeadlessMain.h"
#include "events/cmcEvMan.h"
#include "memory/MemoryMap.h"
#include "memory/datCh.h"
#include "text/cmcGTex.h"

namespace MM = MemoryMap;

namespace {

const char* const kTexts[] = {
    "#GI_Sys_AppTitle",
    "PQ-T590",
    "#GI_AppMess_Conv_Overwrite",
    "Overwrite?",
    "Really?",
    "#",
    "#GI_AppMess_Conv_Clear",
    "Clear?",
    "#GI_AppMess_Conv_Delete",
    "Delete?",
    "#GI_AppMess_Conv_Overflow",
    "Overflow?",
    "#GI_AppMess_S_Copy",
    "Copied",
    "#GI_AppMess_S_Paste",
    "Pasted",
    "#GI_AppMess_S_Clear",
    "Cleared",
    "#GI_AppMess_S_Delete",
    "Deleted",
    "#GI_AppMess_S_Insert",
    "Inserted",
    "#GI_Botttom_ScanFull",
    "Scan list full",
    // What the dispatcher and the row edits say, as the product says it.
    "#GI_AppMess_Typed",
    "\"%s\" was taken as %s: the characters that are no part of it were left out.",
    "%s is above %s: %s stored.",
    "%s is below %s: %s stored.",
    "%s stored as %s: the field keeps no finer steps.",
    "\"%s\" has %s digits, not %s: no number stored.",
    "\"%s\" was not taken, nothing changed: %s.",
    "\"%s\" stored as \"%s\": the radio has no %s; each such letter became a blank.",
    "\"%s\" is longer than %s characters: \"%s\" stored.",
    "\"%s\" holds no value: the field is cleared.",
    "kHz",
    "#GI_AppMess_TypedForms",
    "a time offset is -12:00 to +12:00, as h:mm",
    "a number from %s to %s",
    "a byte is 00 to FF, as one or two hexadecimal digits",
    "a frequency is given in kHz, such as 2182.0",
    "#GI_AppMess_RowsRefused",
    "%s of %s rows pasted: the list ends there.",
    "Nothing pasted: the clipboard holds no rows of this list. Copy rows of this list first.",
    "Not moved: the rows are at the top of the list already.",
    "Not moved: the rows are at the bottom of the list already.",
    "The rows of this list stay as they are: they cannot be cleared, deleted or inserted.",
    "%s of %s rows pasted: the %s MHz band ends at %s.",
    "#GI_AppInd_Band",
    "4",
    "6",
    "8",
    "12",
    "16",
    "18/19",
    "22",
    "25/26",
    "#End_Of_Ovl",
};

struct Seen {
    int kind;
    uint32_t first;
    int32_t second;
    std::string text;
    bool posted;
};

void Record(void* data, const cmcEvent& e) {
    static_cast<std::vector<Seen>*>(data)->push_back(
        {int(e.kind), uint32_t(e.first), e.second, e.Text(), e.delivery == cmcEvDelivery::Posted});
}

// A headless controller over a dictionary fragment, a recording host and an event manager whose
// events are collected.
class ClipEditTest : public ::testing::Test {
protected:
    ScopedTestHost host;
    ScopedHeadlessMain main;
    const cuiMainCore core = main.Core();
    cmcGTex dictionary;
    cmcEvMan events;
    std::vector<Seen> seen;

    void SetUp() override {
        dictionary.SetLines(kTexts, sizeof kTexts / sizeof kTexts[0]);
        main->SetDictionary(&dictionary);
        events.AddHandler(Record, &seen);
        image()[MM::kMaxUserChannel] = 160;
    }
    void TearDown() override { events.RemoveHandler(Record, &seen); }

    uint8_t* image() { return main->WorkingData(); }

    void SetUser(int e, int rx) {
        datCh ch(image());
        ch.Load(datCh::kUserCh, e);
        ch.flags = datCh::kUsed;
        ch.rxFreq = rx;
        ch.txFreq = rx;
        ch.Save();
    }
    void FillUsers() {
        for (int e = 1; e <= 160; ++e)
            SetUser(e, e * 1000);
    }
    int UserRx(int e) {
        datCh ch(image());
        ch.Load(datCh::kUserCh, e);
        return ch.IsUsed() ? ch.rxFreq / 1000 : 0;
    }
    bool UserUsed(int e) {
        datCh ch(image());
        ch.Load(datCh::kUserCh, e);
        return ch.IsUsed();
    }

    // Runs a command on user channel `entry` with rows lo..hi selected (none when lo is 0).
    // A capsule as the dispatcher hands it to the row edits: with the controller's roles.
    cmcCellCapsule Capsule() const {
        cmcCellCapsule c;
        c.core = &core;
        return c;
    }

    cmcCellCapsule Run(int command, int entry, int lo = 0, int hi = 0, int kind = datCh::kUserCh,
                       int first = 1, int last = 160) {
        cmcCellCapsule c = Capsule();
        c.command = command;
        if (lo != 0 || hi != 0) {
            c.rangeFlags = kRangeSelected;
            c.rangeLow = lo;
            c.rangeHigh = hi;
        }
        datCh ch(image());
        ch.Load(kind, entry);
        datChEdit::Run(command, c, ch, first, last);
        EXPECT_EQ(ch.entry, entry);  // reloaded, same record
        return c;
    }
    void Deliver() { events.RunPass(); }
    std::vector<std::string> StatusTexts() const {
        std::vector<std::string> t;
        for (const Seen& s : seen) {
            if (s.kind == 4)
                t.push_back(s.text);
        }
        return t;
    }
    int CountKind(int kind) const {
        int n = 0;
        for (const Seen& s : seen)
            n += s.kind == kind;
        return n;
    }
};

TEST_F(ClipEditTest, CopyThenPasteNearTheEndPastesWhatFitsAfterAsking) {
    FillUsers();
    cmcCellCapsule copy = Run(datChEdit::kCopy, 6, 5, 8);
    EXPECT_EQ(copy.rangeFlags & kRangeReselect, kRangeReselect);
    EXPECT_EQ(copy.rangeLow, 5);
    EXPECT_EQ(copy.rangeHigh, 8);
    EXPECT_EQ(main->Clipboard().Count(), 4);
    ASSERT_EQ(StatusTexts(), std::vector<std::string>{"Copied"});
    EXPECT_EQ(seen[0].first, 0x80000008u);
    EXPECT_EQ(uint32_t(seen[0].second), 0x8000000Fu);
    EXPECT_FALSE(seen[0].posted);

    host->QueueAnswer(HostAnswer::Ok);
    cmcCellCapsule paste = Run(datChEdit::kPaste, 158);
    ASSERT_EQ(host->Messages().size(), 1u);
    EXPECT_EQ(host->Messages()[0].caption, "PQ-T590");
    EXPECT_EQ(host->Messages()[0].text, "Overwrite?\nReally?");
    EXPECT_EQ(host->Messages()[0].icon, HostIcon::Warning);
    EXPECT_EQ(host->Messages()[0].buttons, HostButtons::OkCancel);
    EXPECT_EQ(UserRx(157), 157);
    EXPECT_EQ(UserRx(158), 5);
    EXPECT_EQ(UserRx(159), 6);
    EXPECT_EQ(UserRx(160), 7);
    EXPECT_EQ(paste.rangeLow, 158);
    EXPECT_EQ(paste.rangeHigh, 160);
    Deliver();
    EXPECT_EQ(CountKind(13), 1);
    // Pasted, and how many of the rows: the list's end shortened it.
    const std::vector<std::string> said = StatusTexts();
    ASSERT_GE(said.size(), 2u);
    EXPECT_EQ(said[said.size() - 2], "Pasted");
    EXPECT_EQ(said.back(), "3 of 4 rows pasted: the list ends there.");
}

TEST_F(ClipEditTest, PasteCancelledOrOfAnotherKindChangesNothing) {
    FillUsers();
    Run(datChEdit::kCopy, 3);
    const std::vector<uint8_t> before(image(), image() + MM::kImageSize);
    host->QueueAnswer(HostAnswer::Cancel);
    Run(datChEdit::kPaste, 9);
    EXPECT_EQ(std::vector<uint8_t>(image(), image() + MM::kImageSize), before);

    Run(datChEdit::kPaste, 9, 0, 0, datCh::kItuCh, 9, 17);  // ITU cell: the kind differs
    EXPECT_EQ(std::vector<uint8_t>(image(), image() + MM::kImageSize), before);
    EXPECT_EQ(host->Messages().size(), 1u);
}

TEST_F(ClipEditTest, PasteOfOneRecordOnAnEmptyRowAsksNothingAndRepaintsTheRow) {
    SetUser(3, 3000);
    {
        datCh empty(image());
        empty.SetEmpty(datCh::kUserCh, 4);
        empty.Save();
    }
    Run(datChEdit::kCopy, 3);
    Run(datChEdit::kPaste, 4);
    EXPECT_TRUE(host->Messages().empty());
    EXPECT_EQ(UserRx(4), 3);
    Deliver();
    ASSERT_EQ(CountKind(16), 1);
    for (const Seen& s : seen) {
        if (s.kind == 16) {
            EXPECT_EQ(s.second, 4);
        }
    }
}

TEST_F(ClipEditTest, CarryDownAndUp) {
    FillUsers();
    cmcCellCapsule down = Run(datChEdit::kCarryDown, 3, 3, 5);
    EXPECT_EQ(UserRx(3), 6);
    EXPECT_EQ(UserRx(4), 3);
    EXPECT_EQ(UserRx(5), 4);
    EXPECT_EQ(UserRx(6), 5);
    EXPECT_EQ(down.rangeLow, 4);
    EXPECT_EQ(down.rangeHigh, 6);
    EXPECT_EQ(down.moveRequest, 1);
    EXPECT_EQ(down.moveArgument, 6);
    EXPECT_TRUE(host->Messages().empty());
    EXPECT_TRUE(StatusTexts().empty());

    cmcCellCapsule up = Run(datChEdit::kCarryUp, 4, 4, 6);
    EXPECT_EQ(UserRx(3), 3);
    EXPECT_EQ(UserRx(6), 6);
    EXPECT_EQ(up.moveArgument, 3);

    const std::vector<uint8_t> before(image(), image() + MM::kImageSize);
    cmcCellCapsule none = Run(datChEdit::kCarryUp, 1);  // the first row cannot go up
    EXPECT_EQ(none.moveRequest, 0);
    Run(datChEdit::kCarryDown, 160);
    EXPECT_EQ(std::vector<uint8_t>(image(), image() + MM::kImageSize), before);
}

TEST_F(ClipEditTest, DeleteClosesTheGapAndEmptiesTheEnd) {
    FillUsers();
    host->QueueAnswer(HostAnswer::Ok);
    cmcCellCapsule c = Run(datChEdit::kDelete, 10, 10, 11);
    EXPECT_EQ(host->Messages().size(), 1u);
    for (int e = 10; e <= 158; ++e)
        ASSERT_EQ(UserRx(e), e + 2) << e;
    EXPECT_FALSE(UserUsed(159));
    EXPECT_FALSE(UserUsed(160));
    EXPECT_EQ(c.moveRequest, 1);
    EXPECT_EQ(c.moveArgument, 10);
    EXPECT_EQ(c.rangeFlags & kRangeReselect, 0);
    EXPECT_EQ(StatusTexts().back(), "Deleted");

    // Deleting rows none of which is used asks nothing.
    Run(datChEdit::kDelete, 159, 159, 160);
    EXPECT_EQ(host->Messages().size(), 1u);
}

TEST_F(ClipEditTest, InsertAsksOnlyWhenTheLastRowIsUsed) {
    FillUsers();
    SetUser(160, 0);
    {
        datCh ch(image());
        ch.SetEmpty(datCh::kUserCh, 160);
        ch.Save();
    }
    cmcCellCapsule c = Run(datChEdit::kInsert, 10);
    EXPECT_TRUE(host->Messages().empty());
    EXPECT_FALSE(UserUsed(10));
    for (int e = 11; e <= 160; ++e)
        ASSERT_EQ(UserRx(e), e - 1) << e;
    EXPECT_EQ(c.rangeLow, 10);
    EXPECT_EQ(c.rangeHigh, 10);

    host->QueueAnswer(HostAnswer::Cancel);
    const std::vector<uint8_t> before(image(), image() + MM::kImageSize);
    Run(datChEdit::kInsert, 20);
    EXPECT_EQ(host->Messages().size(), 1u);
    EXPECT_EQ(host->Messages()[0].text, "Overflow?");
    EXPECT_EQ(std::vector<uint8_t>(image(), image() + MM::kImageSize), before);
}

TEST_F(ClipEditTest, ClearAlwaysAsks) {
    host->QueueAnswer(HostAnswer::Ok);
    Run(datChEdit::kClear, 5, 5, 7);
    ASSERT_EQ(host->Messages().size(), 1u);
    EXPECT_EQ(host->Messages()[0].text, "Clear?");
    Deliver();
    EXPECT_EQ(CountKind(16), 3);
    EXPECT_EQ(StatusTexts().back(), "Cleared");

    FillUsers();
    host->QueueAnswer(HostAnswer::Cancel);
    Run(datChEdit::kClear, 5);
    EXPECT_TRUE(UserUsed(5));
}

TEST_F(ClipEditTest, RowEditsStayInsideTheList) {
    // ITU band 1 is channels 9..17: a selection reaching into band 0 is cut to the band.
    for (int e = 0; e < 72; ++e) {
        datCh ch(image());
        ch.Load(datCh::kItuCh, e);
        ch.rxFreq = (e + 1) * 1000;
        ch.Save();
    }
    host->QueueAnswer(HostAnswer::Ok);
    Run(datChEdit::kDelete, 9, 7, 10, datCh::kItuCh, 9, 17);
    datCh ch(image());
    ch.Load(datCh::kItuCh, 7);
    EXPECT_EQ(ch.rxFreq, 8000);  // band 0 untouched
    ch.Load(datCh::kItuCh, 9);
    EXPECT_EQ(ch.rxFreq, 12000);  // 11 moved up to 9
    ch.Load(datCh::kItuCh, 18);
    EXPECT_EQ(ch.rxFreq, 19000);  // band 2 untouched
}

TEST_F(ClipEditTest, AnItuPasteTheBandsEndShortensNamesTheBandAndItsLastChannel) {
    // Three ITU rows pasted on 8-8 (channel 25): the 8 MHz band is channels 18..26.
    for (int e = 0; e < 3; ++e) {
        datCh ch(image());
        ch.Load(datCh::kItuCh, e);
        ch.rxFreq = 4000000 + e * 1000;
        ch.Save();
    }
    Run(datChEdit::kCopy, 0, 0, 2, datCh::kItuCh, 0, 8);
    host->QueueAnswer(HostAnswer::Ok);
    Run(datChEdit::kPaste, 25, 0, 0, datCh::kItuCh, 18, 26);
    datCh ch(image());
    ch.Load(datCh::kItuCh, 26);
    EXPECT_EQ(ch.rxFreq, 4001000);
    ch.Load(datCh::kItuCh, 27);
    EXPECT_NE(ch.rxFreq, 4002000);  // the next band keeps its own
    Deliver();
    const std::vector<std::string> said = StatusTexts();
    ASSERT_FALSE(said.empty());
    EXPECT_EQ(said.back(), "2 of 3 rows pasted: the 8 MHz band ends at 8-9.");
}

TEST_F(ClipEditTest, PasteThatWouldOverflowTheScanListShowsTheAlert) {
    auto setPair = [&](int e, int use) {
        datCh ch(image());
        ch.Load(datCh::kDscPair, e);
        ch.pairUse = uint8_t(use);
        ch.rxFreq = 2187500;
        ch.Save();
    };
    for (int e = 0; e < 6; ++e)
        setPair(e, 3);
    setPair(10, 3);
    setPair(11, 1);
    cmcCellCapsule pairs = Capsule();
    datCh ch(image());
    ch.Load(datCh::kDscPair, 10);
    datChEdit::Run(datChEdit::kCopy, pairs, ch, 0, 49);  // one pair of use 3
    setPair(10, 1);
    const std::vector<uint8_t> before(image(), image() + MM::kImageSize);
    seen.clear();

    ch.Load(datCh::kDscPair, 20);
    cmcCellCapsule c = Capsule();
    datChEdit::Run(datChEdit::kPaste, c, ch, 0, 49);  // would make seven
    EXPECT_EQ(std::vector<uint8_t>(image(), image() + MM::kImageSize), before);
    EXPECT_TRUE(seen.empty());  // posted, not yet delivered
    Deliver();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, 4);
    EXPECT_EQ(seen[0].first, 0x0000FFFFu);
    EXPECT_EQ(seen[0].second, 0x00000080);
    EXPECT_EQ(seen[0].text, "Scan list full");

    // Pasting over one of the six keeps the count at six: allowed.
    host->QueueAnswer(HostAnswer::Ok);
    ch.Load(datCh::kDscPair, 5);
    datChEdit::Run(datChEdit::kPaste, c, ch, 0, 49);
    ch.Reload();
    EXPECT_EQ(ch.pairUse, 3);
}

}  // namespace
