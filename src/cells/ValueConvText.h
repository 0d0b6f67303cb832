#pragma once

#include <string>

// Small text helpers of the value conversions. Everything works on bytes and never depends on
// the C locale (the decimal separator is always ".").
namespace ValueConvText {

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
inline bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
inline int HexValue(char c) {
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c - 'A' + 10;
}
inline bool IsPrintable(unsigned char c) {
    return c >= 32 && c <= 126;
}

// The digits of text and the characters of `extra`, in order.
std::string KeepDigitsAnd(const std::string& text, const char* extra);

// A decimal number at the start of text: an optional "-", digits, an optional "." and digits.
// Reading stops at the first other character; no number reads as 0.
double ReadDecimal(const std::string& text);

// Rounds half away from zero.
double RoundHalfAway(double v);

// Typed kHz text to Hz: digits and "." kept, cut to 10 characters, kHz x 1000 + 0.5, limited to
// 0 .. 29999999.5, integer part. `kept` receives the kept text.
int KHzTextToHz(const std::string& text, std::string* kept);

// "%d.%01d" (hundreds of Hz) or "%d.%03d" (Hz) of a frequency in Hz.
std::string FormatKHz(int hz, bool fine);

// True when text holds a character that is no digit, no blank and none of `extra`: something
// a conversion leaves out that was more than formatting.
bool HasOtherThan(const std::string& text, const char* extra);

// Removes blanks and tabs at both ends.
std::string Trimmed(const std::string& text);

}  // namespace ValueConvText
