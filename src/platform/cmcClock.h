#pragma once

#include <cstdint>

// The clock seam: the system's 32-bit millisecond tick count (wraps after about 49.7 days).
// Tests switch to manual time and move it by hand.
class cmcClock {
public:
    static uint32_t Ticks();

    // Manual time for tests: Ticks() then returns the set value until changed.
    static void SetManual(uint32_t ticks);
    static void Advance(uint32_t ms);
    static void SetAutomatic();
    static bool IsManual();
};
