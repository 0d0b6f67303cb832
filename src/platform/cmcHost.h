#pragma once

#include <string>

// The host seam: everything the core asks of the operating system's user interface. The core
// never includes a widget header; the desktop program installs a GUI host, the command-line tool
// a console host, the tests a recording host. Texts are bytes in the resource file's code page.
enum class HostIcon { None, Information, Warning, Error, Question };
enum class HostButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class HostAnswer { Ok, Cancel, Yes, No };

// An open or save file dialog as the file commands ask for it. The filter is the resource file's
// form ("T590 clone files (*.t590)|*.t590|All files (*.*)|*.*"); a GUI host makes its own of it.
struct HostFileDialog {
    std::string defaultExtension;  // without the dot
    std::string filter;
    std::string initialDir;
    std::string presetName;  // save dialogs only
};

struct HostRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class cmcHost {
public:
    virtual ~cmcHost() = default;

    // A modal message box; the answer names the button that closed it.
    virtual HostAnswer MessageBox(const std::string& caption, const std::string& text,
                                  HostIcon icon, HostButtons buttons) = 0;

    // A program or resource error: a message box captioned with the executable's file name, then
    // abnormal termination. Never returns.
    [[noreturn]] virtual void Fatal(const std::string& text) = 0;

    // File dialogs: true with *path set when the user chose a file, false when cancelled. The
    // save dialog asks before overwriting. A host without dialogs cancels.
    virtual bool AskOpenFileName(const HostFileDialog& dialog, std::string* path);
    virtual bool AskSaveFileName(const HostFileDialog& dialog, std::string* path);

    virtual void SetBusy(bool busy) { (void)busy; }
    virtual std::string ExecutableDir() const;   // with its trailing separator
    virtual std::string ExecutableName() const;  // file name without directory
    virtual HostRect WorkArea() const;
    virtual bool ShiftPressed() const { return false; }

    // The host in use; a console host until another is installed.
    static cmcHost& Instance();
    // Installs a host (not owned); nullptr restores the console host.
    static void Install(cmcHost* host);
};

// Shorthand for the fatal path used throughout the core.
[[noreturn]] void FatalError(const std::string& text);
