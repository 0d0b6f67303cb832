#include "cells/cmcCellCapsule.h"

#include "cells/ValueConvText.h"
#include "cells/cmcCellCanvas.h"
#include "cells/cmcCellObj.h"
#include "platform/cmcHost.h"

using namespace ValueConvText;

const cuiMainCore& cmcCellCapsule::Core() const {
    if (core == nullptr)
        FatalError("A cell conversion outside an evaluation.");
    return *core;
}

void cmcCellCapsule::EditWithChar(int32_t c) {
    outputText.assign(1, static_cast<char>(c));
    selStart = 1;
    selLength = 0;
    action = kActEdit;
}

void cmcCellCapsule::EditWithText() {
    SelectAll();
    action = kActEdit;
}

void cmcCellCapsule::EditAfterDecimalPoint() {
    const size_t dot = outputText.find('.');
    selStart = static_cast<int32_t>(dot == std::string::npos ? outputText.size() : dot + 1);
    selLength = 0;
    action = kActEdit;
}

void cmcCellCapsule::SelectAll() {
    selStart = 0;
    selLength = static_cast<int32_t>(outputText.size());
}

void cmcCellCapsule::EditAction(bool spaceIsEnter, bool signsAllowed) {
    if (!IsInteractive())
        return;
    int32_t k = EffectiveKey();
    if (spaceIsEnter && (k == kKeySpace || k == kKeyBackspace))
        k = kKeyEnter;
    const bool digit = k >= '0' && k <= '9';
    const bool sign = signsAllowed && (k == '-' || k == '+');
    if (!(digit || k == '.' || k == kKeyEnter || sign)) {
        action = kActNone;
        return;
    }
    outputText = Trimmed(outputText);
    if (k == kKeyEnter) {
        action = kActEdit;  // the selection the conversion set stays
    } else {
        EditWithChar(k);
    }
}

void cmcCellCapsule::RestrictEdit(bool allowed, bool& restricted) {
    if (allowed)
        return;
    if (canvas)
        canvas->SetFontColor(kColorReadOnly);
    if (IsTypedKey()) {
        key = kKeyDisplay;
        restricted = true;
    }
}

void cmcCellCapsule::SetCellAlignment(int alignment) {
    this->alignment = int8_t(alignment);
    if (cell != nullptr)
        cell->SetHAlignment(alignment);
}
