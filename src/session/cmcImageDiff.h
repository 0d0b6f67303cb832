#pragma once

#include <cstdint>
#include <vector>

class cmcEeprom;

// The bytes in which two images of one size differ, kept as runs of (address, bytes before,
// bytes after); differences a few bytes apart share one run. Applied backward it turns the later
// image into the earlier one, forward the earlier into the later; bytes outside the runs are
// left alone, so a difference also applies to an image that has changed elsewhere since.
class cmcImageDiff {
public:
    // Differences with at most this many equal bytes between them share one run: a run costs
    // more than a few equal bytes.
    static constexpr int kJoinGap = 8;

    // The differences from before to after. Images of different sizes have none that can be
    // applied: the result is empty and SizesDiffer() tells why.
    static cmcImageDiff Between(const cmcEeprom& before, const cmcEeprom& after);

    bool IsEmpty() const { return runs_.empty(); }
    bool SizesDiffer() const { return sizesDiffer_; }
    // The number of runs and the bytes they hold (each twice: before and after).
    int RunCount() const { return static_cast<int>(runs_.size()); }
    int StoredBytes() const;

    void ApplyForward(cmcEeprom& image) const;
    void ApplyBackward(cmcEeprom& image) const;

private:
    struct Run {
        int address = 0;
        std::vector<uint8_t> before;
        std::vector<uint8_t> after;
    };
    std::vector<Run> runs_;
    bool sizesDiffer_ = false;
};
