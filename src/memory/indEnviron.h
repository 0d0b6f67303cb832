#pragma once

#include "memory/cmcEnviron.h"

// This radio's settings object: the common one as it is.
class indEnviron : public cmcEnviron {
public:
    using cmcEnviron::cmcEnviron;
};
