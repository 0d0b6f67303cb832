// Clone read and write of the whole clone range against t590-sim over a pseudo-terminal, the way
// the clone commands run them (driver stepped by its 10 ms timer, echo checked).
//
// Unpaced (the emulator answers at once): BM_CloneRead and BM_CloneWrite.
// Paced at 9600 baud 8N1 like the real cable, opt-in because each run takes about 35 s:
//   bench_clone --benchmark_filter=Paced
// The counter wire_s is the time the bytes need on the wire; the aim is within 3 % of it.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <cstring>
#include <string>

#include "clone/cmcCloneDrv.h"
#include "clone/dst_CDrv_Result.h"
#include "memory/MemoryMap.h"
#include "memory/cmcEeprom.h"
#include "memory/cmcRange.h"

namespace {

// Bytes on the wire for one operation: request (22), 722 data frames of 46, end frame (17),
// plus the write result (7) for a write.
constexpr double kReadBytes = 22 + 722 * 46 + 17;
constexpr double kWriteBytes = kReadBytes + 7;

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

struct Outcome {
    int status = -1;
};

void OnDone(void* owner, dst_CDrv_Result& r) {
    static_cast<Outcome*>(owner)->status = r.status;
}

void Configure(cmcCloneDrv& drv, const std::string& device) {
    drv.SetModel(0x2429, 0);
    drv.SetImageSize(MemoryMap::kImageSize);
    drv.SetPort(1, "9600,N,8,1");
    drv.SetPortDevice(device);
    drv.SetRequestPreamble(12);
    drv.SetDataPreamble(0);
    drv.SetEchoCheck(true);
}

void RunToEnd(cmcCloneDrv& drv) {
    while (drv.IsBusy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void Transfer(benchmark::State& state, bool write, int baud) {
    Sim sim(baud);
    if (sim.Device().empty()) {
        state.SkipWithError("t590-sim did not start (build it beside this benchmark)");
        return;
    }
    cmcCloneDrv drv;
    Configure(drv, sim.Device());
    cmcEeprom image;
    image.SetSize(MemoryMap::kImageSize);
    for (int a = 0; a < image.GetSize(); ++a)
        image.SetByte(a, static_cast<std::uint8_t>(a * 37));
    for (auto _ : state) {
        Outcome outcome;
        const bool started = write ? drv.StartWrite(image, kCloneRanges, &OnDone, &outcome)
                                   : drv.StartRead(kCloneRanges, &OnDone, &outcome);
        if (!started) {
            state.SkipWithError("the driver refused to start");
            return;
        }
        RunToEnd(drv);
        if (outcome.status != 0) {
            state.SkipWithError(("clone status " + std::to_string(outcome.status)).c_str());
            return;
        }
    }
    const double bytes = write ? kWriteBytes : kReadBytes;
    state.counters["wire_s"] = bytes * 10.0 / 9600.0;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * MemoryMap::kCloneLength);
}

void BM_CloneRead(benchmark::State& state) {
    Transfer(state, false, 0);
}
void BM_CloneWrite(benchmark::State& state) {
    Transfer(state, true, 0);
}
void BM_ClonePacedRead9600(benchmark::State& state) {
    Transfer(state, false, 9600);
}
void BM_ClonePacedWrite9600(benchmark::State& state) {
    Transfer(state, true, 9600);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    bool paced = false;
    for (int i = 1; i < argc; ++i)
        if (std::strstr(argv[i], "--benchmark_filter=") == argv[i] && std::strstr(argv[i], "Paced"))
            paced = true;
    benchmark::RegisterBenchmark("BM_CloneRead", BM_CloneRead)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(3);
    benchmark::RegisterBenchmark("BM_CloneWrite", BM_CloneWrite)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(3);
    // The paced runs take the real line's time: only when the filter asks for them.
    if (paced) {
        benchmark::RegisterBenchmark("BM_ClonePacedRead9600", BM_ClonePacedRead9600)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1);
        benchmark::RegisterBenchmark("BM_ClonePacedWrite9600", BM_ClonePacedWrite9600)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
