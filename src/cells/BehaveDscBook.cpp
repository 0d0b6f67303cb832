// The DSC address book (identities with their working frequencies) and the list of DSC
// receive/transmit frequency pairs. Entries not in use never get here: the dispatcher sends
// typing on them to their first column (label 152 or 157).
#include <algorithm>
#include <cstring>

#include "cells/BehaveDsc.h"
#include "cells/BehaveUtil.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellNames.h"
#include "cells/indBehave.h"
#include "cells/indValueRules.h"
#include "memory/MemoryMap.h"
#include "memory/datCh.h"

namespace MM = MemoryMap;

namespace {

constexpr int kShareableUse = 3;  // the use value at most six pairs may have

bool AllBlank(const char* text, int n) {
    for (int i = 0; i < n; ++i) {
        if (text[i] != ' ')
            return false;
    }
    return true;
}

// An entry before this one is in use with the same identity.
bool HasEarlierTwin(indBehaveCall& call) {
    // A hostile argument (as low as INT_MIN) has no entries before it.
    if (!call.ch.IsUsed() || call.argument <= 0)
        return false;
    datCh other(call.image, call.ch.ImageSize());
    const int last = std::min(call.argument, MM::kDscIdCount) - 1;
    for (int n = last; n >= 0; --n) {
        other.Load(datCh::kDscId, n);
        if (other.IsUsed() &&
            std::memcmp(other.identity, call.ch.identity, MM::kIdentityLength) == 0)
            return true;
    }
    return false;
}

void IdAddress(indBehaveCall& call) {
    if (call.capsule.ConvDigits(call.ch.identity, MM::kIdentityDigits)) {
        call.ch.SaveAndReload();
        // Every address cell: a change here can make or end a duplicate elsewhere.
        indBehaveUtil::Post(cmcEvKind::RepaintLabel, 0, CL_Dsc_Id_Adr);
    }
    call.SetNotice(HasEarlierTwin(call));
}

void IdAttribute(indBehaveCall& call) {
    // The attribute follows from the identity unless it begins with two zeros.
    call.RestrictEdit((call.ch.dscFlags & datCh::kAttributeDerived) == 0);
    int32_t attribute = call.ch.attribute;
    if (call.capsule.ConvChoiceInt("GI_Sheet_Sel_Misc_Dsc_AdrType", attribute)) {
        call.ch.attribute = attribute;
        call.ch.Save();
    }
}

// The DSC records keep no blank bits: a frequency of 0 is one not in use. It shows empty and
// unmarked, as a blank side of a channel does, and a side typed blank stores 0 again.
void ZeroAsBlank(datCh& ch) {
    if (ch.rxFreq == 0)
        ch.flags |= datCh::kRxBlank;
    if (ch.txFreq == 0)
        ch.flags |= datCh::kTxBlank;
}

void BlankAsZero(datCh& ch) {
    if (ch.IsRxBlank())
        ch.rxFreq = 0;
    if (ch.IsTxBlank())
        ch.txFreq = 0;
}

void RxFreq(indBehaveCall& call, bool follow) {
    // Neither frequency set yet: the transmit side takes the first one typed, as a simplex pair.
    const bool noneSet = call.ch.rxFreq == 0 && call.ch.txFreq == 0;
    ZeroAsBlank(call.ch);
    if (call.capsule.ConvFreqPair(call.ch, true, follow)) {
        if (follow && noneSet && !call.ch.IsRxBlank()) {
            call.ch.txFreq = call.ch.rxFreq;
            call.ch.flags &= uint8_t(~datCh::kTxBlank);
        }
        BlankAsZero(call.ch);
        call.ch.Save();
    }
    call.capsule.markPosition = kMarkPosRight;
    call.SetError(!call.ch.IsRxBlank() &&
                  !indValueRules::IsRxFreqValid(call.image, call.ch.rxFreq));
}

void TxFreq(indBehaveCall& call) {
    ZeroAsBlank(call.ch);
    if (call.capsule.ConvFreqPair(call.ch, false, false)) {
        BlankAsZero(call.ch);
        call.ch.Save();
    }
    call.capsule.markPosition = kMarkPosRight;
    call.SetError(
        !call.ch.IsTxBlank() &&
        !indValueRules::IsTxFreqValid(call.image, call.ch.txFreq, call.GeneralCoverageMode()));
}

void IdRxFreq(indBehaveCall& call) {
    RxFreq(call, true);
}

void IdComment(indBehaveCall& call) {
    if (call.capsule.ConvText(call.ch.name, MM::kDscNameLength))
        call.ch.Save();
    call.SetError(AllBlank(call.ch.name, MM::kDscNameLength));
}

void PairUse(indBehaveCall& call) {
    // At most six pairs may share use value 3: once six have it, the others are offered a list
    // without it.
    const bool full = call.ch.pairUse != kShareableUse &&
                      indValueRules::CountPairsUse3(call.image) >= indValueRules::kMaxPairsUse3;
    const char* list = full ? "GI_Sheet_Sel_Misc_Dsc_Use2" : "GI_Sheet_Sel_Misc_Dsc_Use1";
    int32_t use = call.ch.pairUse;
    if (call.capsule.ConvChoiceInt(list, use)) {
        call.ch.pairUse = uint8_t(use);
        call.ch.Save();
    }
}

void PairRx(indBehaveCall& call) {
    RxFreq(call, true);
}

void PairComment(indBehaveCall& call) {
    if (call.capsule.ConvText(call.ch.name, MM::kDscNameLength))
        call.ch.Save();
}

}  // namespace

void indRegisterDscBookBehaviours(indBehaveTable& table) {
    table.Set(CL_Dsc_Id_Adr, IdAddress);
    table.Set(CL_Dsc_Id_Atr, IdAttribute);
    table.Set(CL_Dsc_Id_FreqR, IdRxFreq);
    table.Set(CL_Dsc_Id_FreqT, TxFreq);
    table.Set(CL_Dsc_Id_Comment, IdComment);
    table.Set(CL_Dsc_RxTx_Use, PairUse);
    table.Set(CL_Dsc_RxTx_Rx, PairRx);
    table.Set(CL_Dsc_RxTx_Tx, TxFreq);
    table.Set(CL_Dsc_RxTx_Comment, PairComment);
}
