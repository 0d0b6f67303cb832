// Loading and storing every record of every kind once over one image.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "cells/cmcCellCapsule.h"
#include "cells/datChEdit.h"
#include "cuiHeadlessMain.h"
#include "memory/MemoryMap.h"
#include "memory/datCh.h"
#include "text/cmcGTex.h"

namespace {

std::vector<uint8_t> SampleImage() {
    std::vector<uint8_t> image(MemoryMap::kImageSize);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = uint8_t(i * 7 + 3);
    image[MemoryMap::kMaxUserChannel] = 160;
    return image;
}

// Every (kind, entry) of the kind table; the item tables have 16 bits each.
template <typename F>
void ForEveryRecord(datCh& ch, F&& f) {
    for (int kind = datCh::kUserCh; kind < datCh::kKindCount; ++kind) {
        const int last = kind >= datCh::kFirstTelecommand ? 15 : ch.LastEntry(kind);
        for (int e = datCh::FirstEntry(kind); e <= last; ++e)
            f(kind, e);
    }
}

void BM_LoadAll(benchmark::State& state) {
    std::vector<uint8_t> image = SampleImage();
    datCh ch(image.data());
    for (auto _ : state) {
        int64_t sum = 0;
        ForEveryRecord(ch, [&](int kind, int e) {
            ch.Load(kind, e);
            sum += ch.rxFreq + ch.flags;
        });
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_LoadAll)->Unit(benchmark::kMicrosecond);

void BM_LoadStoreAll(benchmark::State& state) {
    std::vector<uint8_t> image = SampleImage();
    datCh ch(image.data());
    for (auto _ : state) {
        ForEveryRecord(ch, [&](int kind, int e) {
            ch.Load(kind, e);
            ch.Save();
        });
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_LoadStoreAll)->Unit(benchmark::kMicrosecond);

// A row edit over the longest list: insert at user channel 1 moves channels 1..159 down one row
// (the last row is empty, so nothing is asked).
void BM_InsertFirstUserChannel(benchmark::State& state) {
    static const char* const kTexts[] = {"#GI_Sys_AppTitle", "PQ-T590", "#GI_AppMess_S_Insert",
                                         "Inserted", "#End_Of_Ovl"};
    cmcGTex dictionary;
    dictionary.SetLines(kTexts, sizeof kTexts / sizeof kTexts[0]);
    cuiHeadlessMain main;
    main.SetDictionary(&dictionary);
    const cuiMainCore core = main.Core();
    uint8_t* image = main.WorkingData();
    image[MemoryMap::kMaxUserChannel] = 160;
    datCh ch(image);
    for (auto _ : state) {
        ch.SetEmpty(datCh::kUserCh, 160);
        ch.Save();
        ch.Load(datCh::kUserCh, 1);
        cmcCellCapsule capsule;
        capsule.core = &core;
        datChEdit::Run(datChEdit::kInsert, capsule, ch, 1, 160);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_InsertFirstUserChannel)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
