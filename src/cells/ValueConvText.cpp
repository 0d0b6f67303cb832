#include "cells/ValueConvText.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace ValueConvText {

std::string KeepDigitsAnd(const std::string& text, const char* extra) {
    std::string kept;
    kept.reserve(text.size());
    for (char c : text) {
        if (IsDigit(c) || (c != '\0' && std::strchr(extra, c) != nullptr))
            kept.push_back(c);
    }
    return kept;
}

bool HasOtherThan(const std::string& text, const char* extra) {
    for (char c : text) {
        if (!IsDigit(c) && c != ' ' && c != '\t' && (c == '\0' || std::strchr(extra, c) == nullptr))
            return true;
    }
    return false;
}

double ReadDecimal(const std::string& text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    double value = 0;
    while (i < text.size() && IsDigit(text[i]))
        value = value * 10 + (text[i++] - '0');
    if (i < text.size() && text[i] == '.') {
        ++i;
        double scale = 0.1;
        while (i < text.size() && IsDigit(text[i])) {
            value += (text[i++] - '0') * scale;
            scale /= 10;
        }
    }
    return negative ? -value : value;
}

double RoundHalfAway(double v) {
    return v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5);
}

int KHzTextToHz(const std::string& text, std::string* kept) {
    std::string k = KeepDigitsAnd(text, ".");
    if (k.size() > 10)
        k.resize(10);
    double hz = ReadDecimal(k) * 1000.0 + 0.5;
    if (hz < 0)
        hz = 0;
    if (hz > 29999999.5)
        hz = 29999999.5;
    if (kept)
        *kept = k;
    return static_cast<int>(hz);
}

std::string FormatKHz(int hz, bool fine) {
    char buf[32];
    if (fine)
        std::snprintf(buf, sizeof buf, "%d.%03d", hz / 1000, hz % 1000);
    else
        std::snprintf(buf, sizeof buf, "%d.%01d", hz / 1000, (hz % 1000) / 100);
    return buf;
}

std::string Trimmed(const std::string& text) {
    size_t b = 0;
    size_t e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t'))
        ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t'))
        --e;
    return text.substr(b, e - b);
}

}  // namespace ValueConvText
