#pragma once

#include <cstdint>

// A millisecond countdown on the system tick count, for delays and time-outs. Idle until Start;
// running until Remaining observes the expiry, then idle again.
class cmcTick {
public:
    void Start(uint32_t durationMs);

    // Milliseconds left; 0 when idle or expired. The first call at or after expiry makes the
    // countdown idle, so later calls stay 0 until it is started again.
    uint32_t Remaining();

    // Moves a running countdown's end later by `ms` (time that must not count towards it).
    void Postpone(uint32_t ms) {
        if (running_)
            start_ += ms;
    }

    bool IsRunning() const { return running_; }
    uint32_t Duration() const { return duration_; }

private:
    uint32_t duration_ = 0;
    uint32_t start_ = 0;
    bool running_ = false;
};
