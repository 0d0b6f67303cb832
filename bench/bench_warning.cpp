// One full warning check (every table check of the resource list over every record) on the
// default image, as the program runs it 250 ms after an edit; and the image normalisation.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "cells/cmcFCache.h"
#include "cuiHeadlessMain.h"
#include "memory/cmcCloneFile.h"
#include "memory/cmcEeprom.h"
#include "memory/cmcRange.h"
#include "profile/ModelProfile.h"
#include "text/cmcGTex.h"

namespace {

std::string g_dir;  // the directory of the program, where the resources are copied

struct Program {
    cmcGTex dictionary;
    cmcFCache cache{&dictionary};
    ScopedHeadlessMain main;
    bool ok = false;

    Program() {
        dictionary.SetFile(g_dir + ModelProfile::kResourceModel + ".OVL");
        cmcGTex::SetMain(&dictionary);
        main->SetDictionary(&dictionary);
        main->SetSectionCache(&cache);
        cmcCloneFile file;
        file.AttachImage(main->WorkingImage());
        file.SetModelCode(ModelProfile::kModelCode);
        file.SetExtraCode(ModelProfile::kExtraCode);
        file.SetMapRevisionCheck(
            [](void*, int revision) { return revision == ModelProfile::kMapRevision; }, nullptr);
        ok = file.Read(g_dir + "PQT590_Default.t590", kCloneRanges) == cmcCloneFile::Ok;
        main->TemplateImage().CopyFrom(main->WorkingImage());
    }
    ~Program() { cmcGTex::SetMain(nullptr); }
};

void BM_WarningCheck(benchmark::State& state) {
    Program p;
    if (!p.ok) {
        state.SkipWithError("default image not readable");
        return;
    }
    ModelProfile::WarningLists lists;
    for (auto _ : state) {
        lists = ModelProfile::RunWarningCheck(p.main.Core());
        benchmark::DoNotOptimize(lists.errors.data());
    }
    // A default image raises nothing.
    state.counters["errors"] = double(lists.errors.size());
    state.counters["notices"] = double(lists.notices.size());
}
BENCHMARK(BM_WarningCheck)->Unit(benchmark::kMicrosecond);

void BM_NormalizeForWriting(benchmark::State& state) {
    Program p;
    if (!p.ok) {
        state.SkipWithError("default image not readable");
        return;
    }
    cmcEeprom image;
    for (auto _ : state) {
        image.CopyFrom(p.main->WorkingImage());
        ModelProfile::NormalizeImage(p.main.Core(), image, p.main->TemplateImage(), true);
        benchmark::DoNotOptimize(image.Bytes());
    }
}
BENCHMARK(BM_NormalizeForWriting)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    const std::string self = argc > 0 ? argv[0] : "";
    const size_t slash = self.find_last_of("/\\");
    g_dir = slash == std::string::npos ? std::string("./") : self.substr(0, slash + 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
