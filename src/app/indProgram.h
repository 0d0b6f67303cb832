#pragma once

#include <string>
#include <vector>

#include "memory/indEnviron.h"

// What the desktop program is called by on this system: its single-instance lock and its
// settings, and how it reads its command line.
namespace indProgram {

// The single-instance lock and the settings key (the T590's settings object names them).
constexpr const char* kMutexName = indEnviron::kMutexName;
constexpr const char* kSettingsKey = indEnviron::kSettingsKey;

// The clone file named on the command line (program path first): the first argument after the
// program that is neither a mode switch ("/expert", "/gene", in any letter case) nor an option
// ("-..."); empty for none. The desktop's file manager starts the program so ("pqt590 %f").
std::string StartFile(const std::vector<std::string>& arguments);

}  // namespace indProgram
