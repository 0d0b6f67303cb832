// Frequency and time conversions of the cell capsule.
#include <cstdio>
#include <cstdlib>

#include "cells/ValueConvText.h"
#include "cells/cmcCellCapsule.h"
#include "memory/datCh.h"

using namespace ValueConvText;

namespace {
constexpr int kMaxHz = 29999999;

int LimitHz(int hz) {
    return hz < 0 ? 0 : (hz > kMaxHz ? kMaxHz : hz);
}

// What became of a typed frequency beyond formatting: a value above the radio's range, characters
// left out, a value rounded to the field's step. `hz` is what the conversion stored.
void NoteFrequency(cmcConvNote& note, const std::string& input, const std::string& kept, int hz,
                   bool fine) {
    const std::string typed = Trimmed(input);
    const double read = ReadDecimal(kept) * 1000.0 + 0.5;
    note.kHz = true;
    note.stored = FormatKHz(hz, fine);
    if (read > kMaxHz + 0.5) {
        note.kind = cmcConvNote::kAboveMax;
        note.typed = kept;
        note.limit = FormatKHz(kMaxHz, fine);
    } else if (HasOtherThan(typed, ".") || KeepDigitsAnd(typed, ".").size() > kept.size()) {
        note.kind = cmcConvNote::kTakenAs;
        note.typed = typed;
    } else if (static_cast<int>(read) != hz) {
        note.kind = cmcConvNote::kStoredAs;
        note.typed = kept;
    }
}

// A typed frequency that left the field blank: worth a word only when something was typed that
// did not read as a number (an empty text or a 0 blank it on purpose).
void NoteCleared(cmcConvNote& note, const std::string& input) {
    const std::string typed = Trimmed(input);
    if (HasOtherThan(typed, ".")) {
        note.kind = cmcConvNote::kCleared;
        note.typed = typed;
    }
}
}  // namespace

bool cmcCellCapsule::ConvFreqPair(datCh& record, bool receiveSide, bool follow) {
    action = kActNone;
    const uint8_t blankBit = receiveSide ? datCh::kRxBlank : datCh::kTxBlank;
    int32_t value = receiveSide ? record.rxFreq : record.txFreq;
    bool blank = (record.flags & blankBit) != 0;

    // A simplex or unused record lets the transmit side follow the receive side.
    const bool followState =
        follow && (!record.IsUsed() ||
                   (!record.IsRxBlank() && !record.IsTxBlank() && record.rxFreq == record.txFreq));

    bool changed = false;
    if (inputKind == kInputText) {
        std::string kept;
        const int hz = KHzTextToHz(inputText, &kept) / 100 * 100;
        if (hz > 0 && !kept.empty()) {
            value = hz;
            blank = false;
            NoteFrequency(note, inputText, kept, hz, false);
        } else {
            blank = true;  // unreadable or zero: the side becomes blank, its value stays
            NoteCleared(note, inputText);
        }
        changed = true;
    }
    value = LimitHz(value);

    SetCellAlignment(kAlignRight);
    outputText = blank ? std::string() : FormatKHz(value, false);
    SelectAll();

    if (IsInteractive()) {
        const int32_t k = EffectiveKey();
        if (k == '.') {
            EditAfterDecimalPoint();
        } else if (k == '=' && !receiveSide) {
            outputText =
                record.IsRxBlank() ? std::string() : FormatKHz(LimitHz(record.rxFreq), false);
            EditWithText();
        } else if ((k >= '0' && k <= '9') || k == ' ') {
            EditWithChar(k);
        } else if (k == kKeyEnter) {
            if (!record.IsUsed())
                outputText.clear();
            EditWithText();
        }
    }

    if (receiveSide) {
        record.rxFreq = value;
    } else {
        record.txFreq = value;
    }
    record.flags = blank ? uint8_t(record.flags | blankBit) : uint8_t(record.flags & ~blankBit);
    if (receiveSide && changed && followState) {
        record.txFreq = value;
        record.flags = blank ? uint8_t(record.flags | datCh::kTxBlank)
                             : uint8_t(record.flags & ~datCh::kTxBlank);
    }

    if (action != kActEdit) {
        if (!record.IsUsed() || blank) {
            outputText.clear();
        } else if (!receiveSide && follow && !record.IsRxBlank() &&
                   record.rxFreq == record.txFreq) {
            outputText = "<-";
            SetCellAlignment(kAlignCenter);
        }
        if (changed)
            action = kActDone;
    }
    return changed;
}

bool cmcCellCapsule::ConvFreq(const datCh& record, int32_t& value, bool fine, bool mayBeUnset) {
    action = kActNone;
    bool changed = false;
    if (inputKind == kInputText) {
        std::string kept;
        int hz = KHzTextToHz(inputText, &kept);
        if (!fine)
            hz = hz / 100 * 100;
        if (mayBeUnset && hz <= 0) {
            value = -1;
            changed = true;
            NoteCleared(note, inputText);
        } else if (hz > 0 && !kept.empty()) {
            value = hz;
            changed = true;
            NoteFrequency(note, inputText, kept, hz, fine);
        } else if (!Trimmed(inputText).empty()) {
            note.kind = cmcConvNote::kIgnored;
            note.form = cmcConvNote::kFormFrequency;
            note.typed = Trimmed(inputText);
        }
    }
    if (value != -1)
        value = LimitHz(value);

    SetCellAlignment(kAlignRight);
    outputText = value == -1 ? std::string() : FormatKHz(value, fine);
    SelectAll();

    if (IsInteractive()) {
        const int32_t k = EffectiveKey();
        if (k == '.') {
            EditAfterDecimalPoint();
        } else if ((k >= '0' && k <= '9') || k == ' ') {
            EditWithChar(k);
        } else if (k == kKeyEnter) {
            if (!record.IsUsed())
                outputText.clear();
            EditWithText();
        }
    }
    if (changed && action != kActEdit)
        action = kActDone;
    return changed;
}

bool cmcCellCapsule::ConvTimeOffset(uint8_t& byte) {
    action = kActNone;
    bool changed = false;
    if (inputKind == kInputText) {
        const std::string signed_ = KeepDigitsAnd(inputText, "+-:");
        const bool negative = !signed_.empty() && signed_[0] == '-';
        const std::string t = KeepDigitsAnd(signed_, ":");
        const size_t colon = t.find(':');
        if (t.size() <= 5 && colon != std::string::npos && colon > 0 && colon + 1 < t.size() &&
            t.find(':', colon + 1) == std::string::npos) {
            const int hours = std::atoi(t.substr(0, colon).c_str());
            const int minutes = std::atoi(t.substr(colon + 1).c_str());
            if (minutes < 60 && hours * 60 + minutes <= 720) {
                const int steps = hours * 6 + minutes / 10;
                byte = uint8_t(negative ? 72 - steps : 72 + steps);
                changed = true;
                if (HasOtherThan(Trimmed(inputText), "+-:"))
                    note.kind = cmcConvNote::kTakenAs;
                else if (minutes % 10 != 0)
                    note.kind = cmcConvNote::kStoredAs;  // whole tens of minutes only
            }
        }
        if (!changed && !Trimmed(inputText).empty()) {
            note.kind = cmcConvNote::kIgnored;
            note.form = cmcConvNote::kFormTimeOffset;
        }
        note.typed = Trimmed(inputText);
    }

    const int m = byte >= 72 ? byte - 72 : 72 - byte;
    const int hours = m / 6;
    const int minutes = (m % 6) * 10;
    char buf[16];
    const char* sign = (hours || minutes) ? (byte >= 72 ? "+" : "-") : "";
    std::snprintf(buf, sizeof buf, "%s%d:%02d", sign, hours, minutes);
    outputText = buf;
    if (note.Present())
        note.stored = outputText;
    SelectAll();
    EditAction(true, true);
    if (changed && action != kActEdit)
        action = kActDone;
    return changed;
}
