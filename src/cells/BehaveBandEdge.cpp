// Band edges and the expansion settings: the radio's frequency limits, editable by experts only.
#include "cells/indBehave.h"
#include "cells/indValueRules.h"
#include "memory/MemoryMap.h"

namespace {

constexpr const char* kEnableList = "GI_Sheet_Sel_Misc_Enable_I";
constexpr const char* kFreqProgList = "GI_Sheet_Sel_FProg";

void Edge(indBehaveCall& call, bool low) {
    call.RestrictEdit(call.ExpertMode());
    call.capsule.markPosition = kMarkPosRight;
    int32_t& value = low ? call.ch.lowEdge : call.ch.highEdge;
    const bool mayBeUnset = call.kind == datCh::kTxEdge;
    if (call.capsule.ConvFreq(call.ch, value, true, mayBeUnset)) {
        if (value < 1)
            value = -1;
        call.ch.SaveAndReload();
        // Every frequency cell is checked against the edges.
        call.criteria |= kCriteriaAllLabelled;
    }
    const indValueRules::EdgeValidity valid =
        indValueRules::EdgeValid(call.image, call.kind, call.argument);
    call.SetError(!(low ? valid.low : valid.high));
}

void EdgeLow(indBehaveCall& call) {
    Edge(call, true);
}

void EdgeHigh(indBehaveCall& call) {
    Edge(call, false);
}

bool Bit(const uint8_t* image, int bit) {
    return (image[MemoryMap::kExpansion] >> bit) & 1;
}

void SetBit(uint8_t* image, int bit, bool on) {
    uint8_t& b = image[MemoryMap::kExpansion];
    b = on ? uint8_t(b | (1u << bit)) : uint8_t(b & ~(1u << bit));
}

void ExpansionBit(indBehaveCall& call, int bit) {
    call.RestrictEdit(call.ExpertMode());
    int32_t value = Bit(call.image, bit) ? 1 : 0;
    if (call.capsule.ConvChoiceInt(kEnableList, value))
        SetBit(call.image, bit, value != 0);
}

void CrossChannel(indBehaveCall& call) {
    ExpansionBit(call, MemoryMap::kExpansionCrossChBit);
}

void ItuChannels(indBehaveCall& call) {
    ExpansionBit(call, MemoryMap::kExpansionItuChBit);
}

// Frequency programming, 0..3: the high bit is bit 2 and the low bit is bit 3 of the byte.
void FreqProgramming(indBehaveCall& call) {
    call.RestrictEdit(call.ExpertMode());
    int32_t value = (Bit(call.image, MemoryMap::kExpansionFreqProgHighBit) ? 2 : 0) +
                    (Bit(call.image, MemoryMap::kExpansionFreqProgLowBit) ? 1 : 0);
    if (call.capsule.ConvChoiceInt(kFreqProgList, value)) {
        SetBit(call.image, MemoryMap::kExpansionFreqProgHighBit, (value & 2) != 0);
        SetBit(call.image, MemoryMap::kExpansionFreqProgLowBit, (value & 1) != 0);
    }
}

}  // namespace

void indRegisterBandEdgeBehaviours(indBehaveTable& table) {
    table.Set(CL_EdgeFreq_Low, EdgeLow);
    table.Set(CL_EdgeFreq_High, EdgeHigh);
    table.Set(CL_Exp_CrossChOp, CrossChannel);
    table.Set(CL_Exp_ItuCh, ItuChannels);
    table.Set(CL_Exp_FreqProg, FreqProgramming);
}
