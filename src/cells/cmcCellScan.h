#pragma once

#include <cstddef>
#include <string_view>

// Scanning helpers of the cell description language, shared by the parser and the font fields.
// Every scan for a special character steps over double-byte characters.
namespace cellscan {

bool StartsWith(std::string_view s, std::string_view prefix);
bool IsDigit(char c);
bool IsBlankOrTab(char c);

// A decimal number as the platform's atoi read it: leading blanks, a sign, digits; anything
// else ends it. Out-of-range values are clamped.
int Decimal(std::string_view s);

// s without blanks and tabs at either end.
std::string_view TrimBlanksView(std::string_view s);

// The counter index of a channel counter reference at the start of s: "@ch" and exactly one
// digit (the character after it, if any, is no digit). Anything else is fatal ("Ch No. Error").
int CounterIndex(std::string_view s);

// Index of the first character c of s at or after from, skipping escaped characters and
// double-byte characters; npos when there is none.
std::size_t FindUnescaped(std::string_view s, char c, std::size_t from = 0);

// Index of the first single-byte character of s at or after from that is in set; npos when
// there is none.
std::size_t FindAnyOf(std::string_view s, const char* set, std::size_t from = 0);

}  // namespace cellscan
