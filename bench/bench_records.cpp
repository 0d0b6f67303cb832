// Loading and storing every record of every kind once over one image.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "memory/MemoryMap.h"
#include "memory/datCh.h"

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

}  // namespace

BENCHMARK_MAIN();
