// The fleet run against t590-sim: one radio (read for the backup, write, read back to verify) on
// one port, and four radios on four ports at the same time, each with its own emulator.
//
// Unpaced: BM_FleetRadio and BM_FleetFourPorts. Paced at 9600 baud like the real cable, opt-in
// because one radio takes about 105 s:
//   bench_fleet --benchmark_filter=Paced
// wire_s is the time the bytes of the three transfers need on the wire; overhead_pct the time
// beyond it (aim: under 2 %). run_s is the time of one run; with four ports it should be
// under 1.05 x that of one radio.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "session/indFleetRun.h"
#include "session/indSession.h"

namespace {

// Bytes on the wire of one radio: three transfers of request (22), 722 data frames of 46 and the
// end frame (17), the write's result (7), and the information exchange before each.
constexpr double kTransferBytes = 22 + 722 * 46 + 17;
constexpr double kInfoBytes = 22 + 34;
constexpr double kRadioBytes = 3 * (kTransferBytes + kInfoBytes) + 7;

class Sim {
public:
    explicit Sim(int baud) {
        process_.setProgram(QCoreApplication::applicationDirPath() + "/t590-sim");
        if (baud > 0)
            process_.setArguments({"--baud", QString::number(baud)});
        process_.start();
        if (!process_.waitForStarted(5000))
            return;
        while (!process_.canReadLine() && process_.waitForReadyRead(5000)) {
        }
        device_ = QString::fromLocal8Bit(process_.readLine()).trimmed().toStdString();
    }
    ~Sim() {
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
    }
    const std::string& Device() const { return device_; }

private:
    QProcess process_;
    std::string device_;
};

void Run(benchmark::State& state, int ports, int baud) {
    std::vector<std::unique_ptr<Sim>> sims;
    for (int i = 0; i < ports; ++i) {
        sims.push_back(std::make_unique<Sim>(baud));
        if (sims.back()->Device().empty()) {
            state.SkipWithError("t590-sim did not start (build it beside this benchmark)");
            return;
        }
    }
    QTemporaryDir dir;
    indSession session;
    session.SetResourceDir(QCoreApplication::applicationDirPath().toStdString() + "/");
    session.LoadTemplate();
    int radios = 0;
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        indFleetOptions options;
        for (const auto& sim : sims) {
            cmcPortArgument port;
            cmcPortArgument::Parse(sim->Device(), port);
            options.ports.push_back(port);
        }
        options.backupDir = dir.path().toStdString();
        options.journalPath = dir.filePath(QStringLiteral("journal.csv")).toStdString();
        options.cloneFile = "bench.t590";
        indFleetRun run(session, nullptr, nullptr);
        std::string why;
        if (!run.Begin(options, why)) {
            state.SkipWithError(why.c_str());
            return;
        }
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        for (int s = 0; s < run.Stations(); ++s)
            run.Start(s);
        while (run.AnyBusy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        seconds += timer.nsecsElapsed() / 1e9;
        state.PauseTiming();
        for (const indFleetEntry& e : run.Entries()) {
            if (!e.Succeeded()) {
                const std::string why = "radio failed, status " + std::to_string(e.status) +
                                        (e.written ? " after the write" : " before the write");
                state.SkipWithError(why.c_str());
                return;
            }
        }
        radios += run.Stations();
        state.ResumeTiming();
    }
    const double perRun = state.iterations() > 0 ? seconds / state.iterations() : 0;
    state.counters["run_s"] = perRun;
    if (baud > 0) {
        const double wire = kRadioBytes * 10.0 / baud;
        state.counters["wire_s"] = wire;
        state.counters["overhead_pct"] = 100.0 * (perRun - wire) / wire;
    }
    state.counters["radios"] = radios;
}

void BM_FleetRadio(benchmark::State& state) {
    Run(state, 1, 0);
}
void BM_FleetFourPorts(benchmark::State& state) {
    Run(state, 4, 0);
}
void BM_FleetPacedRadio9600(benchmark::State& state) {
    Run(state, 1, 9600);
}
void BM_FleetPacedFourPorts9600(benchmark::State& state) {
    Run(state, 4, 9600);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    bool paced = false;
    for (int i = 1; i < argc; ++i)
        if (std::strstr(argv[i], "--benchmark_filter=") == argv[i] && std::strstr(argv[i], "Paced"))
            paced = true;
    for (auto* b : {benchmark::RegisterBenchmark("BM_FleetRadio", BM_FleetRadio),
                    benchmark::RegisterBenchmark("BM_FleetFourPorts", BM_FleetFourPorts)})
        b->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
    // The paced runs take the real line's time: only when the filter asks for them.
    if (paced) {
        for (auto* b :
             {benchmark::RegisterBenchmark("BM_FleetPacedRadio9600", BM_FleetPacedRadio9600),
              benchmark::RegisterBenchmark("BM_FleetPacedFourPorts9600",
                                           BM_FleetPacedFourPorts9600)})
            b->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
