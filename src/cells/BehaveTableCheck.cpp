// Table checks: summary cells (tree nodes, the warning check list) that carry the error or notice
// mark of a whole table. Each scan stops at the first hit.
#include <initializer_list>

#include "cells/indActiveCell.h"
#include "cells/indBehave.h"
#include "memory/MemoryMap.h"

namespace {

namespace MM = MemoryMap;

// Any entry first..last of the category has an error on one of the labels.
bool AnyError(const indBehaveCall& call, int category, int first, int last,
              std::initializer_list<int> labels) {
    for (int n = first; n <= last; ++n) {
        for (int label : labels) {
            if (call.ErrorMarkOf(category, label, n))
                return true;
        }
    }
    return false;
}

void CheckUserChannels(indBehaveCall& call) {
    // Rows above the maximum user channel number show no marks of their own, so scanning the
    // whole table covers exactly the channels in use.
    call.SetError(AnyError(call, CT_UserCh, 1, MM::kUserChannelCount,
                           {CL_UCh_FreqR, CL_UCh_FreqT, CL_UCh_Mode}));
}

void CheckItuChannels(indBehaveCall& call) {
    call.SetError(
        AnyError(call, CT_ItuCh, 0, MM::kItuChannelCount - 1, {CL_ICh_Freq, CL_ICh_Mode}));
}

void CheckEMailChannels(indBehaveCall& call) {
    call.SetError(
        AnyError(call, CT_EMail, 0, MM::kEMailChannelCount - 1, {CL_EMail_FreqR, CL_EMail_FreqT}));
}

void CheckFreqRanges(indBehaveCall& call) {
    const std::initializer_list<int> ends = {CL_EdgeFreq_Low, CL_EdgeFreq_High};
    call.SetError(AnyError(call, CT_Edge_Rx, 0, 0, ends) ||
                  AnyError(call, CT_Edge_Itu, 0, MM::kItuEdgeCount - 1, ends) ||
                  AnyError(call, CT_Edge_Tx, 0, MM::kTxEdgeCount - 1, ends));
}

void CheckModeRegistrations(indBehaveCall& call) {
    bool notice = false;
    for (int n = 0; n < MM::kModeCount && !notice; ++n)
        notice = call.NoticeMarkOf(CT_ModeReg, CL_ModeReg_Indication, n);
    call.SetNotice(notice);
}

}  // namespace

void indRegisterTableCheckBehaviours(indBehaveTable& table) {
    table.Set(CL_Check_UserCh, CheckUserChannels);
    table.Set(CL_Check_ItuCh, CheckItuChannels);
    table.Set(CL_Check_EMail, CheckEMailChannels);
    table.Set(CL_Check_FreqRange, CheckFreqRanges);
    table.Set(CL_Check_ModeReg, CheckModeRegistrations);
}
