#include "cells/indWarningCheck.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCellParser.h"
#include "cells/indActiveCell.h"
#include "text/cmcGTex.h"

indWarningCheck indWarningCheck::Run(cmcGTex& dictionary) {
    indWarningCheck result;
    for (int i = 0;; ++i) {
        const std::string line = dictionary.Line("GI_WarningCheckList", i);
        if (!line.empty() && line[0] == '#')
            break;
        cmcCellObj cell;
        ParseCell(line, cell, nullptr, nullptr);
        cmcCellCapsule capsule;
        capsule.cell = &cell;
        indActiveCell().Evaluate(capsule, false);
        const std::string sheet = cell.argText ? *cell.argText : std::string();
        if (capsule.markBits & kMarkError)
            result.errorSheets.push_back(sheet);
        else if (capsule.markBits & kMarkNotice)
            result.noticeSheets.push_back(sheet);
    }
    return result;
}
