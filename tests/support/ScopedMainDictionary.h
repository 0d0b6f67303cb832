#pragma once

#include "text/cmcGTex.h"

// Makes a dictionary the main one for the life of a scope (a test or a fixture), then restores
// whichever was main before.
class ScopedMainDictionary {
public:
    explicit ScopedMainDictionary(cmcGTex* dictionary) : previous_(cmcGTex::Main()) {
        cmcGTex::SetMain(dictionary);
    }
    ~ScopedMainDictionary() { cmcGTex::SetMain(previous_); }
    ScopedMainDictionary(const ScopedMainDictionary&) = delete;
    ScopedMainDictionary& operator=(const ScopedMainDictionary&) = delete;

private:
    cmcGTex* previous_;
};
