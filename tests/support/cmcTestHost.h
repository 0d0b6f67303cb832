#pragma once

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/cmcHost.h"

// The fatal path of the core, turned into an exception that a test can catch.
class cmcFatalError : public std::runtime_error {
public:
    explicit cmcFatalError(const std::string& text) : std::runtime_error(text) {}
};

// Host for tests: records every message box, answers from a script (then a default), and throws
// cmcFatalError instead of ending the process.
class cmcTestHost : public cmcHost {
public:
    struct Message {
        std::string caption;
        std::string text;
        HostIcon icon;
        HostButtons buttons;
    };

    HostAnswer MessageBox(const std::string& caption, const std::string& text, HostIcon icon,
                          HostButtons buttons) override;
    [[noreturn]] void Fatal(const std::string& text) override;
    void SetBusy(bool busy) override { busy_ = busy; }
    bool ShiftPressed() const override { return shift_; }
    HostRect WorkArea() const override { return workArea_; }
    bool AskOpenFileName(const HostFileDialog& dialog, std::string* path) override;
    bool AskSaveFileName(const HostFileDialog& dialog, std::string* path) override;

    // File dialogs answer from a script of chosen paths; an empty path (or none queued)
    // cancels. Every dialog shown is recorded.
    struct Dialog {
        bool save;
        HostFileDialog request;
    };
    void QueueFileName(const std::string& path) { fileNames_.push_back(path); }
    const std::vector<Dialog>& Dialogs() const { return dialogs_; }

    void QueueAnswer(HostAnswer answer) { answers_.push_back(answer); }
    void SetDefaultAnswer(HostAnswer answer) { defaultAnswer_ = answer; }
    void SetShift(bool shift) { shift_ = shift; }
    void SetWorkArea(HostRect r) { workArea_ = r; }
    bool Busy() const { return busy_; }

    const std::vector<Message>& Messages() const { return messages_; }
    const std::vector<std::string>& Fatals() const { return fatals_; }
    void Clear();

private:
    std::vector<Message> messages_;
    std::vector<std::string> fatals_;
    std::deque<HostAnswer> answers_;
    std::deque<std::string> fileNames_;
    std::vector<Dialog> dialogs_;
    HostAnswer defaultAnswer_ = HostAnswer::Ok;
    HostRect workArea_{0, 0, 1280, 1024};
    bool shift_ = false;
    bool busy_ = false;
};

// Installs a fresh test host for the life of a scope (a test or a fixture).
class ScopedTestHost {
public:
    ScopedTestHost() { cmcHost::Install(&host_); }
    ~ScopedTestHost() { cmcHost::Install(nullptr); }
    cmcTestHost& operator*() { return host_; }
    cmcTestHost* operator->() { return &host_; }

private:
    cmcTestHost host_;
};
