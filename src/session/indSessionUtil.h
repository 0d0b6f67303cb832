#pragma once

#include "text/cmcTextFormat.h"

#include <string>
#include <vector>

#include "platform/cmcHost.h"
#include "platform/cmcPath.h"

// Small helpers of the session's commands, shared by its source files.

// The first "%s" of a resource text replaced by a file name; a name holding "%" stays as it is.
inline std::string WithFileName(const std::string& format, const std::string& name) {
    const size_t at = format.find("%s");
    if (at == std::string::npos)
        return format;
    return format.substr(0, at) + name + format.substr(at + 2);
}

// A file's directory as the file dialogs start in it: without a trailing separator (as the
// process's current directory is), except for a root.
inline std::string DirectoryOf(const std::string& path, const cmcPathRules& rules) {
    std::string dir = cmcPathDirectory(path, rules);
    if (dir.size() > 1 && std::string(rules.separators).find(dir.back()) != std::string::npos)
        dir.pop_back();
    return dir;
}

// Restores the normal cursor however a command ends.
class BusyCursor {
public:
    BusyCursor() { cmcHost::Instance().SetBusy(true); }
    ~BusyCursor() { cmcHost::Instance().SetBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
