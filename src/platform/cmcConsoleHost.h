#pragma once

#include "platform/cmcHost.h"

// Host for the command-line tool: messages go to stderr; questions get a configured answer.
class cmcConsoleHost : public cmcHost {
public:
    HostAnswer MessageBox(const std::string& caption, const std::string& text, HostIcon icon,
                          HostButtons buttons) override;
    [[noreturn]] void Fatal(const std::string& text) override;

    // The answer every question gets (a command line is its own confirmation).
    void SetAnswer(HostAnswer answer) { answer_ = answer; }
    // When quiet, message boxes are not printed (the caller reports in its own way).
    void SetQuiet(bool quiet) { quiet_ = quiet; }

private:
    HostAnswer answer_ = HostAnswer::Yes;
    bool quiet_ = false;
};
