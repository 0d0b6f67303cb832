#include "InitialImage.h"

#include "TestPaths.h"
#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "memory/cmcRange.h"
#include "profile/ModelProfile.h"

namespace {

bool AcceptsRevision7(void*, int revision) {
    return revision == MemoryMap::kMapRevisionValue;
}

}  // namespace

int ReadInitialImage(cmcEeprom& image) {
    cmcCloneFile file;
    file.AttachImage(image);
    file.SetModelCode(ModelProfile::kModelCode);
    file.SetExtraCode(ModelProfile::kExtraCode);
    file.SetMapRevisionCheck(&AcceptsRevision7, nullptr);
    return file.Read(ResourcePath("PQT590_Default.t590"), kCloneRanges);
}
