// What the conversions tell about a typed text beyond formatting it, in the product's own
// words: characters left out, limits, rounding, wrong digit counts, entries not taken, letters
// the radio has no place for, texts cut to their field. The stored values stay the
// conversions' own; only the telling is checked here, with the values beside it.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "ConvTestSupport.h"
#include "TestPaths.h"
#include "cells/cmcCellCapsule.h"
#include "cmcTestHost.h"
#include "memory/datCh.h"
#include "text/cmcGTex.h"

using namespace ConvTest;

namespace {

struct NoteCase {
    const char* name;
    // Runs one conversion on a typed text; returns the stored value's text.
    std::function<std::string(cmcCellCapsule&)> convert;
    const char* typed;
    const char* stored;
    const char* note;  // "" for none
};

datCh UsedChannel() {
    datCh ch;
    ch.SetEmpty(datCh::kUserCh, 1);
    ch.flags = datCh::kUsed;
    ch.rxFreq = ch.txFreq = 2182000;
    return ch;
}

std::string FreqPair(cmcCellCapsule& c) {
    datCh ch = UsedChannel();
    c.ConvFreqPair(ch, true, true);
    return ch.IsRxBlank() ? std::string() : std::to_string(ch.rxFreq);
}

std::string FineEdge(cmcCellCapsule& c) {
    datCh ch = UsedChannel();
    int32_t hz = 1605000;
    c.ConvFreq(ch, hz, true, false);
    return std::to_string(hz);
}

std::string GainByte(cmcCellCapsule& c) {
    uint8_t byte = 5;
    c.ConvNumberByte(byte, 0, 9);
    return std::to_string(byte);
}

std::string OneToTen(cmcCellCapsule& c) {
    int32_t v = 4;
    c.ConvNumber(v, 1, 10, 0, 1, false, nullptr);
    return std::to_string(v);
}

std::string TimeOffset(cmcCellCapsule& c) {
    uint8_t byte = 72;
    c.ConvTimeOffset(byte);
    return std::to_string(byte);
}

std::string Mmsi(cmcCellCapsule& c) {
    uint8_t bytes[5];
    std::memset(bytes, 0xFF, sizeof bytes);
    c.ConvDigits(bytes, 9);
    return bytes[0] == 0xFF ? std::string() : c.outputText;
}

std::string Comment4(cmcCellCapsule& c) {
    char bytes[4];
    std::memset(bytes, ' ', sizeof bytes);
    c.ConvText(bytes, 4);
    return std::string(bytes, sizeof bytes);
}

std::string Hex(cmcCellCapsule& c) {
    uint8_t value = 0x12;
    c.ConvHexByte(value, 0, 0, 7);
    return std::to_string(value);
}

class ConvNotes : public ::testing::TestWithParam<NoteCase> {
protected:
    ConvNotes() { dict_.SetFile(ResourcePath("PQT590.OVL")); }
    ScopedTestHost host_;
    cmcGTex dict_;
};

TEST_P(ConvNotes, SayWhatWasStoredAndWhy) {
    const NoteCase& t = GetParam();
    cmcCellCapsule c = Typed(t.typed);
    EXPECT_EQ(t.convert(c), t.stored);
    EXPECT_EQ(c.note.Present(), *t.note != '\0');
    EXPECT_EQ(c.note.Text(dict_), t.note);
}

INSTANTIATE_TEST_SUITE_P(
    Typed, ConvNotes,
    ::testing::Values(
        NoteCase{"FrequencyAsTyped", FreqPair, "2182", "2182000", ""},
        NoteCase{"FrequencyWithBlanks", FreqPair, " 4125.0 ", "4125000", ""},
        NoteCase{"FrequencyBlankedOnPurpose", FreqPair, "0", "", ""},
        NoteCase{"FrequencyEmptied", FreqPair, "", "", ""},
        NoteCase{"FrequencyLettersLeftOut", FreqPair, "12a.b3x", "12300",
                 "\"12a.b3x\" was taken as 12.3 kHz: the characters that are no part of it "
                 "were left out."},
        NoteCase{"FrequencyAboveTheRange", FreqPair, "35000", "29999900",
                 "35000 kHz is above 29999.9 kHz: 29999.9 kHz stored."},
        NoteCase{"FrequencyRoundedToItsStep", FreqPair, "8291.15", "8291100",
                 "8291.15 kHz stored as 8291.1 kHz: the field keeps no finer steps."},
        NoteCase{"FrequencyWithoutANumber", FreqPair, "abc", "",
                 "\"abc\" holds no value: the field is cleared."},
        NoteCase{"FineFrequencyKeepsHertz", FineEdge, "1605.5", "1605500", ""},
        NoteCase{"FineFrequencyAboveTheRange", FineEdge, "40000", "29999999",
                 "40000 kHz is above 29999.999 kHz: 29999.999 kHz stored."},
        NoteCase{"FineFrequencyNotTaken", FineEdge, "x", "1605000",
                 "\"x\" was not taken, nothing changed: a frequency is given in kHz, such as "
                 "2182.0."},
        NoteCase{"NumberAsTyped", GainByte, "7", "7", ""},
        NoteCase{"NumberAboveItsBound", GainByte, "15", "9", "15 is above 9: 9 stored."},
        NoteCase{"NumberBelowItsBound", OneToTen, "0", "1", "0 is below 1: 1 stored."},
        NoteCase{"NumberRounded", OneToTen, "5.5", "6",
                 "5.5 stored as 6: the field keeps no finer steps."},
        NoteCase{"NumberNotTaken", OneToTen, "x", "4",
                 "\"x\" was not taken, nothing changed: a number from 1 to 10."},
        NoteCase{"NumberLettersLeftOut", OneToTen, "8 dB", "8",
                 "\"8 dB\" was taken as 8: the characters that are no part of it were left "
                 "out."},
        NoteCase{"TimeOffsetAsTyped", TimeOffset, "+5:30", "105", ""},
        NoteCase{"TimeOffsetBeyondTwelveHours", TimeOffset, "-13:00", "72",
                 "\"-13:00\" was not taken, nothing changed: a time offset is -12:00 to +12:00, "
                 "as h:mm."},
        NoteCase{"TimeOffsetWithoutColon", TimeOffset, "5", "72",
                 "\"5\" was not taken, nothing changed: a time offset is -12:00 to +12:00, as "
                 "h:mm."},
        NoteCase{"TimeOffsetInTensOfMinutes", TimeOffset, "-5:35", "39",
                 "-5:35 stored as -5:30: the field keeps no finer steps."},
        NoteCase{"MmsiAsTyped", Mmsi, "123456789", "123456789", ""},
        NoteCase{"MmsiGrouped", Mmsi, "123 456-789", "123456789", ""},
        NoteCase{"MmsiClearedOnPurpose", Mmsi, "", "", ""},
        NoteCase{"MmsiTooShort", Mmsi, "12345", "",
                 "\"12345\" has 5 digits, not 9: no number stored."},
        NoteCase{"MmsiTooLong", Mmsi, "1234567890123", "",
                 "\"1234567890123\" has 13 digits, not 9: no number stored."},
        NoteCase{"MmsiWithALetter", Mmsi, "12345678x9", "123456789",
                 "\"12345678x9\" was taken as 123456789: the characters that are no part of "
                 "it were left out."},
        NoteCase{"TextAsTyped", Comment4, "AB", "AB  ", ""},
        NoteCase{"TextCut", Comment4, "ABCDEF", "ABCD",
                 "\"ABCDEF\" is longer than 4 characters: \"ABCD\" stored."},
        NoteCase{"LetterTheRadioLacksTakesOnePlace", Comment4, "N\xC3\xA9 1", "N  1",
                 "\"N\xC3\xA9 1\" stored as \"N  1\": the radio has no \xC3\xA9; each such "
                 "letter became a blank."},
        NoteCase{"HexNotTaken", Hex, "zz", "18",
                 "\"zz\" was not taken, nothing changed: a byte is 00 to FF, as one or two "
                 "hexadecimal digits."},
        NoteCase{"HexAsTyped", Hex, "a5", "165", ""}),
    [](const ::testing::TestParamInfo<NoteCase>& info) { return std::string(info.param.name); });

// What is only shown, never typed, tells nothing.
TEST(ConvNotesDisplay, ADisplayRequestLeavesNoNote) {
    datCh ch = UsedChannel();
    ch.rxFreq = 40000000;  // beyond the range, as a damaged file may hold it
    cmcCellCapsule c = Display();
    c.ConvFreqPair(ch, true, true);
    EXPECT_FALSE(c.note.Present());
}

}  // namespace
