#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;
class cmcGTex;

// The window shown while printing: caption, label and button text are the lines of
// "GI_Sys_Printer_PrintingDialog". The label sets the size: the window is twice as wide as the
// label and three times as high as label and button together, the label centred at twice its
// height from the top, the button (1.2 times the label's width) centred one and a half button
// heights above the bottom. No border icons; the button is the default and the cancel button
// (Enter and Escape press it). A window of its own, so that the disabled main window does not
// disable it too.
class cuiPrintProgress {
public:
    using CancelCallback = void (*)(void* context);

    cuiPrintProgress(QWidget* mainWindow, cmcGTex& dictionary);
    ~cuiPrintProgress();
    cuiPrintProgress(const cuiPrintProgress&) = delete;
    cuiPrintProgress& operator=(const cuiPrintProgress&) = delete;

    void SetCancelCallback(CancelCallback callback, void* context);
    // Creates the window, centres it over the main window and shows it.
    void Show();
    // Destroys the window.
    void Hide();

    QWidget* Window() const { return window_; }
    QLabel* Label() const { return label_; }
    QPushButton* Button() const { return button_; }

private:
    void Cancelled();

    QPointer<QWidget> mainWindow_;
    cmcGTex& dictionary_;
    QPointer<QWidget> window_;
    QLabel* label_ = nullptr;
    QPushButton* button_ = nullptr;
    CancelCallback callback_ = nullptr;
    void* context_ = nullptr;
};
