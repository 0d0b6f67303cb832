#pragma once

#include <string>

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "platform/cmcHost.h"

class QFileDialog;
class QMessageBox;

// The host seam of the desktop program: message boxes, the open and save dialogs, the busy
// cursor, the work area and the Shift key, and the fatal path (an error box captioned with the
// executable's name, then abnormal termination). Dialogs are owned by the given window (the main
// window once it exists) and centred over it.
class cuiGuiHost : public cmcHost {
public:
    explicit cuiGuiHost(QWidget* window = nullptr) : window_(window) {}
    ~cuiGuiHost() override;

    void SetWindow(QWidget* window) { window_ = window; }
    QWidget* Window() const { return window_; }

    HostAnswer MessageBox(const std::string& caption, const std::string& text, HostIcon icon,
                          HostButtons buttons) override;
    [[noreturn]] void Fatal(const std::string& text) override;
    bool AskOpenFileName(const HostFileDialog& dialog, std::string* path) override;
    bool AskSaveFileName(const HostFileDialog& dialog, std::string* path) override;
    // The wait cursor over the whole program; balanced however often it is asked.
    void SetBusy(bool busy) override;
    bool Busy() const { return busy_; }
    // The available area of the screen the window is on (the primary screen without one).
    HostRect WorkArea() const override;
    bool ShiftPressed() const override;

protected:
    // Where a prepared dialog runs: modally, returning the button (QMessageBox::StandardButton)
    // or whether a file was chosen and which. Tests look at the prepared dialog here instead.
    virtual int RunMessageBox(QMessageBox& box);
    virtual bool RunFileDialog(QFileDialog& dialog, QString* chosen);
    // Ends the process at once with an abnormal-termination status.
    [[noreturn]] virtual void Terminate();

private:
    bool AskFileName(const HostFileDialog& request, bool save, std::string* path);

    QPointer<QWidget> window_;
    bool busy_ = false;
};

// The resource file's filter ("caption|patterns|caption|patterns", patterns split by ";") as
// Qt's name filters: "caption (patterns)", a caption's own parenthesised pattern list replaced,
// and "*.*" (any file, on every system) as "*". A caption without patterns is dropped.
QStringList cuiNameFilters(const std::string& filter);
