#pragma once

#include <string>

#include <QPointer>
#include <QWidget>

#include "app/cuiProgressWindow.h"

class cmcCloneDrv;

// The progress window of the main window's clone transfers: it says what the transfer is doing
// (reading from or writing to the radio, on which port and device), from the state of the clone
// driver, so that a technician sees at once which way the data goes.
class cuiTransferProgress : public cuiProgressWindow {
public:
    cuiTransferProgress(QWidget* mainWindow, const cmcCloneDrv& driver);

    // The main window is out of reach during a transfer; afterwards the keyboard focus goes back
    // to where it was (the tree or the sheet), not to the window as a whole.
    void SetMainWindowEnabled(bool enabled) override;
    void Show(const std::string& caption) override;
    void Update(int filled, int cells, int done, int total) override;

    // The line for the driver's state now; empty while it has not begun to move data.
    static std::string ActivityOf(const cmcCloneDrv& driver);

private:
    const cmcCloneDrv& driver_;
    QPointer<QWidget> mainWindow_;
    QPointer<QWidget> focus_;
};
