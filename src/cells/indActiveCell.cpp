#include "cells/indActiveCell.h"

#include <cstdio>

#include "cells/cmcCellCanvas.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellNames.h"
#include "cells/cmcCellObj.h"
#include "cells/cuiMainCore.h"
#include "cells/datChEdit.h"
#include "cells/indBehave.h"
#include "events/cmcEvMan.h"
#include "memory/MemoryMap.h"
#include "memory/cmcEeprom.h"
#include "platform/cmcHost.h"
#include "text/cmcGTex.h"

namespace {

// Typed characters and the display key; keys above never redirect a blank row.
constexpr int32_t kMaxRedirectKey = 127;
constexpr uint32_t kGreyText = 0xC0C0C0;
constexpr const char* kNoUseKey = "GI_AppInd_DscRxTxNoUse";

void SendStatus(uint32_t text, uint32_t back, const char* message, bool post) {
    cmcEvMan* events = cmcEvMan::Global();
    if (events == nullptr)
        return;
    if (post)
        events->PostEventText(cmcEvKind::StatusMessage, text, int32_t(back), message);
    else
        events->SendEventText(cmcEvKind::StatusMessage, text, int32_t(back), message);
}

// The entries each record kind has in the image (user channels: rows above the maximum channel
// number included; item tables: their 16 bits).
void PostRepaintLabel(int label) {
    if (cmcEvMan* events = cmcEvMan::Global())
        events->PostEvent(cmcEvKind::RepaintLabel, 0, label);
}

// Step 7: popup commands 62..68 run the row edits over the list of the loaded record; the ITU
// lists are edited band by band (nine channels).
void RunPopupCommand(indBehaveCall& call) {
    if (call.kind == datCh::kNone)
        return;  // a cell without a record has no row to edit
    int first = datCh::FirstEntry(call.kind);
    int last = call.ch.LastEntry(call.kind);
    if (call.kind == datCh::kItuCh) {
        first = call.argument - call.argument % MemoryMap::kItuChannelsPerBand;
        last = first + MemoryMap::kItuChannelsPerBand - 1;
    }
    if (call.argument < first || call.argument > last)
        return;
    datChEdit::Run(call.capsule.command, call.capsule, call.ch, first, last);
}

void MoveTo(indBehaveCall& call, int label) {
    cmcCellCapsule& c = call.capsule;
    c.outputText.clear();
    c.moveRequest = 1;
    c.moveCategory = call.category;
    c.moveLabel = label;
    c.moveArgument = call.argument;
    c.repeatKey = c.key;
}

// Step 8: rows without a record send typing to the row's first column. Returns true when the
// label step is to be skipped.
bool BlankRecordRedirect(indBehaveCall& call) {
    cmcCellCapsule& c = call.capsule;
    if (c.key > kMaxRedirectKey)
        return false;
    switch (call.category) {
        case CT_UserCh:
            if (call.argument > call.ch.LastEntry(datCh::kUserCh)) {
                // Rows above the maximum user channel number do not exist in the radio.
                c.alignment = cmcCellCapsule::kAlignCenter;
                call.cell->SetHAlignment(cmcCellObj::kCenter);
                if (c.canvas)
                    c.canvas->SetFontColor(kGreyText);
                c.outputText = call.core.document.Dictionary().Text(kNoUseKey);
                return true;
            }
            if (call.ch.IsRxBlank() && call.label != CL_UCh_FreqR && call.label != CL_UCh_FreqT) {
                MoveTo(call, CL_UCh_FreqR);
                return true;
            }
            return false;
        case CT_ItuCh:
            if (!call.ch.IsUsed() && call.label != CL_ICh_Freq) {
                MoveTo(call, CL_ICh_Freq);
                return true;
            }
            return false;
        case CT_EMail:
            if (call.ch.IsRxBlank() && call.label != CL_EMail_FreqR &&
                call.label != CL_EMail_FreqT) {
                MoveTo(call, CL_EMail_FreqR);
                return true;
            }
            return false;
        case CT_DscId:
            if (!call.ch.IsUsed() && call.label != CL_Dsc_Id_Adr) {
                MoveTo(call, CL_Dsc_Id_Adr);
                return true;
            }
            return false;
        case CT_DscRxTx:
            if (!call.ch.IsUsed() && call.label != CL_Dsc_RxTx_Use) {
                MoveTo(call, CL_Dsc_RxTx_Use);
                return true;
            }
            return false;
        default:
            return false;
    }
}

void LabelStep(indBehaveCall& call) {
    if (indBehaviour behaviour = indBehaveTable::Instance().Get(call.label)) {
        behaviour(call);
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%d *Yet*", call.label);
    call.capsule.outputText = text;
}

}  // namespace

int indActiveCell::Evaluate(cmcCellCapsule& capsule, bool notify) {
    capsule.action = kActNone;
    capsule.note.Clear();
    cmcCellObj* cell = capsule.cell;
    if (cell == nullptr)
        return kActNone;  // nothing to ask about

    // 1. The record accessor over the working image and the cell's record kind.
    cuiDocument& document = core_.document;
    cmcEeprom& image = image_ != nullptr ? *image_ : document.WorkingImage();
    if (image.GetSize() < MemoryMap::kMapEnd)
        return kActNone;  // nothing of the map to show
    // The conversions reach the section cache and the views through the capsule, for this call.
    capsule.core = &core_;
    datCh ch(image);
    indBehaveCall call{capsule, core_, image.Bytes(), ch, cell, image};
    call.category = cell->category;
    call.label = cell->label;
    call.argument = cell->argument;
    call.kind = RecordKindOf(call.category);

    // 2. A key clears the status message of the key before.
    if (capsule.key != kKeyDisplay)
        SendStatus(kStatusTextNormal, kStatusBackNormal, "", false);
    // 3.
    capsule.outputText.clear();
    capsule.markBits &= uint8_t(~(kMarkNotice | kMarkError));
    // An argument beyond its table (a fault of the resource file) would address other data:
    // such a cell shows and edits nothing.
    if (call.kind != datCh::kNone && !datCh::HasEntry(call.kind, call.argument))
        return kActNone;
    // 4.
    if (call.kind != datCh::kNone)
        ch.Load(call.kind, call.argument);
    // 5. By default a move request names the cell itself.
    capsule.moveCategory = call.category;
    capsule.moveLabel = call.label;
    capsule.moveArgument = call.argument;
    // 6.
    if (capsule.key == kKeyDoubleClick)
        capsule.key = kKeyEnter;

    // 7. Popup commands.
    bool labelStep = true;
    if (capsule.command == CL_PMenu_Edit) {
        capsule.key = kKeyEnter;
        capsule.command = 0;
    } else if (capsule.command >= CL_PMenu_Copy && capsule.command <= CL_PMenu_Insert) {
        RunPopupCommand(call);
        capsule.key = kKeyDisplay;
        labelStep = false;
        if (call.kind == datCh::kDscId)
            PostRepaintLabel(CL_Dsc_Id_Adr);
    }

    if (labelStep) {
        // 8. A popup menu's items act on the record of the cell the menu belongs to.
        if (call.category == CT_PopupMenu && capsule.parent != nullptr &&
            capsule.parent->cell != nullptr) {
            const cmcCellObj* owner = capsule.parent->cell;
            call.kind = RecordKindOf(owner->category);
            call.argument = owner->argument;
            if (!datCh::HasEntry(call.kind, call.argument))
                call.kind = datCh::kNone;
            if (call.kind != datCh::kNone)
                ch.Load(call.kind, call.argument);
        } else if (BlankRecordRedirect(call)) {
            labelStep = false;
        }
    }
    // 9.
    if (labelStep)
        LabelStep(call);

    // 10. Have the sheet repaint what this call may have changed.
    if (call.kind != datCh::kNone)
        call.criteria |= kCriteriaSameArgument;
    if (notify && capsule.redraw != nullptr)
        capsule.redraw(capsule.redrawData, capsule, call.criteria);
    // 11.
    if (capsule.key != kKeyDisplay || capsule.inputKind != kInputKey || capsule.command != 0) {
        document.ScheduleWarningCheck();
        document.DescribeEdit(capsule);
        document.CheckModified();
    }
    // 12.
    if (call.restricted) {
        const std::string text = document.Dictionary().Text(kEditRestrictedKey);
        SendStatus(kStatusTextAlert, kStatusBackAlert, text.c_str(), true);
    }
    // A typed value that became more than a reformatted copy of itself, or was not taken: the
    // technician is told what was stored and why, so that a slip does not go unnoticed.
    if (capsule.note.Present() && capsule.IsInteractive()) {
        const std::string text = capsule.note.Text(document.Dictionary());
        SendStatus(kStatusTextAlert, kStatusBackAlert, text.c_str(), true);
    }
    // 13.
    return capsule.action;
}

int indActiveCell::ActivateCell(cmcCellObj* cell, int key) {
    if (cell == nullptr)
        return kActNone;
    cmcCellCapsule capsule;
    capsule.cell = cell;
    capsule.key = key;
    return Evaluate(capsule, false);
}

uint8_t indActiveCell::MarksOf(int category, int label, int argument) {
    cmcCellObj cell;
    cell.category = category;
    cell.label = label;
    cell.argument = argument;
    cmcCellCapsule capsule;
    capsule.cell = &cell;
    Evaluate(capsule, false);
    return capsule.markBits;
}

bool indActiveCell::ErrorMarkOf(int category, int label, int argument) {
    return (MarksOf(category, label, argument) & kMarkError) != 0;
}

bool indActiveCell::NoticeMarkOf(int category, int label, int argument) {
    return (MarksOf(category, label, argument) & kMarkNotice) != 0;
}

// The label table.

bool indBehaveCall::ExpertMode() const {
    return core.document.ExpertMode();
}

bool indBehaveCall::GeneralCoverageMode() const {
    return core.document.GeneralCoverageMode();
}

bool indBehaveCall::ErrorMarkOf(int category, int label, int argument) const {
    return indActiveCell(core, &source).ErrorMarkOf(category, label, argument);
}

bool indBehaveCall::NoticeMarkOf(int category, int label, int argument) const {
    return indActiveCell(core, &source).NoticeMarkOf(category, label, argument);
}

void indBehaveTable::Set(int label, indBehaviour behaviour) {
    if (label < 0 || label >= kLabelCount)
        FatalError("Behaviour for an unknown cell label.");
    if (behaviours_[size_t(label)] != nullptr)
        FatalError("Two behaviours for one cell label.");
    behaviours_[size_t(label)] = behaviour;
}

indBehaviour indBehaveTable::Get(int label) const {
    if (label < 0 || label >= kLabelCount)
        return nullptr;
    return behaviours_[size_t(label)];
}

const indBehaveTable& indBehaveTable::Instance() {
    static const indBehaveTable table = [] {
        indBehaveTable t;
        indRegisterSmallCellBehaviours(t);
        indRegisterChannelBehaviours(t);
        indRegisterBandEdgeBehaviours(t);
        indRegisterTableCheckBehaviours(t);
        indRegisterSettingsBehaviours(t);
        indRegisterDscBehaviours(t);
        return t;
    }();
    return table;
}
