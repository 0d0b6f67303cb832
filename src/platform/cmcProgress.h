#pragma once

#include <string>

// The progress seam: how long operations (clone transfers, printing) show their progress and
// keep the main window out of reach while they run. The desktop program shows a small window,
// the command-line tool a bar on the terminal, tests record the calls or show nothing.
class cmcProgress {
public:
    virtual ~cmcProgress() = default;

    // The main window refuses input while an operation runs, and gets the focus back after.
    virtual void SetMainWindowEnabled(bool enabled) { (void)enabled; }
    // Shows the progress display with its caption.
    virtual void Show(const std::string& caption) { (void)caption; }
    // filled of cells cells are done; done of total units (bytes) transferred.
    virtual void Update(int filled, int cells, int done, int total) {
        (void)filled;
        (void)cells;
        (void)done;
        (void)total;
    }
    virtual void Hide() {}
};
