// The DSC item enable tables: one caption cell and one value cell per item. A value cell whose
// argument text begins with "i" shows a value the radio fixes: read-only and never marked.
#include "cells/BehaveDsc.h"
#include "cells/BehaveUtil.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellNames.h"
#include "cells/cmcCellObj.h"
#include "cells/indBehave.h"
#include "cells/indValueRules.h"
#include "memory/datCh.h"

namespace {

constexpr const char* kTinyEnable = "GI_Sheet_Sel_Misc_TinyEnable";
constexpr int kCallSelInhibited = 2;

bool ArgTextBegins(const indBehaveCall& call, char first) {
    return call.cell != nullptr && call.cell->argText && !call.cell->argText->empty() &&
           (*call.cell->argText)[0] == first;
}

bool IsFixedValue(const indBehaveCall& call) {
    return ArgTextBegins(call, 'i');
}

// Edits one enable bit of the loaded item record; true after a change (already written back).
bool EnableBit(indBehaveCall& call, uint8_t bit) {
    call.RestrictEdit(!IsFixedValue(call));
    int32_t on = (call.ch.itemBits & bit) != 0 ? 1 : 0;
    if (!call.capsule.ConvChoiceInt(kTinyEnable, on))
        return false;
    call.ch.itemBits = on != 0 ? uint8_t(call.ch.itemBits | bit) : uint8_t(call.ch.itemBits & ~bit);
    call.ch.Save();
    return true;
}

void Caption(indBehaveCall& call, const char* key) {
    call.capsule.outputText = indBehaveUtil::DictionaryLine(call, key, call.argument);
}

void NatureItem(indBehaveCall& call) {
    Caption(call, "GI_AppInd_NatureItem");
}
void CallSelItem(indBehaveCall& call) {
    Caption(call, "GI_AppInd_CallSelItem");
}
void CateItem(indBehaveCall& call) {
    Caption(call, "GI_AppInd_CateItem");
}
void FirstTelItem(indBehaveCall& call) {
    Caption(call, "GI_AppInd_1stTelItem");
}
void ReasonItem(indBehaveCall& call) {
    Caption(call, "GI_AppInd_ReasonItem");
}

void NatureValue(indBehaveCall& call) {
    EnableBit(call, datChFields::kItemNature);
}
void FirstTelValue(indBehaveCall& call) {
    EnableBit(call, datChFields::kItemFirstTelecommand);
}
void ReasonValue(indBehaveCall& call) {
    EnableBit(call, datChFields::kItemReason);
}

void CallSelValue(indBehaveCall& call) {
    call.RestrictEdit(!IsFixedValue(call));
    const char* list =
        ArgTextBegins(call, 'R') ? "GI_Sheet_Sel_DscCallSel_R" : "GI_Sheet_Sel_DscCallSel";
    int32_t value = call.ch.callSelection;
    if (call.capsule.ConvChoiceInt(list, value)) {
        call.ch.callSelection = uint8_t(value);
        call.ch.Save();
    }
}

// Shows its own text beside call selection items that are not inhibited.
void CallInhibit(indBehaveCall& call) {
    datCh item(call.image, call.ch.ImageSize());
    item.Load(datCh::kCallSel, call.argument);
    if (item.callSelection != kCallSelInhibited && call.cell != nullptr)
        call.capsule.outputText = call.cell->GetText();
}

// The category columns: each must keep at least its one required item enabled.
struct CateColumn {
    int label;
    uint8_t bit;
};
constexpr CateColumn kCateColumns[] = {
    {CL_Dsc_Cate_All, datChFields::kItemCategoryAll},
    {CL_Dsc_Cate_Grp, datChFields::kItemCategoryGrp},
    {CL_Dsc_Cate_Ind, datChFields::kItemCategoryInd},
    {CL_Dsc_Cate_Pos, datChFields::kItemCategoryPos},
};

void CateValue(indBehaveCall& call) {
    uint8_t bit = 0;
    for (const CateColumn& column : kCateColumns) {
        if (column.label == call.label)
            bit = column.bit;
    }
    // A column's rule looks at several items: every cell of the table may change its mark.
    if (EnableBit(call, bit))
        call.criteria |= kCriteriaAllLabelled;
    if (!IsFixedValue(call))
        call.SetError((indValueRules::DscCategoryColumns(call.image) & bit) == 0);
}

}  // namespace

void indRegisterDscItemBehaviours(indBehaveTable& table) {
    table.Set(CL_Dsc_Nature_Item, NatureItem);
    table.Set(CL_Dsc_Nature_Val, NatureValue);
    table.Set(CL_Dsc_CallSel_Item, CallSelItem);
    table.Set(CL_Dsc_CallSel_Val, CallSelValue);
    table.Set(CL_Dsc_CallInh, CallInhibit);
    table.Set(CL_Dsc_Cate_Item, CateItem);
    for (const CateColumn& column : kCateColumns)
        table.Set(column.label, CateValue);
    table.Set(CL_Dsc_1stTel_Item, FirstTelItem);
    table.Set(CL_Dsc_1stTel_1st, FirstTelValue);
    table.Set(CL_Dsc_Reason_Item, ReasonItem);
    table.Set(CL_Dsc_Reason_Val, ReasonValue);
}
