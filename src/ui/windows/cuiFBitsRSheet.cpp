// The bit-field editor's sheet: the generated resource text, the behaviour of its bit cells and
// the tick that marks a set bit.
#include <cstdio>

#include "cells/cmcCellCanvas.h"
#include "cells/cmcCellNames.h"
#include "cells/cmcCellObj.h"
#include "cells/indActiveCell.h"
#include "text/cmcGTex.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/windows/cuiFBitsR.h"

namespace {

// Cell n stands for bit kTopBit - n of the value.
constexpr int kTopBit = 26;

// The items of the generated sheet's two pop-up menus, "no item" and "edit".
constexpr const char* kMenuItemsKey = "GI_Sheet_FBitsR_PMenu";

}  // namespace

std::vector<std::string> cuiFBitsR::GenerateBitSheet(int firstBit, int lastBit, int headerStyle) {
    const int count = lastBit - firstBit + 1;
    std::string headings;
    for (int b = firstBit; b <= lastBit; ++b) {
        char cell[48];
        if (headerStyle == kHeaderHex)
            std::snprintf(cell, sizeof cell, "|{($iChI)}%X|", unsigned(b));
        else
            std::snprintf(cell, sizeof cell, "|{($iChI)}%d|",
                          headerStyle == kHeaderTenAsZero && b == 10 ? 0 : b);
        headings += cell;
    }
    std::string bits;
    for (int l = 1; l <= count; ++l) {
        char cell[48];
        std::snprintf(cell, sizeof cell, "[%d])}9|", l);
        bits += "|{($eWh)^(%CL_FBits";
        bits += cell;
        if (l < count)
            bits += "{($iQp)}";
    }
    // The items of the pop-up menus the sheet names, from the program's dictionary.
    cmcGTex& texts = *cmcGTex::Main();
    return {
        "#GI_Sheet_FBitsR_Style",
        "(FixedCols=1)(FixedRows=1)",
        "#GI_Sheet_FBitsR_BasicCell",
        "{($Basic)(PopupMenu=GI_PMenu_NoItem)}",
        "#GI_Sheet_FBitsR_Cells",
        "",
        headings,
        "",
        bits,
        "",
        "",
        "#",
        "#CellModel_iChI",
        "^-WH(Color=clGray)(Font=,,clWhite,,,fsBold,)",
        "#CellModel_eWh",
        "S<_WHB",
        "#CellModel_iQp",
        "(%CT_Null.CL_Misc_QuarterPillar)",
        "#CellModel_Basic",
        "<-(Color=clWindow)(Font=DEFAULT_CHARSET,,clWindowText,-17,,,)(PopupMenu=GI_PMenu_Edit)",
        "#GI_PMenu_NoItem_BasicCell",
        "{($Basic)}",
        "#GI_PMenu_NoItem_Body",
        texts.Line(kMenuItemsKey, 0),
        "#",
        "#GI_PMenu_Edit_BasicCell",
        "{($Basic)(%CT_PopupMenu.)}",
        "#GI_PMenu_Edit_Body",
        texts.Line(kMenuItemsKey, 1),
        "#",
        "#End_Of_Ovl",
        "",
    };
}

void cuiFBitsR::DrawTick(cmcCellCanvas& canvas, const cmcCellRect& cell, uint32_t color) {
    const int w = cell.right - cell.left;
    const int h = cell.bottom - cell.top;
    const int s = std::min(w, h);
    const int dx = int(((w - s) + 0.3 * s) / 2);
    const int dy = int(((h - s) + 0.3 * s) / 2);
    static constexpr double kShape[6][2] = {{0, 0.4},  {0, 0.6},  {0.4, 1},
                                            {1, 0.35}, {1, 0.15}, {0.4, 0.7}};
    cmcCellCanvas::Point points[6];
    for (int i = 0; i < 6; ++i) {
        points[i].x = int(cell.left + dx + kShape[i][0] * 0.7 * s);
        points[i].y = int(cell.top + dy + kShape[i][1] * 0.7 * s);
    }
    canvas.DrawPolygon(points, 6, color);
}

// The sheet's behaviour while the editor is open: the bit cells show and toggle bits of the
// value; every other cell behaves as anywhere else.
int cuiFBitsR::Behaviour(void* self, cmcCellCapsule& k, bool notify) {
    auto* editor = static_cast<cuiFBitsR*>(self);
    editor->opening_.parent = nullptr;
    if (k.cell == nullptr)
        return kActNone;
    if (k.cell->label != CL_FBits)
        return indActiveCell(editor->core_).Evaluate(k, false);

    k.outputText.clear();
    const int bitNumber = kTopBit - k.cell->argument;
    // A cell beyond the value's 32 bits (a resource sheet's mistake) shows and edits nothing.
    if (bitNumber < 0 || bitNumber > 31)
        return kActNone;
    const uint32_t mask = uint32_t(1) << bitNumber;
    if (k.key == kKeySpace || k.key == kKeyDoubleClick)
        editor->value_ ^= mask;
    if (k.canvas && (editor->value_ & mask)) {
        if (editor->markStyle_ == kMarkText)
            k.outputText = "o";
        else if (k.cellRect)
            DrawTick(*k.canvas, *k.cellRect, k.canvas->FontColor());
    }
    if (notify && k.redraw)
        k.redraw(k.redrawData, k, cuiSheet::kMatchLabelArgument);
    return kActNone;
}
