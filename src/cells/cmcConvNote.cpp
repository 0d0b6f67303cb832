#include "cells/cmcConvNote.h"

#include <vector>

#include "text/cmcGTex.h"
#include "text/cmcTextUtil.h"

std::string cmcConvNote::Text(cmcGTex& dictionary) const {
    if (kind == kNone || kind >= kKindCount)
        return std::string();
    const std::string unit = kHz ? " " + dictionary.Line(kTextsKey, kUnitLine) : std::string();
    const std::string typedValue = typed + unit;
    const std::string storedValue = stored + unit;
    const std::string format = dictionary.Line(kTextsKey, int(kind) - 1);
    switch (kind) {
        case kTakenAs:
            return FillPlaceholders(format, {typed, storedValue});
        case kAboveMax:
        case kBelowMin:
            return FillPlaceholders(format, {typedValue, limit + unit, storedValue});
        case kStoredAs:
            return FillPlaceholders(format, {typedValue, storedValue});
        case kWrongDigits:
            return FillPlaceholders(format, {typed, low, high});
        case kCleared:
            return FillPlaceholders(format, {typed});
        case kReplaced:
            return FillPlaceholders(format, {typed, stored, limit});
        case kCut:
            return FillPlaceholders(format, {typed, limit, stored});
        case kIgnored: {
            const std::string accepted =
                FillPlaceholders(dictionary.Line(kFormsKey, int(form)), {low, high});
            return FillPlaceholders(format, {typed, accepted});
        }
        default:
            return std::string();
    }
}
