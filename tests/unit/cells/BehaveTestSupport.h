#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ConvTestSupport.h"
#include "ScopedMainDictionary.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "cells/indActiveCell.h"
#include "cmcTestHost.h"
#include "cuiHeadlessMain.h"
#include "events/cmcEvMan.h"
#include "memory/MemoryMap.h"
#include "memory/datCh.h"
#include "text/cmcGTex.h"

// A headless controller over a zero image, a small dictionary with the texts and lists the
// behaviours ask for, and an event manager whose events are recorded.
class BehaveTest : public ::testing::Test {
public:
    struct Event {
        cmcEvKind kind;
        uintptr_t first;
        int32_t second;
        std::string text;
    };

    // What one evaluation left behind.
    struct Result {
        int action = 0;
        std::string text;
        uint8_t marks = 0;
        uint8_t markPosition = 0;
        int32_t key = 0;
        int32_t moveRequest = 0;
        int32_t moveLabel = 0;
        int32_t moveArgument = 0;
        int32_t repeatKey = 0;
        int8_t alignment = cmcCellCapsule::kAlignKeep;
        bool Error() const { return (marks & kMarkError) != 0; }
        bool Notice() const { return (marks & kMarkNotice) != 0; }
    };

    BehaveTest() {
        static const char* const kLines[] = {
            "#GI_AppInd_DscRxTxNoUse",
            "No use",
            "#GI_Botttom_EditRestrected",
            "Cannot edit",
            "#GI_AppInd_Band",
            "4M",
            "6M",
            "8M",
            "12M",
            "16M",
            "18M",
            "22M",
            "25M",
            "#",
            "#GI_Sheet_Sel_Mode1_R_Cells",
            "{(%.CL_Sel_Mode_U[0])}|{(%.CL_Sel_Mode_U[1])}|{(%.CL_Sel_Mode_U[2])}",
            "{(%.CL_Sel_Mode_U[3])}|{(%.CL_Sel_Mode_U[4])}|{(%.CL_Sel_Mode_U[5])}",
            "#",
            "#GI_Sheet_Sel_EMailFilt_Cells",
            "{(%.Flex0[0]:Wide)}|{(%.Flex0[1]:Mid)}|{(%.Flex0[2]:Narrow)}",
            "#",
            "#GI_Sheet_Sel_Misc_Enable_I_Cells",
            "{(%.Flex0[0]:Disable)}|{(%.Flex0[1]:Enable)}",
            "#",
            "#GI_Sheet_Sel_FProg_Cells",
            "{(%.Flex0[0]:Off)}|{(%.Flex0[1]:Rx)}|{(%.Flex0[2]:Tx)}|{(%.Flex0[3]:RxTx)}",
            "#",
            "#GI_Sys_AppTitle",
            "PQ-T590",
            "#GI_AppMess_Conv_Clear",
            "Clear the rows?",
            "#",
            "#GI_AppMess_S_Clear",
            "Cleared",
            "#GI_AppMess_S_Copy",
            "Copied",
            "#GI_AppMess_S_Paste",
            "Pasted",
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
            "Nothing pasted: the clipboard holds no rows of this list. Copy rows of this list "
            "first.",
            "Not moved: the rows are at the top of the list already.",
            "Not moved: the rows are at the bottom of the list already.",
            "The rows of this list stay as they are: they cannot be cleared, deleted or inserted.",
            "%s of %s rows pasted: the %s MHz band ends at %s.",
            "#End_Of_Ovl",
        };
        dict_.SetLines(kLines, sizeof(kLines) / sizeof(kLines[0]));
        main_->SetDictionary(&dict_);
        main_->SetSectionCache(&cache_);
        events_.AddHandler(&BehaveTest::OnEvent, this);
        image_ = main_->WorkingData();
        CleanImage();
        main_->MarkSaved();
    }
    ~BehaveTest() override { events_.RemoveHandler(&BehaveTest::OnEvent, this); }

    // A consistent image: every list empty, every mode available and named, the receive edge
    // 30 kHz..29.999999 MHz, ITU band b at 4 + 2b .. 5 + 2b MHz, one transmit edge 1.6..29.999999
    // MHz and the other transmit edges unset.
    void CleanImage() {
        std::memset(image_, 0, MemoryMap::kImageSize);
        image_[MemoryMap::kMapRevision] = MemoryMap::kMapRevisionValue;
        image_[MemoryMap::kMaxUserChannel] = 160;
        static const char kNames[] = "LSBUSBAM CW FSKTLX";
        for (int m = 0; m < MemoryMap::kModeCount; ++m) {
            image_[MemoryMap::kModeEnable + m] = 1;
            std::memcpy(image_ + MemoryMap::kModeIndications + 3 * m, kNames + 3 * m, 3);
        }
        for (int kind :
             {datCh::kUserCh, datCh::kItuCh, datCh::kEMailCh, datCh::kDscId, datCh::kDscPair}) {
            datCh ch(image_);
            for (int e = datCh::FirstEntry(kind); e <= datCh::LastEntry(image_, kind); ++e) {
                ch.SetEmpty(kind, e);
                ch.Save();
            }
        }
        SetEdge(datCh::kRxEdge, 0, 30000, 29999999);
        for (int b = 0; b < MemoryMap::kItuEdgeCount; ++b)
            SetEdge(datCh::kItuEdge, b, 4000000 + 2000000 * b, 5000000 + 2000000 * b);
        SetEdge(datCh::kTxEdge, 0, 1600000, 29999999);
        for (int e = 1; e < MemoryMap::kTxEdgeCount; ++e)
            SetEdge(datCh::kTxEdge, e, -1, -1);
    }

    static void OnEvent(void* self, const cmcEvent& e) {
        static_cast<BehaveTest*>(self)->events.push_back({e.kind, e.first, e.second, e.Text()});
    }

    void SetEdge(int kind, int index, int32_t low, int32_t high) {
        datCh ch(image_);
        ch.Load(kind, index);
        ch.lowEdge = low;
        ch.highEdge = high;
        ch.Save();
    }

    void SetChannel(int kind, int entry, int32_t rx, int32_t tx, int mode = 1,
                    const char* comment = "        ") {
        datCh ch(image_);
        ch.SetEmpty(kind, entry);
        ch.flags = datCh::kUsed;
        ch.rxFreq = rx;
        ch.txFreq = tx;
        ch.mode = uint8_t(mode);
        std::memcpy(ch.comment, comment, sizeof ch.comment);
        ch.Save();
    }

    datCh Load(int kind, int entry) {
        datCh ch(image_);
        ch.Load(kind, entry);
        return ch;
    }

    // Fills a capsule for the cell and evaluates it.
    Result Run(cmcCellCapsule c, int category, int label, int argument, bool notify = false) {
        cmcCellObj cell;
        cell.category = category;
        cell.label = label;
        cell.argument = argument;
        c.cell = &cell;
        indActiveCell active(main_.Core());
        Result r;
        r.action = active.Evaluate(c, notify);
        r.text = c.outputText;
        r.marks = c.markBits;
        r.markPosition = c.markPosition;
        r.key = c.key;
        r.moveRequest = c.moveRequest;
        r.moveLabel = c.moveLabel;
        r.moveArgument = c.moveArgument;
        r.repeatKey = c.repeatKey;
        r.alignment = c.alignment;
        last_ = c;
        last_.cell = nullptr;
        return r;
    }
    Result Show(int category, int label, int argument) {
        return Run(ConvTest::Display(), category, label, argument);
    }
    Result Press(int category, int label, int argument, int32_t key) {
        return Run(ConvTest::Key(key), category, label, argument);
    }
    Result Type(int category, int label, int argument, const std::string& text) {
        return Run(ConvTest::Typed(text), category, label, argument);
    }

    std::vector<Event> EventsOf(cmcEvKind kind) const {
        std::vector<Event> out;
        for (const Event& e : events) {
            if (e.kind == kind)
                out.push_back(e);
        }
        return out;
    }

    ScopedTestHost host_;
    cmcGTex dict_;
    std::unique_ptr<ScopedMainDictionary> mainDictionary_ =
        std::make_unique<ScopedMainDictionary>(&dict_);
    cmcFCache cache_{&dict_};
    ScopedHeadlessMain main_;
    cmcEvMan events_;
    uint8_t* image_ = nullptr;
    std::vector<Event> events;
    cmcCellCapsule last_;
};
