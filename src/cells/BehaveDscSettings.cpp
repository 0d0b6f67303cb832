// DSC common settings: the radio's own identity, the DSC mask, the ITU channel selection and the
// scan on/off bits.
#include "cells/BehaveDsc.h"
#include "cells/BehaveUtil.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellNames.h"
#include "cells/indBehave.h"
#include "memory/MemoryMap.h"
#include "memory/datCh.h"

namespace MM = MemoryMap;

namespace {

void DscMask(indBehaveCall& call) {
    call.capsule.ConvChoiceByte("GI_Sheet_Sel_DscMask", call.image[MM::kDscMask]);
}

void DscSelfId(indBehaveCall& call) {
    cmcCellCapsule& c = call.capsule;
    uint8_t* id = call.image + MM::kOwnIdentity;
    c.ConvDigits(id, MM::kIdentityDigits);
    if (datCh::HasNoIdentity(id)) {
        if (c.action != kActEdit)
            c.outputText = indBehaveUtil::DictionaryText(call, "GI_AppInd_Dsc_SelfIdOff");
        return;
    }
    // Ship station identities never begin with 0 (those are group and coast stations).
    call.SetError(datCh::DigitAt(id, 0) == 0);
}

void DscItuChannel(indBehaveCall& call) {
    call.capsule.ConvChoiceByte("GI_Sheet_Sel_Misc_ItuChSel", call.image[MM::kDscItuChannel]);
}

void DscScanOn(indBehaveCall& call) {
    const int bit = call.argument;
    if (bit < 0 || bit >= MM::kItemBitCount)
        return;  // no such item: nothing to show or change
    uint8_t* word = call.image + MM::kDscScanOn;
    const uint16_t w = uint16_t(word[0] | word[1] << 8);
    const uint16_t mask = uint16_t(1u << bit);
    int32_t on = (w & mask) != 0 ? 1 : 0;
    if (call.capsule.ConvChoiceInt("GI_Sheet_Sel_Misc_OnOff", on)) {
        const uint16_t changed = on != 0 ? uint16_t(w | mask) : uint16_t(w & ~mask);
        word[0] = uint8_t(changed);
        word[1] = uint8_t(changed >> 8);
    }
}

}  // namespace

void indRegisterDscSettingBehaviours(indBehaveTable& table) {
    table.Set(CL_Dsc_Mask, DscMask);
    table.Set(CL_Dsc_SelfId, DscSelfId);
    table.Set(CL_Dsc_Comm_ItuCh, DscItuChannel);
    table.Set(CL_Dsc_ScanOn, DscScanOn);
}
