#pragma once

#include <string>
#include <vector>

// Where the programs' resource files are. Beside the executable first: the build tree, Windows
// and an installation into one folder keep them there. Then the installed data folder, named
// relative to the executable (PQ_DATA_SUBDIR, "../share/pqt590" on Linux), so that a package in
// /usr and an installation under any other prefix both find theirs. Directories end with their
// separator.
std::vector<std::string> cmcResourceDirCandidates(const std::string& executableDir);

// The first candidate that holds fileName (a plain file name such as "PQT590.OVL"); with none,
// the executable's directory, so that a message about the missing file names a real place.
std::string cmcFindResourceDir(const std::string& executableDir, const std::string& fileName);

// The same for the running program (the host's executable directory).
std::string cmcResourceDir(const std::string& fileName);
