#pragma once

#include <string>

// Where tests find the source tree's resources and the built executables.
inline std::string ResourcePath(const std::string& name) {
    return std::string(PQ_SOURCE_DIR) + "/resources/" + name;
}
inline std::string RuntimePath(const std::string& name) {
    return std::string(PQ_RUNTIME_DIR) + "/" + name;
}
