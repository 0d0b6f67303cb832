#include "cells/cmcCellScan.h"

#include <cstdint>
#include <cstring>
#include <limits>

#include "platform/cmcHost.h"
#include "text/cmcMbcs.h"

namespace cellscan {

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlankOrTab(char c) {
    return c == ' ' || c == '\t';
}

// A decimal number as the platform's atoi read it: leading blanks, a sign, digits; anything
// else ends it. Out-of-range values are clamped.
int Decimal(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (IsBlankOrTab(s[i]) || s[i] == '\n' || s[i] == '\r'))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    std::int64_t v = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i) {
        v = v * 10 + (s[i] - '0');
        if (v > std::int64_t{1} << 32)
            v = std::int64_t{1} << 32;
    }
    if (negative)
        v = -v;
    if (v > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

std::string_view TrimBlanksView(std::string_view s) {
    while (!s.empty() && IsBlankOrTab(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlankOrTab(s.back()))
        s.remove_suffix(1);
    return s;
}

// The counter index of a channel counter reference at the start of s: "@ch" and exactly one
// digit (the character after it, if any, is no digit). Anything else is fatal.
int CounterIndex(std::string_view s) {
    if (!StartsWith(s, "@ch") || s.size() < 4 || !IsDigit(s[3]) || (s.size() > 4 && IsDigit(s[4])))
        FatalError("Ch No. Error");
    return s[3] - '0';
}

// Index of the first character c of s at or after from, skipping escaped characters and
// double-byte characters; npos when there is none.
std::size_t FindUnescaped(std::string_view s, char c, std::size_t from) {
    for (std::size_t i = from; i < s.size();) {
        if (s[i] == '\\') {
            ++i;
            if (i < s.size())
                i += MbCharLen(s, i);
            continue;
        }
        const std::size_t n = MbCharLen(s, i);
        if (n == 1 && s[i] == c)
            return i;
        i += n;
    }
    return std::string_view::npos;
}

// Index of the first single-byte character of s that is in set; npos when there is none.
std::size_t FindAnyOf(std::string_view s, const char* set, std::size_t from) {
    for (std::size_t i = from; i < s.size();) {
        const std::size_t n = MbCharLen(s, i);
        if (n == 1 && std::strchr(set, s[i]) && s[i] != '\0')
            return i;
        i += n;
    }
    return std::string_view::npos;
}

}  // namespace cellscan
