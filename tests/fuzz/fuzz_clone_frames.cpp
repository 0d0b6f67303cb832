// The clone driver's frame assembly and checks against arbitrary bytes from the radio, in
// virtual time: every operation must end, call its handler exactly once with a driver status,
// and a read that ends with 0 must have received exactly the clone range.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "../unit/clone/FakeSerialLink.h"
#include "clone/cmcCloneDrv.h"
#include "cmcTestHost.h"
#include "events/cmcTask.h"
#include "memory/MemoryMap.h"
#include "memory/cmcEeprom.h"
#include "memory/cmcRange.h"
#include "platform/cmcClock.h"

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "clone driver broke its promise: %s\n", what);
        std::abort();
    }
}

struct Outcome {
    int calls = 0;
    int status = -1;
    bool exactRange = false;
};

void OnDone(void* owner, dst_CDrv_Result& r) {
    auto* o = static_cast<Outcome*>(owner);
    ++o->calls;
    o->status = r.status;
    int bits = 0;
    bool outside = false;
    for (int i = 0; i < r.loadedMap.GetLength(); ++i)
        for (int b = 0; b < 8; ++b)
            if (r.loadedMap.Data()[i] & (1 << b)) {
                const int a = i * 8 + b;
                ++bits;
                if (a < MemoryMap::kCloneFirst || a > MemoryMap::kCloneLast)
                    outside = true;
            }
    o->exactRange = !outside && bits == MemoryMap::kCloneLength;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    ScopedTestHost host;
    cmcClock::SetManual(5000);
    auto wire = std::make_shared<FakeWire>();
    const std::uint8_t op = data[0] % 3;
    const std::vector<std::uint8_t> radio(data + 1, data + size);
    // The radio answers the request (the first frame the program sends) with the fuzzer's bytes.
    bool answered = false;
    wire->onWrite = [&](const std::uint8_t*, int) {
        if (!answered)
            wire->Queue(radio);
        answered = true;
    };
    Outcome outcome;
    {
        cmcCloneDrv drv;
        drv.Link().SetBackend(std::make_unique<FakeSerialLink>(wire));
        drv.SetModel(0x2429, 0);
        drv.SetImageSize(MemoryMap::kImageSize);
        drv.SetPortDevice("/dev/fuzz");
        drv.SetRequestPreamble(12);
        drv.SetEchoCheck(true);
        cmcEeprom image;
        image.SetSize(MemoryMap::kImageSize);
        const bool started = op == 0   ? drv.StartInfo(&OnDone, &outcome)
                             : op == 1 ? drv.StartRead(kCloneRanges, &OnDone, &outcome)
                                       : drv.StartWrite(image, kCloneRanges, &OnDone, &outcome);
        Require(started, "start refused");
        for (int step = 0; step < 20000 && drv.IsBusy(); ++step) {
            if (!drv.Link().PumpTask().IsStopped())
                drv.Link().PumpTask().TimerEvent();
            drv.Step();
            cmcClock::Advance(10);
        }
        Require(!drv.IsBusy(), "the operation never ended");
    }
    cmcClock::SetAutomatic();
    Require(outcome.calls == 1, "handler not called exactly once");
    const int s = outcome.status;
    Require(s == 0 || s == 2 || (s >= 4 && s <= 10) || s == 17, "status the driver never sets");
    if (op == 1 && s == 0)
        Require(outcome.exactRange, "a successful read missed or overran");
    return 0;
}
