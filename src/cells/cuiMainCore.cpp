#include "cells/cuiMainCore.h"

#include "memory/cmcEeprom.h"
#include "platform/cmcHost.h"

namespace {
cuiMainCore* g_core = nullptr;
}

cuiMainCore& cuiMainCore::Instance() {
    if (g_core == nullptr)
        FatalError("No main controller.");
    return *g_core;
}

bool cuiMainCore::IsInstalled() {
    return g_core != nullptr;
}

void cuiMainCore::Install(cuiMainCore* core) {
    g_core = core;
}

uint8_t* cuiMainCore::WorkingData() {
    return WorkingImage().Bytes();
}
