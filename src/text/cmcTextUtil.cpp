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
