// Text dictionary speed: indexing a whole resource file of 10,000 lines, and random line lookups
// over it (the pattern of sheets being built and repainted).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "text/cmcGTex.h"

namespace {

constexpr int kSections = 2000;
constexpr int kBodyLines = 4;  // header + 4 body lines: 10,000 lines in all

std::string KeyOf(int i) {
    return "GI_Bench_Section_" + std::to_string(i);
}

// A resource file of the usual shape, written once per run.
class BenchFile {
public:
    BenchFile() {
        path_ = dir_.path().toStdString() + "/BENCH.OVL";
        std::ofstream out(path_, std::ios::binary);
        for (int i = 0; i < kSections; ++i) {
            out << '#' << KeyOf(i) << "\r\n";
            for (int n = 0; n < kBodyLines; ++n)
                out << "|{($iChI)}Row " << n << "|{($eWh)(%CT_UserCh.CL_UCh_FreqR[" << i
                    << "])}|{($eWh)(%CT_UserCh.CL_UCh_Mode[" << i << "])}|\r\n";
        }
        out << "#End_Of_Ovl\r\n";
    }
    const std::string& Path() const { return path_; }

private:
    QTemporaryDir dir_;
    std::string path_;
};

const BenchFile& File() {
    static BenchFile file;
    return file;
}

void BM_IndexWholeFile(benchmark::State& state) {
    const std::string last = KeyOf(kSections - 1);
    for (auto _ : state) {
        cmcGTex dict;
        dict.SetFile(File().Path());
        benchmark::DoNotOptimize(dict.Text(last));
        if (dict.SectionCount() != kSections)
            state.SkipWithError("file not indexed");
    }
    state.SetItemsProcessed(state.iterations() * kSections * (kBodyLines + 1));
}
BENCHMARK(BM_IndexWholeFile)->Unit(benchmark::kMillisecond);

void BM_RandomLines(benchmark::State& state) {
    constexpr int kLookups = 100000;
    cmcGTex dict;
    dict.SetFile(File().Path());
    std::vector<std::string> keys;
    for (int i = 0; i < kSections; ++i)
        keys.push_back(KeyOf(i));
    dict.Text(keys.back());  // fully indexed before timing

    std::mt19937 rng(590);
    std::uniform_int_distribution<int> pickSection(0, kSections - 1);
    std::uniform_int_distribution<int> pickLine(0, kBodyLines - 1);
    std::vector<std::pair<int, int>> lookups(kLookups);
    for (auto& l : lookups)
        l = {pickSection(rng), pickLine(rng)};

    for (auto _ : state) {
        std::size_t bytes = 0;
        for (const auto& [section, line] : lookups)
            bytes += dict.Line(keys[section], line).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * kLookups);
}
BENCHMARK(BM_RandomLines)->Unit(benchmark::kMillisecond);

// The pattern of a sheet being repainted: lookups spread over a few sections, which drift to the
// front of the section list.
void BM_HotSectionLines(benchmark::State& state) {
    constexpr int kLookups = 100000;
    constexpr int kHot = 20;
    cmcGTex dict;
    dict.SetFile(File().Path());
    std::vector<std::string> keys;
    for (int i = 0; i < kSections; ++i)
        keys.push_back(KeyOf(i));
    dict.Text(keys.back());

    std::mt19937 rng(590);
    std::uniform_int_distribution<int> pickHot(0, kHot - 1);
    std::uniform_int_distribution<int> pickLine(0, kBodyLines - 1);
    std::vector<std::pair<int, int>> lookups(kLookups);
    for (auto& l : lookups)
        l = {pickHot(rng) * (kSections / kHot), pickLine(rng)};

    for (auto _ : state) {
        std::size_t bytes = 0;
        for (const auto& [section, line] : lookups)
            bytes += dict.Line(keys[section], line).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * kLookups);
}
BENCHMARK(BM_HotSectionLines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
