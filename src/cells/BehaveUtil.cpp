// Helpers the behaviour families share.
#include "cells/BehaveUtil.h"

#include "cells/cmcCellObj.h"
#include "cells/cuiMainCore.h"
#include "cells/indBehave.h"
#include "events/cmcEvMan.h"
#include "memory/MemoryMap.h"
#include "text/cmcGTex.h"

namespace indBehaveUtil {

void Post(cmcEvKind kind, uintptr_t first, int32_t second) {
    if (cmcEvMan* events = cmcEvMan::Global())
        events->PostEvent(kind, first, second);
}

void Send(cmcEvKind kind, uintptr_t first, int32_t second) {
    if (cmcEvMan* events = cmcEvMan::Global())
        events->SendEvent(kind, first, second);
}

void SetState(cmcCellObj* cell, uint8_t bits, bool on) {
    if (cell == nullptr)
        return;
    cell->state = on ? uint8_t(cell->state | bits) : uint8_t(cell->state & ~bits);
}

std::string DictionaryLine(indBehaveCall& call, const char* key, int n) {
    return call.core.document.Dictionary().Line(key, n);
}

std::string DictionaryText(indBehaveCall& call, const char* key) {
    return call.core.document.Dictionary().Text(key);
}

std::string ItuBandName(cmcGTex& dictionary, int entry) {
    return dictionary.Line("GI_AppInd_Band", entry / MemoryMap::kItuChannelsPerBand);
}

std::string ItuChannelName(cmcGTex& dictionary, int entry) {
    return ItuBandName(dictionary, entry) + "-" +
           std::to_string(entry % MemoryMap::kItuChannelsPerBand + 1);
}

std::string Decimal(int value) {
    return std::to_string(value);
}

}  // namespace indBehaveUtil
