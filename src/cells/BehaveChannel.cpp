// User, ITU and e-mail channel cells. Invalid values are stored and marked, never refused, so that
// the user sees every inconsistency; the table checks carry the marks up to the tree.
#include <cstdio>
#include <string>

#include "cells/BehaveUtil.h"
#include "cells/cuiMainCore.h"
#include "cells/indBehave.h"
#include "cells/indValueRules.h"
#include "memory/MemoryMap.h"
#include "text/cmcGTex.h"

namespace {

constexpr const char* kModeList = "GI_Sheet_Sel_Mode1_R";
constexpr const char* kEMailFilterList = "GI_Sheet_Sel_EMailFilt";

// One side of a channel's frequency pair; a change is written back at once.
void FreqSide(indBehaveCall& call, bool receiveSide) {
    call.capsule.markPosition = kMarkPosRight;
    if (call.capsule.ConvFreqPair(call.ch, receiveSide, true))
        call.ch.SaveAndReload();
}

void RxFreq(indBehaveCall& call) {
    FreqSide(call, true);
    call.SetError(!call.ch.IsRxBlank() &&
                  !indValueRules::IsRxFreqValid(call.image, call.ch.rxFreq));
}

void TxFreq(indBehaveCall& call) {
    FreqSide(call, false);
    call.SetError(
        !call.ch.IsTxBlank() &&
        !indValueRules::IsTxFreqValid(call.image, call.ch.txFreq, call.GeneralCoverageMode()));
}

void ItuFreq(indBehaveCall& call) {
    FreqSide(call, true);
    const int band = call.argument / MemoryMap::kItuChannelsPerBand;
    call.SetError(call.ch.IsUsed() &&
                  !indValueRules::IsItuFreqValid(call.image, band, call.ch.rxFreq));
}

// The mode list's entries are mode numbers; the cell shows the mode's own indication.
void Mode(indBehaveCall& call) {
    int32_t mode = call.ch.mode;
    if (call.capsule.ConvChoice(kModeList, CL_Sel_Mode_U, mode)) {
        call.ch.mode = uint8_t(mode);
        call.ch.SaveAndReload();
    }
    call.capsule.outputText = call.ch.ModeName(call.ch.mode);
    // User channel 0 is the radio's own working channel; it may hold any mode.
    const bool exempt = call.kind == datCh::kUserCh && call.argument == 0;
    call.SetError(!exempt && !indValueRules::IsModeAvailable(call.image, call.ch.mode));
}

void Comment(indBehaveCall& call) {
    if (call.capsule.ConvText(call.ch.comment, MemoryMap::kChCommentLength))
        call.ch.SaveAndReload();
}

void ItuChannelNumber(indBehaveCall& call) {
    call.capsule.outputText =
        indBehaveUtil::ItuChannelName(call.core.document.Dictionary(), call.argument);
}

void EMailFilter(indBehaveCall& call) {
    if (!call.ch.IsUsed())
        return;
    int32_t filter = call.ch.filter;
    if (call.capsule.ConvChoiceInt(kEMailFilterList, filter)) {
        call.ch.filter = filter;
        call.ch.SaveAndReload();
    }
}

}  // namespace

void indRegisterChannelBehaviours(indBehaveTable& table) {
    table.Set(CL_UCh_FreqR, RxFreq);
    table.Set(CL_UCh_FreqT, TxFreq);
    table.Set(CL_UCh_Mode, Mode);
    table.Set(CL_UCh_Comment, Comment);
    table.Set(CL_Ich_ChNo, ItuChannelNumber);
    table.Set(CL_ICh_Freq, ItuFreq);
    table.Set(CL_ICh_Mode, Mode);
    table.Set(CL_ICh_Comment, Comment);
    table.Set(CL_EMail_FreqR, RxFreq);
    table.Set(CL_EMail_FreqT, TxFreq);
    table.Set(CL_EMail_Filt, EMailFilter);
    table.Set(CL_EMail_Comment, Comment);
}
