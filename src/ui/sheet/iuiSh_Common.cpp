#include "ui/sheet/iuiSh_Common.h"

#include "cells/cmcCellScan.h"

void iuiSh_Common::ApplyDirective(const std::string& group) {
    if (!cellscan::StartsWith(group, "Only_2182")) {
        cuiSheet::ApplyDirective(group);
        return;
    }
    const std::size_t blank = group.find(' ');
    if (blank == std::string::npos || blank + 1 >= group.size())
        return;
    SetSkipCount(cellscan::Decimal(std::string_view(group).substr(blank + 1)));
}
