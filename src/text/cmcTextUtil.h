#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class cmcGTex;

// Text helpers shared by the dictionary's readers and the cell parser. Separator scans are
// double-byte aware (text/cmcMbcs.h): a trail byte is never taken for a separator.

// The n-th field (from 0) of text split at separator; the whole text is field 0 when it holds
// no separator. None when text is null or has fewer than n + 1 fields.
std::optional<std::string> FieldAt(const char* text, char separator, int n);
std::optional<std::string> FieldAt(const std::string& text, char separator, int n);

// The same with any character of separators as a separator.
std::optional<std::string> FieldAtAny(const char* text, const char* separators, int n);
std::optional<std::string> FieldAtAny(const std::string& text, const char* separators, int n);

// The first character that is neither a blank nor a tab.
const char* SkipBlanks(const char* text);
// Removes blanks and tabs at both ends, in place.
void TrimBlanks(std::string& text);
// Removes every blank and tab, in place.
void RemoveBlanks(std::string& text);
// True when the first n characters of text are all blanks (the end of the text is none).
bool IsBlank(const char* text, int n);
// A copy of text; an empty text for null.
std::string DupString(const char* text);
// A copy of at most n characters of text; an empty text for null.
std::string DupStringN(const char* text, int n);

// Bytes from hexadecimal digits (either case), high digit first; other characters are skipped;
// an odd last digit gives a byte with low digit 0.
std::vector<std::uint8_t> HexToBytes(std::string_view text);

inline bool IsPrintable(int c) {
    return c >= 32 && c <= 126;
}

template <typename T>
bool InRange(T value, T low, T high) {
    return low <= value && value <= high;
}

// Lines 0, 1, 2 ... of the section key joined with line feeds, up to (not including) the first
// line that begins with "#". A missing key is the dictionary's fatal error.
std::string ReadTextBlock(cmcGTex& dictionary, std::string_view key);

// Each "%s" of a resource text in turn replaced by the next text (texts are never formats
// themselves, so a "%" in a file name or a typed value stays as it is); placeholders beyond the
// texts are left as they stand.
std::string FillPlaceholders(const std::string& format, const std::vector<std::string>& texts);

// A count with its thousands grouped by commas, as the English texts write them ("11,552").
std::string GroupedNumber(long long n);
