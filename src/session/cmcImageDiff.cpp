#include "session/cmcImageDiff.h"

#include "memory/cmcEeprom.h"

cmcImageDiff cmcImageDiff::Between(const cmcEeprom& before, const cmcEeprom& after) {
    cmcImageDiff diff;
    if (before.GetSize() != after.GetSize()) {
        diff.sizesDiffer_ = true;
        return diff;
    }
    const int size = before.GetSize();
    const uint8_t* a = before.Bytes();
    const uint8_t* b = after.Bytes();
    int at = 0;
    while (at < size) {
        if (a[at] == b[at]) {
            ++at;
            continue;
        }
        // A run ends where more than kJoinGap equal bytes follow (or at the end of the image).
        const int first = at;
        int last = at;
        for (int i = at + 1; i < size && i - last <= kJoinGap + 1; ++i) {
            if (a[i] != b[i])
                last = i;
        }
        Run run;
        run.address = first;
        run.before.assign(a + first, a + last + 1);
        run.after.assign(b + first, b + last + 1);
        diff.runs_.push_back(std::move(run));
        at = last + 1;
    }
    return diff;
}

int cmcImageDiff::StoredBytes() const {
    int n = 0;
    for (const Run& run : runs_)
        n += static_cast<int>(run.before.size() + run.after.size());
    return n;
}

void cmcImageDiff::ApplyForward(cmcEeprom& image) const {
    for (const Run& run : runs_)
        image.WriteBlock(run.address, run.after.data(), static_cast<int>(run.after.size()));
}

void cmcImageDiff::ApplyBackward(cmcEeprom& image) const {
    for (const Run& run : runs_)
        image.WriteBlock(run.address, run.before.data(), static_cast<int>(run.before.size()));
}
