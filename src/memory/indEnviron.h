#pragma once

#include "memory/cmcEnviron.h"

// This radio's settings object: the common one as it is, under the T590's own names.
class indEnviron : public cmcEnviron {
public:
    // The single-instance lock (a named mutex on Windows, a lock file elsewhere) and the
    // settings key (the registry key on Windows, the organisation and application of the
    // settings file elsewhere).
    static constexpr char kMutexName[] = "Vexa PQ-T590 APP Exclusive Mutex";
    static constexpr char kSettingsKey[] = "Software\\Vexa\\PQ-T590";

    using cmcEnviron::cmcEnviron;
};
