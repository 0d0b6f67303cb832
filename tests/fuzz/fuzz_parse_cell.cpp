// libFuzzer target for the cell description parser: any row text, parsed cell by cell against a
// basic cell and a main dictionary of models, must end in cells or in the fatal error of a bad
// description (an exception under the test host), never in a crash or a hang.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cells/cmcCellObj.h"
#include "cells/cmcCellParser.h"
#include "cmcTestHost.h"
#include "text/cmcGTex.h"
#include "text/cmcMbcs.h"

namespace {

struct Setup {
    Setup() {
        static const char* const kLines[] = {
            "#CellModel_Basic",
            "<-(Color=clWindow)(Font=DEFAULT_CHARSET,,clWindowText,-17,,,)(PopupMenu=GI_PMenu_"
            "Edit)",
            "#CellModel_eWh",
            "S<_WHB",
            "#CellModel_iQp",
            "(%CT_Null.CL_Misc_QuarterPillar)",
            "#CellModel_A",
            "($B)W",
            "#CellModel_B",
            "($A)H",
            "#End_Of_Ovl",
        };
        dict.SetLines(kLines, sizeof(kLines) / sizeof(kLines[0]));
        cmcGTex::SetMain(&dict);
        cmcHost::Install(&host);
        std::int32_t counters[10] = {};
        ParseCell("{($Basic)}", basic, counters, nullptr);
    }
    cmcGTex dict;
    cmcTestHost host;
    cmcCellObj basic;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Setup setup;
    if (size == 0)
        return 0;
    // The first byte picks the code page, so that the double-byte paths are explored too.
    SetMbCodePage(data[0] & 1 ? 932 : 0);
    std::string_view row(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::int32_t counters[10] = {};
    cmcCellObj cell;
    for (int guard = 0; guard <= static_cast<int>(size); ++guard) {
        try {
            row = ParseCell(row, cell, counters, &setup.basic);
        } catch (const cmcFatalError&) {
            break;
        }
        if (row.empty())
            break;
    }
    setup.host.Clear();
    return 0;
}
