#pragma once

#include <string>
#include <vector>

// Each "%s" of a resource text in turn replaced by the next of texts; the texts are never
// formats themselves, and a "%s" left over stays as it is.
inline std::string FormatText(const std::string& format, const std::vector<std::string>& texts) {
    std::string out;
    std::size_t from = 0;
    for (const std::string& text : texts) {
        const std::size_t at = format.find("%s", from);
        if (at == std::string::npos)
            break;
        out += format.substr(from, at - from) + text;
        from = at + 2;
    }
    return out + format.substr(from);
}
