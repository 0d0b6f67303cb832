// Tool cells: the memory debug window's rows, the free fields that address the image directly,
// and the clone information sheet.
#include <cstdio>
#include <cstring>

#include "cells/BehaveSettings.h"
#include "cells/BehaveUtil.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellNames.h"
#include "cells/cuiMainCore.h"
#include "cells/indBehave.h"
#include "memory/MemoryMap.h"
#include "memory/cmcEeprom.h"

namespace MM = MemoryMap;

namespace {

constexpr int kBytesPerRow = 16;
// Bits of a byte offered by the bit-field editor.
constexpr int kFirstBit = 1;
constexpr int kLastBit = 8;
constexpr int kDigits = MM::kIdentityDigits;
constexpr int kDigitBytes = (kDigits + 1) / 2;

// The address a cell of the memory window or a free field names, or -1 when `length` bytes from
// it would not lie inside the image evaluated.
int ImageAddress(indBehaveCall& call, int64_t address, int length) {
    const int64_t size = call.ch.ImageSize();
    if (address < 0 || address + length > size)
        return -1;
    return int(address);
}

void DebugAddress(indBehaveCall& call) {
    char text[16];
    std::snprintf(text, sizeof text, "%4X", unsigned(int64_t(call.argument) * kBytesPerRow));
    call.capsule.outputText = text;
}

// The first address from `from` on, in steps of `step` (+1 or -1) up to `to` inclusive, whose
// byte differs between the two images; -1 when there is none.
int FindDifference(const uint8_t* work, int workSize, const cmcEeprom& reference, int from, int to,
                   int step) {
    for (int a = from; step > 0 ? a <= to : a >= to; a += step) {
        if (a < 0 || a >= workSize || !reference.IsValidAddress(a))
            return -1;
        if (work[a] != reference.GetByte(a))
            return a;
    }
    return -1;
}

void DebugByte(indBehaveCall& call) {
    cmcCellCapsule& c = call.capsule;
    const int column = call.label - CL_EeDebugWin_0;
    const int a = ImageAddress(call, int64_t(call.argument) * kBytesPerRow + column, 1);
    if (a < 0)
        return;  // a row beyond the image shows nothing
    cmcEeprom& reference = call.core.document.ReferenceImage();
    const int size = call.ch.ImageSize();

    if (c.key == kKeyF3 || c.key == kKeyF4) {
        const int found =
            c.key == kKeyF3
                ? FindDifference(call.image, size, reference, a + 1, MM::kDebugSearchLast, +1)
                : FindDifference(call.image, size, reference, a - 1, 0, -1);
        if (found >= 0)
            indBehaveUtil::Post(cmcEvKind::MemoryDebugCursor, 0, found);
    }

    const int compare = reference.IsValidAddress(a) ? reference.GetByte(a) : -1;
    uint8_t value = call.image[a];
    if (c.ConvHexByte(value, compare, kFirstBit, kLastBit)) {
        call.image[a] = value;
        indBehaveUtil::Post(cmcEvKind::RepaintAll);
    }
}

void FreeByteDec(indBehaveCall& call) {
    const int a = ImageAddress(call, call.argument, 1);
    if (a >= 0)
        call.capsule.ConvNumberByte(call.image[a], 0, 255);
}

void FreeByteHex(indBehaveCall&) {
    // Shows nothing: the field exists in resource files but has no use.
}

void FreeDscId(indBehaveCall& call) {
    const int a = ImageAddress(call, call.argument, kDigitBytes);
    if (a < 0)
        return;
    cmcCellCapsule& c = call.capsule;
    c.ConvDigits(call.image + a, kDigits);
    if (call.image[a] >= 100 && c.action != kActEdit)
        c.outputText = indBehaveUtil::DictionaryText(call, "GI_AppInd_Dsc_SelfIdOff");
}

// ---- Clone information: what the last clone information exchange stored; never editable.

constexpr int kInfoRevision = 1;
constexpr int kInfoComment = 3;
constexpr int kInfoCommentLength = 16;

void CloneInfoModel(indBehaveCall& call) {
    call.capsule.outputText = "USA";
}

void CloneInfoRevision(indBehaveCall& call) {
    const uint8_t b = call.core.document.CloneInfo()[kInfoRevision];
    call.capsule.outputText =
        indBehaveUtil::Decimal(b >> 4) + "." + indBehaveUtil::Decimal(b & 0x0F);
}

void CloneInfoComment(indBehaveCall& call) {
    cmcCellCapsule& c = call.capsule;
    c.key = kKeyDisplay;  // nothing can be typed, and silently so
    // A copy: showing the comment must not change what the radio reported.
    char text[kInfoCommentLength];
    std::memcpy(text, call.core.document.CloneInfo() + kInfoComment, sizeof text);
    c.inputKind = kInputKey;
    c.ConvText(text, kInfoCommentLength);
}

static_assert(kInfoComment + kInfoCommentLength <= cuiDocument::kCloneInfoLength,
              "the comment lies in the stored information");

}  // namespace

void indRegisterToolBehaviours(indBehaveTable& table) {
    table.Set(CL_EeDebugWin_Adr, DebugAddress);
    for (int label = CL_EeDebugWin_0; label <= CL_EeDebugWin_F; ++label)
        table.Set(label, DebugByte);
    table.Set(CL_Free_Byte_Dec, FreeByteDec);
    table.Set(CL_Free_Byte_Hex, FreeByteHex);
    table.Set(CL_Free_DscId, FreeDscId);
    table.Set(CL_CloneInfo_Model, CloneInfoModel);
    table.Set(CL_CloneInfo_Revision, CloneInfoRevision);
    table.Set(CL_CloneInfo_Comment, CloneInfoComment);
}
