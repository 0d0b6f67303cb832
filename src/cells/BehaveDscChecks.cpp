// DSC table checks: summary cells (tree nodes, the warning check list) that carry the error or
// notice mark of a whole DSC table. Each scan stops at the first hit.
#include <initializer_list>

#include "cells/BehaveDsc.h"
#include "cells/adrHash.h"
#include "cells/cmcCellNames.h"
#include "cells/indActiveCell.h"
#include "cells/indBehave.h"
#include "memory/MemoryMap.h"

namespace MM = MemoryMap;

namespace {

constexpr int kCategoryItemsChecked = 4;  // items 0..3 carry the column rules

bool AnyError(const indBehaveCall& call, int category, int count,
              std::initializer_list<int> labels) {
    for (int n = 0; n < count; ++n) {
        for (int label : labels) {
            if (call.ErrorMarkOf(category, label, n))
                return true;
        }
    }
    return false;
}

void CheckSelfId(indBehaveCall& call) {
    call.SetError(call.ErrorMarkOf(CT_Null, CL_Dsc_SelfId, 0));
}

void CheckAddressBook(indBehaveCall& call) {
    if (AnyError(call, CT_DscId, MM::kDscIdCount,
                 {CL_Dsc_Id_FreqR, CL_Dsc_Id_FreqT, CL_Dsc_Id_Comment})) {
        call.SetError(true);
        return;
    }
    call.SetNotice(adrHash::HasDuplicateIdentity(call.image));
}

void CheckPairs(indBehaveCall& call) {
    call.SetError(AnyError(call, CT_DscRxTx, MM::kDscPairCount, {CL_Dsc_RxTx_Rx, CL_Dsc_RxTx_Tx}));
}

void CheckCategories(indBehaveCall& call) {
    call.SetError(AnyError(call, CT_DscCate, kCategoryItemsChecked,
                           {CL_Dsc_Cate_All, CL_Dsc_Cate_Grp, CL_Dsc_Cate_Ind, CL_Dsc_Cate_Pos}));
}

}  // namespace

void indRegisterDscCheckBehaviours(indBehaveTable& table) {
    table.Set(CL_Check_Dsc_SelfId, CheckSelfId);
    table.Set(CL_Check_Dsc_AdrId, CheckAddressBook);
    table.Set(CL_Check_Dsc_RxTxFreq, CheckPairs);
    table.Set(CL_Check_Dsc_Cate, CheckCategories);
}
