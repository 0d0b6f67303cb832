// Mode selection entries (the rows of the mode choice lists) and mode registration: which of the
// six modes the radio offers and the 3-character indication that names each.
#include <string>

#include "cells/BehaveSettings.h"
#include "cells/BehaveUtil.h"
#include "cells/ValueConvText.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellNames.h"
#include "cells/indBehave.h"
#include "cells/indValueRules.h"
#include "memory/MemoryMap.h"
#include "memory/datCh.h"

namespace MM = MemoryMap;
using indBehaveUtil::DictionaryLine;

namespace {

constexpr const char* kModeNames = "GI_AppInd_Mode";
// The mode registration entry whose use value is fixed.
constexpr int kFixedModeEntry = 1;
// The mode registration entry whose use list is the receive-only one.
constexpr int kRxModeEntry = 2;

// The indication of a mode as a cell shows it: unprintable bytes as blanks, trailing blanks off.
std::string ShownModeName(const datCh& ch, int mode) {
    std::string name = ch.ModeName(mode);
    for (char& ch : name) {
        if (!ValueConvText::IsPrintable(static_cast<unsigned char>(ch)))
            ch = ' ';
    }
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}

void SelModeU(indBehaveCall& call) {
    call.capsule.outputText = ShownModeName(call.ch, call.argument);
    call.SetError(!indValueRules::IsModeAvailable(call.image, call.argument));
}

void SelModeF(indBehaveCall& call) {
    call.capsule.outputText = "(" + DictionaryLine(call, kModeNames, call.argument) + ")";
}

void ModeRegName(indBehaveCall& call) {
    call.capsule.outputText = DictionaryLine(call, kModeNames, call.argument);
}

void ModeRegIndication(indBehaveCall& call) {
    call.RestrictEdit(call.ExpertMode());
    if (call.capsule.ConvText(call.ch.indication, MM::kModeIndicationLength))
        call.ch.Save();
    bool blank = true;
    for (char ch : call.ch.indication)
        blank = blank && ch == ' ';
    call.SetNotice(blank);
    call.capsule.markPosition = kMarkPosRight;
}

void ModeRegUse(indBehaveCall& call) {
    call.RestrictEdit(call.argument != kFixedModeEntry);
    const char* list =
        call.argument == kRxModeEntry ? "GI_Sheet_Sel_ModeRx" : "GI_Sheet_Sel_ModeOk";
    int32_t use = call.ch.useValue;
    if (call.capsule.ConvChoiceInt(list, use)) {
        call.ch.useValue = uint8_t(use);
        call.ch.Save();
    }
}

}  // namespace

void indRegisterModeBehaviours(indBehaveTable& table) {
    table.Set(CL_Sel_Mode_U, SelModeU);
    table.Set(CL_Sel_Mode_F, SelModeF);
    table.Set(CL_ModeReg_Name, ModeRegName);
    table.Set(CL_ModeReg_Indication, ModeRegIndication);
    table.Set(CL_ModeReg_Use, ModeRegUse);
}
