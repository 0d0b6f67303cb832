#pragma once

#include <string>
#include <vector>

// What the desktop program is called by on this system: its single-instance lock and its
// settings, and how it reads its command line.
namespace indProgram {

// The single-instance lock (a named mutex on Windows, a lock file elsewhere) and the settings key
// (the registry key on Windows, the organisation and application of the settings file elsewhere).
constexpr char kMutexName[] = "Vexa PQ-T590 APP Exclusive Mutex";
constexpr char kSettingsKey[] = "Software\\Vexa\\PQ-T590";

// The clone file named on the command line (program path first): the first argument after the
// program that is neither a mode switch ("/expert", "/gene", in any letter case) nor an option
// ("-..."); empty for none. The desktop's file manager starts the program so ("pqt590 %f").
std::string StartFile(const std::vector<std::string>& arguments);

}  // namespace indProgram
