// What the settings and DSC cells cost where they run most: a repaint of the common settings
// sheet, and the DSC table checks that the warning check runs 250 ms after every edit, over a
// full address book and pair list.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellNames.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "cells/indActiveCell.h"
#include "cuiHeadlessMain.h"
#include "memory/MemoryMap.h"
#include "memory/datCh.h"
#include "text/cmcGTex.h"

namespace MM = MemoryMap;

namespace {

// The directory of the benchmark program, where the build copies the resources.
std::string g_resourceDir;

// The product's resources beside the benchmark, and an image with every DSC entry in use.
struct Setup {
    cmcGTex dict;
    cmcFCache cache{&dict};
    ScopedHeadlessMain main;

    Setup() {
        dict.SetFile(g_resourceDir + "PQT590.OVL");
        cmcGTex::SetMain(&dict);
        main->SetDictionary(&dict);
        main->SetSectionCache(&cache);
        uint8_t* image = main->WorkingData();
        datCh ch(image);
        ch.Load(datCh::kRxEdge, 0);
        ch.lowEdge = 30000;
        ch.highEdge = 29999999;
        ch.Save();
        ch.Load(datCh::kTxEdge, 0);
        ch.lowEdge = 1600000;
        ch.highEdge = 29999999;
        ch.Save();
        for (int e = 0; e < MM::kDscIdCount; ++e) {
            ch.SetEmpty(datCh::kDscId, e);
            for (int k = 0; k < MM::kIdentityDigits; ++k)
                datCh::SetDigitAt(ch.identity, k, (e / (k % 3 + 1) + k) % 10);
            datCh::SetDigitAt(ch.identity, 0, 2);
            std::memcpy(ch.name, "Station   ", sizeof ch.name);
            ch.rxFreq = ch.txFreq = 2187500;
            ch.attribute = 0;
            ch.Save();
        }
        for (int e = 0; e < MM::kDscPairCount; ++e) {
            ch.SetEmpty(datCh::kDscPair, e);
            ch.pairUse = 1;
            ch.rxFreq = ch.txFreq = 8414500;
            ch.Save();
        }
        for (int w : {MM::kCategoryAllWord, MM::kCategoryGrpWord, MM::kCategoryIndWord,
                      MM::kCategoryPosWord}) {
            image[w] = 0x0F;
        }
    }
    ~Setup() { cmcGTex::SetMain(nullptr); }
};

int Show(Setup& setup, int category, int label, int argument) {
    cmcCellObj cell;
    cell.category = category;
    cell.label = label;
    cell.argument = argument;
    cmcCellCapsule c;
    c.cell = &cell;
    indActiveCell active(setup.main.Core());
    active.Evaluate(c, false);
    return int(c.outputText.size()) + c.markBits;
}

void BM_CommonSheetRepaint(benchmark::State& state) {
    Setup setup;
    for (auto _ : state) {
        int sum = 0;
        for (int label = CL_Comm_CloneComm; label <= CL_Comm_RfGain; ++label)
            sum += Show(setup, CT_Null, label, 0);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_CommonSheetRepaint)->Unit(benchmark::kMicrosecond);

void BM_DscTableChecks(benchmark::State& state) {
    Setup setup;
    for (auto _ : state) {
        int sum = 0;
        for (int label = CL_Check_Dsc_SelfId; label <= CL_Check_Dsc_Cate; ++label)
            sum += Show(setup, CT_Null, label, 0);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_DscTableChecks)->Unit(benchmark::kMicrosecond);

// The address column of a full book: each cell looks for an earlier equal identity.
void BM_AddressBookColumn(benchmark::State& state) {
    Setup setup;
    for (auto _ : state) {
        int sum = 0;
        for (int e = 0; e < MM::kDscIdCount; ++e)
            sum += Show(setup, CT_DscId, CL_Dsc_Id_Adr, e);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_AddressBookColumn)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    const std::string self = argv[0];
    const size_t slash = self.find_last_of("/\\");
    g_resourceDir = slash == std::string::npos ? std::string() : self.substr(0, slash + 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
