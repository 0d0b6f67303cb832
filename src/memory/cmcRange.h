#pragma once

#include "memory/MemoryMap.h"

// One inclusive range of image addresses. A range list is a plain array of ranges ended by the
// first pair whose last address is below its first (written as {1, 0}); the clone file, the clone
// protocol driver and their callers pass such lists.
struct cmcRange {
    int first;
    int last;

    constexpr bool IsEndMark() const { return last < first; }
};

// The end mark of a range list.
inline constexpr cmcRange kRangeEnd{1, 0};

// The one range list this radio uses everywhere: the clone range.
inline constexpr cmcRange kCloneRanges[] = {{MemoryMap::kCloneFirst, MemoryMap::kCloneLast},
                                            kRangeEnd};
