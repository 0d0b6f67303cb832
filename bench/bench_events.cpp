// Cost of raising events: every edit posts repaint events and every menu refresh sends two, so
// delivery has to stay cheap with many registered views.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <vector>

#include "events/cmcEvMan.h"

namespace {

void Count(void* userData, const cmcEvent& e) {
    *static_cast<int64_t*>(userData) += e.second;
}

void BM_SendToHandlers(benchmark::State& state) {
    cmcEvMan man;
    std::vector<int64_t> sums(size_t(state.range(0)));
    for (int64_t& s : sums)
        man.AddHandler(&Count, &s);
    for (auto _ : state)
        man.SendEvent(cmcEvKind::UpdateCommandStates, 0, 1);
    benchmark::DoNotOptimize(sums.data());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SendToHandlers)->Arg(1)->Arg(8)->Arg(64);

void BM_PostTextAndPass(benchmark::State& state) {
    cmcEvMan man;
    std::vector<int64_t> sums(8);
    for (int64_t& s : sums)
        man.AddHandler(&Count, &s);
    const int64_t perPass = state.range(0);
    for (auto _ : state) {
        for (int64_t i = 0; i < perPass; ++i)
            man.PostEventText(cmcEvKind::StatusMessage, kStatusTextNormal, 1, "Channel 12 saved");
        man.RunPass();
    }
    state.SetItemsProcessed(state.iterations() * perPass);
}
BENCHMARK(BM_PostTextAndPass)->Arg(1)->Arg(64);

void Answer(void* userData, const cmcEvent&) {
    static const uint8_t identity[48] = {};
    static_cast<cmcEvMan*>(userData)->ReplyEvent(1, 2, identity, sizeof identity);
}

void BM_Query(benchmark::State& state) {
    cmcEvMan man;
    man.AddHandler(&Answer, &man);
    for (auto _ : state)
        benchmark::DoNotOptimize(man.QueryEvent(cmcEvKind::CurrentCellQuery));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Query);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);  // the manager's timer needs one
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
