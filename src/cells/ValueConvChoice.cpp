// Choice lists of the cell capsule: a stored index shown as the text of its list entry.
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "cells/cuiMainCore.h"

bool cmcCellCapsule::ConvChoice(const char* listKey, int itemLabel, int32_t& value) {
    action = kActNone;
    if (parent != nullptr) {
        // A reply from the selection window: the parent is the chosen entry.
        const cmcCellObj* chosen = parent->cell;
        if (inputKind != kInputChoice || chosen == nullptr || chosen->label != itemLabel)
            return false;
        value = chosen->argument;
        action = kActDone;
        return true;
    }

    const cuiMainCore& core = Core();
    cmcFCache& cache = core.document.SectionCache();
    outputText = cache.TextOf(listKey, itemLabel, value);
    if (!IsInteractive())
        return false;

    bool changed = false;
    const int32_t k = EffectiveKey();
    if (k == kKeySpace || k == kKeyBackspace) {
        const std::optional<int> next =
            cache.StepKey(listKey, itemLabel, value, k == kKeySpace ? 1 : -1);
        if (next) {
            value = *next;
            outputText = cache.TextOf(listKey, itemLabel, value);
            changed = true;
            action = kActDone;
        }
    } else if (k == kKeyEnter) {
        core.views.OpenChoiceList(*this, itemLabel, value, core.document.Dictionary(), listKey);
        action = kActDone;
    }
    return changed;
}

bool cmcCellCapsule::ConvChoiceByte(const char* listKey, uint8_t& byte, int itemLabel) {
    int32_t value = byte;
    const bool changed = ConvChoice(listKey, itemLabel, value);
    // A list key that no byte can hold would be stored cut to 8 bits: a different, wrong value.
    if (!changed || value < 0 || value > 255) {
        if (changed) {
            action = kActNone;
            if (parent == nullptr)
                outputText = Core().document.SectionCache().TextOf(listKey, itemLabel, byte);
        }
        return false;
    }
    byte = static_cast<uint8_t>(value);
    return true;
}

bool cmcCellCapsule::ConvChoiceInt(const char* listKey, int32_t& value, int itemLabel) {
    return ConvChoice(listKey, itemLabel, value);
}
