#include "clone/cmcPortArgument.h"

#include <cctype>

namespace {

bool AllDigits(const std::string& s) {
    if (s.empty())
        return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

}  // namespace

bool cmcPortArgument::Parse(const std::string& text, cmcPortArgument& port) {
    port = cmcPortArgument();
    if (text.empty())
        return false;
    std::string digits = text;
    const bool comPrefix = text.size() >= 3 &&
                           std::toupper(static_cast<unsigned char>(text[0])) == 'C' &&
                           std::toupper(static_cast<unsigned char>(text[1])) == 'O' &&
                           std::toupper(static_cast<unsigned char>(text[2])) == 'M';
    if (comPrefix)
        digits = text.substr(3);
    if (AllDigits(digits)) {
        // A number is a port number, never a device; a long one is out of range, not parsed.
        const int n = digits.size() > 3 ? 0 : std::stoi(digits);
        if (n < 1 || n > kMaxPortNumber)
            return false;
        port.number = n;
        return true;
    }
    // "COM" and then something else is a mistyped port, not a file in the current directory.
    if (comPrefix && text.find_first_of("/\\") == std::string::npos)
        return false;
    port.device = text;
    return true;
}
