#include "cells/cmcSheetText.h"

#include <string_view>

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCellParser.h"
#include "cells/cuiMainCore.h"
#include "cells/indActiveCell.h"
#include "text/cmcGTex.h"

std::vector<std::string> cmcSheetRowTexts(const cuiMainCore& core, const std::string& sheetName) {
    std::vector<std::string> rows;
    cmcGTex& dictionary = core.document.Dictionary();
    cmcCellObj basic;
    ParseCell(dictionary.Text(sheetName + "_BasicCell"), basic, nullptr, nullptr);
    const std::string cells = sheetName + "_Cells";
    for (int i = 0;; ++i) {
        const std::string line = dictionary.Line(cells, i);
        if (!line.empty() && line[0] == '#')
            break;
        std::string row;
        std::string_view rest = line;
        do {
            cmcCellObj cell;
            cell.parent = &basic;
            cell.Reset();
            rest = ParseCell(rest, cell, nullptr, &basic);
            std::string text = cell.GetText();
            if (cell.label != CL_None) {
                cmcCellCapsule capsule;
                capsule.cell = &cell;
                indActiveCell(core).Evaluate(capsule, false);
                text = capsule.outputText;
            }
            if (!row.empty())
                row += ": ";
            row += text;
        } while (!rest.empty());
        rows.push_back(row);
    }
    return rows;
}
