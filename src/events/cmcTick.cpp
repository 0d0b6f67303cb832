#include "events/cmcTick.h"

#include "platform/cmcClock.h"

void cmcTick::Start(uint32_t durationMs) {
    duration_ = durationMs;
    start_ = cmcClock::Ticks();
    running_ = true;
}

uint32_t cmcTick::Remaining() {
    if (!running_)
        return 0;
    // Unsigned subtraction, so a wrap of the 32-bit tick count between start and now still gives
    // the true elapsed time.
    const uint32_t elapsed = cmcClock::Ticks() - start_;
    if (elapsed < duration_)
        return duration_ - elapsed;
    running_ = false;
    return 0;
}
