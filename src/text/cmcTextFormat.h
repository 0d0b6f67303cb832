#pragma once

#include <string>
#include <vector>

#include "text/cmcTextUtil.h"

// Each "%s" of a resource text in turn replaced by the next of texts (FillPlaceholders).
inline std::string FormatText(const std::string& format, const std::vector<std::string>& texts) {
    return FillPlaceholders(format, texts);
}
