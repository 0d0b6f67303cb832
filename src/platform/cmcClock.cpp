#include "platform/cmcClock.h"

#include <QElapsedTimer>

namespace {
bool g_manual = false;
uint32_t g_manualTicks = 0;

QElapsedTimer& Monotonic() {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer;
}
}  // namespace

uint32_t cmcClock::Ticks() {
    if (g_manual)
        return g_manualTicks;
    // Modulo 2^32 by truncation, as the system tick count wraps.
    return static_cast<uint32_t>(static_cast<uint64_t>(Monotonic().elapsed()));
}

void cmcClock::SetManual(uint32_t ticks) {
    g_manual = true;
    g_manualTicks = ticks;
}

void cmcClock::Advance(uint32_t ms) {
    g_manualTicks += ms;
}

void cmcClock::SetAutomatic() {
    g_manual = false;
}

bool cmcClock::IsManual() {
    return g_manual;
}
