// Placeholders, row numbers, the grey column marker and read-only cells.
#include <string>

#include "cells/cmcCellCanvas.h"
#include "cells/cmcCellObj.h"
#include "cells/indBehave.h"

namespace {

constexpr uint32_t kGrey = 0x808080;

void ShowNothing(indBehaveCall&) {}

void ShowOwnText(indBehaveCall& call) {
    call.capsule.outputText = call.cell->GetText();
}

void ChannelNumberFrom0(indBehaveCall& call) {
    call.capsule.outputText = std::to_string(call.argument);
}

void ChannelNumberFrom1(indBehaveCall& call) {
    call.capsule.outputText = std::to_string(call.argument + 1);
}

// While drawing: the lower three tenths of the cell in grey.
void QuarterPillar(indBehaveCall& call) {
    cmcCellCapsule& c = call.capsule;
    if (c.canvas == nullptr || c.cellRect == nullptr)
        return;
    const cmcCellRect& r = *c.cellRect;
    const int top = r.bottom - (r.bottom - r.top) * 3 / 10;
    c.canvas->FillRect(r.left, top, r.right, r.bottom, kGrey);
}

// Read-only; while drawing, a grey diagonal marks the cell as not editable.
void CannotEdit(indBehaveCall& call) {
    call.RestrictEdit(false);
    cmcCellCapsule& c = call.capsule;
    if (c.canvas == nullptr || c.cellRect == nullptr)
        return;
    const cmcCellRect& r = *c.cellRect;
    c.canvas->DrawLine(r.right - 1, r.top, r.left, r.bottom - 1, kGrey);
}

void Dummy(indBehaveCall& call) {
    call.RestrictEdit(false);
    ShowOwnText(call);
}

}  // namespace

void indRegisterSmallCellBehaviours(indBehaveTable& table) {
    table.Set(CL_Null, ShowNothing);
    table.Set(CL_None, ShowNothing);
    table.Set(Flex0, ShowOwnText);
    table.Set(CL_Misc_ChNo_0Base, ChannelNumberFrom0);
    table.Set(CL_Misc_ChNo_1Base, ChannelNumberFrom1);
    table.Set(CL_Misc_QuarterPillar, QuarterPillar);
    table.Set(CL_CannotEdit, CannotEdit);
    table.Set(CL_Dummy, Dummy);
}
