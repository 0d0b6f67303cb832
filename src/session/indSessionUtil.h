#pragma once

#include <string>

#include "platform/cmcHost.h"

// Small helpers of the session's commands, shared by its source files.

// The first "%s" of a resource text replaced by a file name; a name holding "%" stays as it is.
inline std::string WithFileName(const std::string& format, const std::string& name) {
    const size_t at = format.find("%s");
    if (at == std::string::npos)
        return format;
    return format.substr(0, at) + name + format.substr(at + 2);
}

// Restores the normal cursor however a command ends.
class BusyCursor {
public:
    BusyCursor() { cmcHost::Instance().SetBusy(true); }
    ~BusyCursor() { cmcHost::Instance().SetBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
