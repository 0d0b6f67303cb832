// Cell parser speed: the cell lines of a 160-row channel sheet template (ten cells a row, most of
// them built on models), parsed the way the sheet builder does, with the models read from a main
// dictionary over a resource file or over lines in memory.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "cells/cmcCellObj.h"
#include "cells/cmcCellParser.h"
#include "text/cmcGTex.h"

namespace {

constexpr int kRows = 160;

const char* const kModels[] = {
    "#CellModel_Basic",
    "<-(Color=clWindow)(Font=DEFAULT_CHARSET,,clWindowText,-17,,,)(PopupMenu=GI_PMenu_Edit)",
    "#CellModel_iChI",
    "^-WH(Color=clGray)(Font=,,clWhite,,,fsBold,)",
    "#CellModel_iNo",
    "($iChI)>(Color=clBtnFace)",
    "#CellModel_eWh",
    "S<_WHB",
    "#CellModel_eFreq",
    "($eWh)>(Font=,,clNavy,,,,)",
    "#CellModel_eMode",
    "($eWh)^",
    "#CellModel_eText",
    "($eWh)<W",
    "#End_Of_Ovl",
};

// One row of the channel sheet: number, receive and transmit frequency, mode, comment, and the
// narrow separator and attached cells between them.
std::string RowTemplate() {
    return "|{($iNo)(@ch0++)}\\(@ch0)"
           "|{($eFreq)(%CT_UserCh.CL_UCh_FreqR[@ch0])}"
           "|{($iChI)T}kHz"
           "|{($eFreq)(%CT_UserCh.CL_UCh_FreqT[@ch0])}"
           "|{($iChI)T}kHz"
           "|{($eMode)(%CT_UserCh.CL_UCh_Mode[@ch0])}"
           "|{($eText)(%CT_UserCh.CL_UCh_Comment[@ch0])}"
           "|{(%CT_Null.CL_Misc_QuarterPillar)}"
           "|{($eWh)!S+}"
           "|{(Color=clLtGray)B}\\_";
}

int ParseSheet(const std::vector<std::string>& rows) {
    std::int32_t counters[10] = {};
    cmcCellObj basic;
    ParseCell("{($Basic)}", basic, counters, nullptr);
    cmcCellObj cell;
    int cells = 0;
    for (const std::string& row : rows) {
        std::string_view rest = row;
        do {
            rest = ParseCell(rest, cell, counters, &basic);
            ++cells;
        } while (!rest.empty());
    }
    return cells;
}

void RunSheet(benchmark::State& state, cmcGTex& dict) {
    cmcGTex::SetMain(&dict);
    const std::vector<std::string> rows(kRows, RowTemplate());
    int cells = 0;
    for (auto _ : state) {
        cells = ParseSheet(rows);
        benchmark::DoNotOptimize(cells);
    }
    cmcGTex::SetMain(nullptr);
    state.SetItemsProcessed(state.iterations() * cells);
    state.counters["cells_per_sheet"] = cells;
}

void BM_ChannelSheetModelsInMemory(benchmark::State& state) {
    cmcGTex dict;
    dict.SetLines(kModels, sizeof(kModels) / sizeof(kModels[0]));
    RunSheet(state, dict);
}
BENCHMARK(BM_ChannelSheetModelsInMemory)->Unit(benchmark::kMicrosecond);

void BM_ChannelSheetModelsInFile(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/BENCH.OVL";
    {
        std::ofstream out(path, std::ios::binary);
        // Other sections in front, as in the real file, so that model lookups walk and cache.
        for (int i = 0; i < 300; ++i)
            out << "#GI_Filler_" << i << "\r\nfiller text\r\n";
        for (const char* line : kModels)
            out << line << "\r\n";
    }
    cmcGTex dict;
    dict.SetFile(path);
    RunSheet(state, dict);
}
BENCHMARK(BM_ChannelSheetModelsInFile)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
