#include "platform/cmcConsoleHost.h"

#include <cstdio>
#include <cstdlib>

HostAnswer cmcConsoleHost::MessageBox(const std::string& caption, const std::string& text,
                                      HostIcon icon, HostButtons buttons) {
    (void)icon;  // the caption and the text say it all on a terminal
    if (!quiet_) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        std::fflush(stderr);
    }
    if (buttons == HostButtons::Ok)
        return HostAnswer::Ok;
    if (buttons == HostButtons::OkCancel)
        return answer_ == HostAnswer::Yes || answer_ == HostAnswer::Ok ? HostAnswer::Ok
                                                                       : HostAnswer::Cancel;
    return answer_;
}

void cmcConsoleHost::Fatal(const std::string& text) {
    const std::string name = ExecutableName();
    std::fprintf(stderr, "%s: %s\n", name.c_str(), text.c_str());
    std::fflush(stderr);
    std::abort();
}
