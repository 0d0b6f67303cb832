// Digit strings, texts, numbers and hexadecimal bytes of the cell capsule.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cells/ValueConvText.h"
#include "cells/cmcCellCanvas.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cuiMainCore.h"
#include "memory/datCh.h"

using namespace ValueConvText;

namespace {

// A typed text in one byte per character, as a fixed-width field holds it: a character the radio
// cannot show (outside 32..126; a UTF-8 sequence counts as one) takes one place as a blank, and
// each distinct one is listed in `replaced`, separated by blanks. A byte that is not part of a
// valid sequence is a blank of its own too.
std::string OnePlacePerCharacter(const std::string& input, std::string* replaced) {
    std::string out;
    size_t i = 0;
    while (i < input.size()) {
        const unsigned char c = static_cast<unsigned char>(input[i]);
        size_t length = 1;
        if (c >= 0xC2 && c <= 0xDF)
            length = 2;
        else if (c >= 0xE0 && c <= 0xEF)
            length = 3;
        else if (c >= 0xF0 && c <= 0xF4)
            length = 4;
        bool sequence = length > 1 && i + length <= input.size();
        for (size_t k = 1; sequence && k < length; ++k)
            sequence = (static_cast<unsigned char>(input[i + k]) & 0xC0) == 0x80;
        if (!sequence)
            length = 1;
        if (length == 1 && IsPrintable(c)) {
            out.push_back(char(c));
        } else {
            out.push_back(' ');
            if (sequence) {
                const std::string letter = input.substr(i, length);
                if (replaced->find(letter) == std::string::npos)
                    *replaced += (replaced->empty() ? "" : " ") + letter;
            }
        }
        i += length;
    }
    return out;
}

}  // namespace

// What became of a typed number beyond formatting: a limit, characters left out, rounding.
// `read` is the typed number in the stored unit, `shown` what is now shown, low and high the
// bounds as shown.
void cmcCellCapsule::NoteNumber(const std::string& input, const std::string& kept, int64_t read,
                                int64_t shown, int64_t low, int64_t high, int32_t offset) {
    const std::string typed = Trimmed(input);
    note.stored = std::to_string(shown);
    note.typed = kept;
    if (read + offset > high) {
        note.kind = cmcConvNote::kAboveMax;
        note.limit = std::to_string(high);
    } else if (read + offset < low) {
        note.kind = cmcConvNote::kBelowMin;
        note.limit = std::to_string(low);
    } else if (HasOtherThan(typed, ".-+") || KeepDigitsAnd(typed, ".-").size() > kept.size()) {
        note.kind = cmcConvNote::kTakenAs;
        note.typed = typed;
    } else if (ReadDecimal(kept) != double(shown)) {
        note.kind = cmcConvNote::kStoredAs;
    }
}

bool cmcCellCapsule::ConvDigits(uint8_t* bytes, int digitCount) {
    action = kActNone;
    const int byteCount = (digitCount + 1) / 2;
    bool changed = false;
    if (inputKind == kInputText) {
        const std::string digits = KeepDigitsAnd(inputText, "");
        const std::string typed = Trimmed(inputText);
        if (static_cast<int>(digits.size()) == digitCount) {
            std::memset(bytes, 0, size_t(byteCount));
            for (int k = 0; k < digitCount; ++k)
                datCh::SetDigitAt(bytes, k, digits[size_t(k)] - '0');
            if (HasOtherThan(typed, "-")) {  // blanks and dashes only group the digits
                note.kind = cmcConvNote::kTakenAs;
                note.typed = typed;
                note.stored = digits;
            }
        } else {
            std::memset(bytes, 0xFF, size_t(byteCount));  // no value
            if (!typed.empty()) {  // an empty text clears the field on purpose
                note.kind = cmcConvNote::kWrongDigits;
                note.typed = typed;
                note.low = std::to_string(digits.size());
                note.high = std::to_string(digitCount);
            }
        }
        changed = true;
    }
    if (!datCh::HasNoIdentity(bytes)) {
        outputText.clear();
        for (int k = 0; k < digitCount; ++k)
            outputText.push_back(char('0' + datCh::DigitAt(bytes, k)));
    }
    SelectAll();
    EditAction(true, false);
    if (changed && action != kActEdit)
        action = kActDone;
    return changed;
}

bool cmcCellCapsule::ConvText(char* bytes, int width) {
    action = kActNone;
    bool changed = false;
    if (inputKind == kInputText || inputKind == kInputChoice) {
        std::string replaced;
        const std::string text = OnePlacePerCharacter(inputText, &replaced);
        for (int i = 0; i < width; ++i) {
            bytes[i] = size_t(i) < text.size() ? text[size_t(i)] : ' ';
        }
        changed = true;
        size_t used = text.size();
        while (used > 0 && text[used - 1] == ' ')
            --used;
        if (used > size_t(width)) {
            note.kind = cmcConvNote::kCut;
            note.limit = std::to_string(width);
        } else if (!replaced.empty()) {
            note.kind = cmcConvNote::kReplaced;
            note.limit = replaced;
        }
        std::string typed = inputText;
        while (!typed.empty() && typed.back() == ' ')
            typed.pop_back();
        note.typed = typed;
    }
    // Non-printable bytes never reach the screen or the radio: they become blanks in the field.
    for (int i = 0; i < width; ++i) {
        if (!IsPrintable(static_cast<unsigned char>(bytes[i])))
            bytes[i] = ' ';
    }
    int n = width;
    while (n > 0 && bytes[n - 1] == ' ')
        --n;
    outputText.assign(bytes, size_t(n));
    if (note.Present())
        note.stored = outputText;
    SelectAll();

    if (IsInteractive()) {
        int32_t k = EffectiveKey();
        if (k == kKeySpace || k == kKeyBackspace)
            k = kKeyEnter;
        if (k == kKeyEnter) {
            EditWithText();
        } else if (k > 32 && k <= 126) {
            EditWithChar(k);
        }
    }
    if (changed && action != kActEdit)
        action = kActDone;
    return changed;
}

bool cmcCellCapsule::ConvNumber(int32_t& value, int32_t min, int32_t max, int32_t offset,
                                int32_t step, bool clamp, const char* fixedText) {
    action = kActNone;
    if (step <= 0)
        step = 1;  // a step of 0 would divide by zero
    if (max < min)
        max = min;
    auto limit = [&](int64_t v) -> int32_t {
        return static_cast<int32_t>(v < min ? min : (v > max ? max : v));
    };

    bool changed = false;
    if (inputKind == kInputText) {
        std::string kept = KeepDigitsAnd(inputText, ".-");
        if (kept.size() > 9)
            kept.resize(9);
        double v = RoundHalfAway(ReadDecimal(kept)) - offset;
        if (step != 1)
            v = RoundHalfAway(v / step) * step;
        const int64_t iv = static_cast<int64_t>(v);  // |v| < 2^31 + |offset|: fits
        const int32_t limited = limit(iv);
        if (kept.find_first_of("0123456789.") != std::string::npos) {
            value = limited;
            changed = true;
            NoteNumber(inputText, kept, iv, int64_t(limited) + offset, int64_t(min) + offset,
                       int64_t(max) + offset, offset);
        } else if (!Trimmed(inputText).empty()) {
            note.kind = cmcConvNote::kIgnored;
            note.form = cmcConvNote::kFormNumber;
            note.typed = Trimmed(inputText);
            note.low = std::to_string(int64_t(min) + offset);
            note.high = std::to_string(int64_t(max) + offset);
        }
    }
    if (clamp) {
        const int32_t limited = limit(value);
        if (limited != value)
            changed = true;
        value = limited;
    }

    if (fixedText != nullptr) {
        outputText = fixedText;
    } else {
        char buf[24];
        std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(int64_t(value) + offset));
        outputText = buf;
    }
    SelectAll();

    if (IsInteractive()) {
        const int32_t k = EffectiveKey();
        if (k == kKeySpace || k == kKeyBackspace) {
            int64_t v = int64_t(value) + (k == kKeySpace ? step : -step);
            if (v < min)
                v = max;
            if (v > max)
                v = min;
            v = v / step * step;
            value = static_cast<int32_t>(v);
            changed = true;
        } else if ((k >= '0' && k <= '9') || (k == '-' && min < 0)) {
            EditWithChar(k);
        } else if (k == kKeyEnter) {
            EditWithText();
        }
    }
    if (clamp)
        value = limit(value);
    if (changed && action != kActEdit)
        action = kActDone;
    return changed;
}

bool cmcCellCapsule::ConvNumberByte(uint8_t& byte, int32_t min, int32_t max) {
    int32_t v = byte;
    const bool changed = ConvNumber(v, min, max, 0, 1, false, nullptr);
    if (changed)
        byte = static_cast<uint8_t>(v);
    return changed;
}

bool cmcCellCapsule::ConvHexByte(uint8_t& value, int compareValue, int firstBit, int lastBit) {
    action = kActNone;
    bool changed = false;
    if (inputKind == kInputChoice) {
        // The bit-field editor's reply: decimal text of the value it was given, bits 25 down.
        const unsigned long long reply = std::strtoull(inputText.c_str(), nullptr, 10);
        value = static_cast<uint8_t>(reply >> kBitEditorShift);
        changed = true;
    } else if (inputKind == kInputText) {
        std::string hex;
        for (char c : inputText) {
            if (IsHexDigit(c))
                hex.push_back(c);
        }
        if (hex.size() == 1) {
            value = static_cast<uint8_t>(HexValue(hex[0]));
            changed = true;
        } else if (hex.size() >= 2) {
            value = static_cast<uint8_t>(HexValue(hex[0]) * 16 + HexValue(hex[1]));
            changed = true;
        }
        const std::string typed = Trimmed(inputText);
        if (!changed && !typed.empty()) {
            note.kind = cmcConvNote::kIgnored;
            note.form = cmcConvNote::kFormHexByte;
            note.typed = typed;
        } else if (changed && (hex.size() > 2 || HasOtherThan(typed, "abcdefABCDEF"))) {
            note.kind = cmcConvNote::kTakenAs;
            note.typed = typed;
        }
    }
    if (canvas && value != compareValue)
        canvas->SetFontColor(kColorDiffers);

    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X", value);
    outputText = buf;
    if (note.Present())
        note.stored = outputText;
    SelectAll();

    if (IsInteractive()) {
        const int32_t k = EffectiveKey();
        if (k == kKeyEnter) {
            const cuiMainCore& core = Core();
            core.views.OpenBitEditor(*this, core.document.Dictionary(),
                                     uint32_t(value) << kBitEditorShift, firstBit, lastBit, 0, 0,
                                     kBitEditorSheet);
            action = kActDone;
        } else if (k >= 0 && k <= 126 && IsHexDigit(static_cast<char>(k))) {
            EditWithChar(k);
        }
    }
    if (changed && action == kActNone)
        action = kActDone;
    return changed;
}
