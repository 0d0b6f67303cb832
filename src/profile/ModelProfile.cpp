#include "profile/ModelProfile.h"

#include <cstring>

#include "memory/cmcEeprom.h"

namespace ModelProfile {

int CheckImage(const cmcEeprom& image, bool strict) {
    if (!image.IsValidAddress(MemoryMap::kMapRevision))
        return 1;
    if (image.GetByte(MemoryMap::kMapRevision) != MemoryMap::kMapRevisionValue)
        return 1;
    if (!strict)
        return 0;
    const int last = MemoryMap::kMakerText + MemoryMap::kMakerTextLength - 1;
    if (!image.IsValidAddress(last))
        return 1;
    return std::memcmp(image.Bytes() + MemoryMap::kMakerText, MemoryMap::kMakerTextValue,
                       MemoryMap::kMakerTextLength) == 0
               ? 0
               : 1;
}

int CheckImageContents(const cmcEeprom&) {
    return 0;
}

}  // namespace ModelProfile
