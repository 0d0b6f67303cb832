// libFuzzer target for the behaviour dispatcher: any image (as a clone file or a radio may bring
// it), any cell and any key, typed text or popup command must end in a reply, or in the fatal
// error of a program fault (an exception under the test host), never in a crash, an access
// outside the image or undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "TestPaths.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "cells/indActiveCell.h"
#include "cmcTestHost.h"
#include "cuiHeadlessMain.h"
#include "memory/MemoryMap.h"
#include "text/cmcGTex.h"

namespace {

struct Setup {
    Setup() {
        dict.SetFile(ResourcePath("PQT590.OVL"));
        cmcGTex::SetMain(&dict);
        cmcHost::Install(&host);
        main.SetDictionary(&dict);
        main.SetSectionCache(&cache);
    }
    cmcGTex dict;
    cmcFCache cache{&dict};
    cmcTestHost host;
    cuiHeadlessMain main;
};

// Header: category, label (2 bytes), argument (2 bytes, signed), key, command, flags, then the
// length of the typed text and the text; the rest overlays the clone range of the image.
constexpr size_t kHeader = 9;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Setup setup;
    if (size < kHeader)
        return 0;
    cmcCellObj cell;
    cell.category = data[0] % 20;
    cell.label = (data[1] | data[2] << 8) % 206;
    cell.argument = int16_t(data[3] | data[4] << 8);
    const uint8_t flags = data[7];
    size_t textLength = std::min<size_t>(data[8], size - kHeader);
    const std::string text(reinterpret_cast<const char*>(data + kHeader), textLength);
    const uint8_t* rest = data + kHeader + textLength;
    const size_t restSize = size - kHeader - textLength;

    cmcEeprom& image = setup.main.WorkingImage();
    image.Fill(0);
    std::memcpy(image.Bytes() + MemoryMap::kCloneFirst, rest,
                std::min<size_t>(restSize, MemoryMap::kCloneLength));
    setup.main.SetExpertMode(flags & 1);
    setup.main.SetGeneralCoverageMode(flags & 2);
    setup.host.Clear();

    static int grid = 0;
    cmcCellCapsule capsule;
    capsule.cell = &cell;
    capsule.key = data[5] == 0xFF ? kKeyDoubleClick : data[5];
    capsule.command = data[6] % 8 == 0 ? 60 + data[6] % 9 : 0;
    if (flags & 4)
        capsule.grid = &grid;
    if (flags & 8) {
        capsule.inputKind = kInputText;
        capsule.inputText = text;
    }
    if (flags & 16) {
        capsule.rangeFlags = kRangeSelected;
        capsule.rangeLow = int16_t(data[3]);
        capsule.rangeHigh = capsule.rangeLow + data[4] % 200;
    }
    try {
        indActiveCell(setup.main.Core()).Evaluate(capsule, (flags & 32) != 0);
    } catch (const cmcFatalError&) {
    }
    return 0;
}
