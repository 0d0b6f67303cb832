#pragma once

#include "memory/MemoryMap.h"

class cmcEeprom;

// The T590's identification values and the model checks on images: plain functions that the
// main controller's overrides, the clone hooks and the command-line tool share.
namespace ModelProfile {

constexpr char kResourceModel[] = "PQT590";
constexpr int kImageSize = MemoryMap::kImageSize;
constexpr int kModelCode = 0x2429;
constexpr int kExtraCode = 1;
constexpr int kMapRevision = MemoryMap::kMapRevisionValue;

// 0 accepts, 1 rejects: the map revision byte must be 7, and when strict (images read from a
// radio) the maker text must be "VEXA Inc". An image too small to hold those bytes is rejected.
int CheckImage(const cmcEeprom& image, bool strict);

// The second image check (a newer layout); this model accepts every image.
int CheckImageContents(const cmcEeprom& image);

}  // namespace ModelProfile
