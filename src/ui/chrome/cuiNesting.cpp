#include "ui/chrome/cuiNesting.h"

int cuiLineDepth(const std::string& line) {
    const std::size_t plus = line.find('+');
    return plus == std::string::npos ? 0 : static_cast<int>(plus);
}

std::string_view cuiLineDescription(const std::string& line) {
    const std::size_t plus = line.find('+');
    if (plus == std::string::npos)
        return std::string_view();
    return std::string_view(line).substr(plus + 1);
}
