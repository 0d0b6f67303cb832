#include "text/cmcTextUtil.h"

#include <cstring>

#include "text/cmcGTex.h"
#include "text/cmcMbcs.h"

std::optional<std::string> FieldAt(const char* text, char separator, int n) {
    if (!text || n < 0)
        return std::nullopt;
    const char* start = text;
    int field = 0;
    const char* p = text;
    for (; *p; p += MbCharLen(p)) {
        if (*p != separator)
            continue;
        if (field == n)
            return std::string(start, p);
        ++field;
        start = p + 1;
    }
    if (field == n)
        return std::string(start, p);
    return std::nullopt;
}

std::optional<std::string> FieldAt(const std::string& text, char separator, int n) {
    return FieldAt(text.c_str(), separator, n);
}

std::optional<std::string> FieldAtAny(const char* text, const char* separators, int n) {
    if (!text || n < 0)
        return std::nullopt;
    const char* start = text;
    int field = 0;
    const char* p = text;
    for (; *p; p += MbCharLen(p)) {
        if (MbCharLen(p) != 1 || !separators || !std::strchr(separators, *p))
            continue;
        if (field == n)
            return std::string(start, p);
        ++field;
        start = p + 1;
    }
    if (field == n)
        return std::string(start, p);
    return std::nullopt;
}

std::optional<std::string> FieldAtAny(const std::string& text, const char* separators, int n) {
    return FieldAtAny(text.c_str(), separators, n);
}

const char* SkipBlanks(const char* text) {
    if (!text)
        return text;
    while (*text == ' ' || *text == '\t')
        ++text;
    return text;
}

void TrimBlanks(std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    const std::size_t last = text.find_last_not_of(" \t");
    text = text.substr(first, last - first + 1);
}

void RemoveBlanks(std::string& text) {
    std::size_t out = 0;
    for (char c : text) {
        if (c != ' ' && c != '\t')
            text[out++] = c;
    }
    text.resize(out);
}

bool IsBlank(const char* text, int n) {
    if (!text)
        return n <= 0;
    for (int i = 0; i < n; ++i) {
        if (text[i] != ' ')
            return false;
    }
    return true;
}

std::string DupString(const char* text) {
    return text ? std::string(text) : std::string();
}

std::string DupStringN(const char* text, int n) {
    if (!text || n <= 0)
        return std::string();
    return std::string(text, strnlen(text, static_cast<std::size_t>(n)));
}

std::vector<std::uint8_t> HexToBytes(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    int high = -1;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            continue;
        if (high < 0) {
            high = d;
        } else {
            bytes.push_back(static_cast<std::uint8_t>(high << 4 | d));
            high = -1;
        }
    }
    if (high >= 0)
        bytes.push_back(static_cast<std::uint8_t>(high << 4));
    return bytes;
}

std::string ReadTextBlock(cmcGTex& dictionary, std::string_view key) {
    std::string block;
    for (int n = 0;; ++n) {
        std::string line = dictionary.Line(key, n);
        if (!line.empty() && line[0] == '#')
            break;
        if (n > 0)
            block += '\n';
        block += line;
    }
    return block;
}

std::string FillPlaceholders(const std::string& format, const std::vector<std::string>& texts) {
    std::string out;
    size_t from = 0;
    for (const std::string& text : texts) {
        const size_t at = format.find("%s", from);
        if (at == std::string::npos)
            break;
        out += format.substr(from, at - from) + text;
        from = at + 2;
    }
    return out + format.substr(from);
}

std::string GroupedNumber(long long n) {
    const bool negative = n < 0;
    const unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    const std::string digits = std::to_string(magnitude);
    const size_t first = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
    std::string out = digits.substr(0, first);
    for (size_t i = first; i < digits.size(); i += 3)
        out += "," + digits.substr(i, 3);
    return negative ? "-" + out : out;
}
