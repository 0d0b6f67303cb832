// The warning check: the checks of the resource list evaluated on the working image.
#include <string>

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCellParser.h"
#include "cells/indActiveCell.h"
#include "profile/ModelProfile.h"
#include "text/cmcGTex.h"

namespace ModelProfile {

WarningLists RunWarningCheck(const cuiMainCore& core) {
    WarningLists lists;
    cmcGTex& dictionary = core.document.Dictionary();
    indActiveCell active(core);
    bool lastHasReference = false;
    for (int i = 0;; ++i) {
        const std::string line = dictionary.Line(kWarningCheckListKey, i);
        if (!line.empty() && line[0] == '#')
            break;
        cmcCellObj cell;
        ParseCell(line, cell, nullptr, nullptr);
        cmcCellCapsule capsule;
        capsule.cell = &cell;
        active.Evaluate(capsule, false);
        const std::string reference = cell.argText.value_or(std::string());
        if (capsule.markBits & kMarkError)
            lists.errors.push_back(reference);
        else if (capsule.markBits & kMarkNotice)
            lists.notices.push_back(reference);
        lastHasReference = cell.argText.has_value();
    }
    lists.marksTree = lastHasReference;
    return lists;
}

}  // namespace ModelProfile
