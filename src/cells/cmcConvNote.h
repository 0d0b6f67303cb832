#pragma once

#include <cstdint>
#include <string>

class cmcGTex;

// What a conversion did with a typed text beyond formatting it: characters left out, a value
// limited to its bounds or rounded to its step, a digit string of the wrong length, an entry not
// taken at all, letters the radio cannot show, a text cut to its field. The conversion keeps its
// result and only fills this record; the dispatcher tells the technician in the status bar.
struct cmcConvNote {
    // The kinds, in the order of the lines of their texts in the resource file.
    enum Kind : uint8_t {
        kNone = 0,
        kTakenAs,      // typed, stored: characters that are no part of the value left out
        kAboveMax,     // typed, limit, stored
        kBelowMin,     // typed, limit, stored
        kStoredAs,     // typed, stored: rounded to what the field keeps
        kWrongDigits,  // typed, count typed (low), count needed (high): nothing stored
        kIgnored,      // typed, accepted form: nothing changed
        kReplaced,     // typed, stored, the characters (limit): each became a blank
        kCut,          // typed, width, stored
        kCleared,      // typed: no value in it, the field became blank
        kKindCount,
    };
    // The accepted forms an ignored entry names, in the order of their lines.
    enum Form : uint8_t {
        kFormTimeOffset = 0,
        kFormNumber = 1,  // with the lowest and highest value in `low` and `high`
        kFormHexByte = 2,
        kFormFrequency = 3,
    };

    Kind kind = kNone;
    bool kHz = false;  // the numbers are frequencies in kHz
    Form form = kFormTimeOffset;
    std::string typed;
    std::string stored;
    std::string limit;  // the bound, the characters replaced, a count or a width
    std::string low;
    std::string high;

    bool Present() const { return kind != kNone; }
    void Clear() { *this = cmcConvNote(); }

    // The status bar's text for the note, from the dictionary's "GI_AppMess_Typed" and
    // "GI_AppMess_TypedForms"; empty for no note.
    std::string Text(cmcGTex& dictionary) const;

    static constexpr const char* kTextsKey = "GI_AppMess_Typed";
    static constexpr const char* kFormsKey = "GI_AppMess_TypedForms";
    // The line of kTextsKey after the kinds' lines: the unit of frequencies.
    static constexpr int kUnitLine = kKindCount - 1;
};
