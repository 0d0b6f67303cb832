#pragma once

#include <QWidget>

class QPlainTextEdit;
struct cmcEvent;

// The free debug window: a plain window captioned "Free Debug Window" (line 5 of the resource
// section "GI_Debug_Window") with a text area that collects the trace texts sent with event 22,
// one line each; a text that arrives while the text area has the keyboard focus (someone is
// reading or copying) is dropped. The controller makes it with new from its Debug menu over the
// main window; it deletes itself when closed.
class cuiDebugWin : public QWidget {
    Q_OBJECT
public:
    // Shows the window at once, centred over the main window, 0.8 of its height (at least 100).
    explicit cuiDebugWin(QWidget* mainWindow);
    ~cuiDebugWin() override;

    QPlainTextEdit* TextArea() const { return text_; }

    static constexpr int kMinHeight = 100;
    static constexpr int kWidth = 480;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    static void OnEvent(void* self, const cmcEvent& event);

    QPlainTextEdit* text_;
    bool registered_ = false;
};
