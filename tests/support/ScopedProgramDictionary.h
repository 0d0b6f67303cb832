#pragma once

#include "ScopedMainDictionary.h"
#include "TestPaths.h"
#include "text/cmcGTex.h"

// The product's resource file as the main dictionary for the life of a scope, as the program has
// it: for tests of code that reads its texts from cmcGTex::Main outside a fixture that sets one.
class ScopedProgramDictionary {
public:
    ScopedProgramDictionary() { dictionary_.SetFile(ResourcePath("PQT590.OVL")); }
    ScopedProgramDictionary(const ScopedProgramDictionary&) = delete;
    ScopedProgramDictionary& operator=(const ScopedProgramDictionary&) = delete;

private:
    cmcGTex dictionary_;
    ScopedMainDictionary main_{&dictionary_};
};
