#pragma once

#include <memory>
#include <string>

#include <QPointer>
#include <QWidget>

#include "platform/cmcProgress.h"

class QColor;
class QLabel;
class QPainter;
class QRect;

// The clone progress window: a small tool window captioned as the clone manager says ("Cloning"),
// with a bar of cells filled in the highlight colour as the transfer goes on, and below it what
// the transfer is doing and how many bytes of how many have gone. It has no close button: a
// transfer runs to its end (the radio's protocol cannot be broken off cleanly), and the main
// window stays disabled meanwhile.
class cuiProgressWindow : public cmcProgress {
public:
    // The bar: 32 cells over 256 by 16 pixels, inside a sunken frame 16 pixels from the left and
    // 8 from the top of the window.
    static constexpr int kBoxWidth = 256;
    static constexpr int kBoxHeight = 16;

    explicit cuiProgressWindow(QWidget* mainWindow);
    ~cuiProgressWindow() override;

    void SetMainWindowEnabled(bool enabled) override;
    void Show(const std::string& caption) override;
    void Update(int filled, int cells, int done, int total) override;
    void Hide() override;

    // What the transfer is doing, shown above the byte count ("Reading from the radio"); set by
    // the command before it starts the transfer. Empty: the byte count alone.
    void SetActivity(const std::string& text);

    // The window while it is shown, else nullptr.
    QWidget* Window() const { return window_; }
    QWidget* Box() const;
    int Filled() const { return filled_; }
    int Cells() const { return cells_; }
    // The lines under the bar: what the transfer is doing, then the byte count.
    QString StatusText() const;

    // The colour of each cell's pixels for a fill: cell i of `cells` is highlighted when i <
    // filled, its last pixel column is the window colour as a separator.
    static void PaintCells(QPainter& painter, const QRect& box, int filled, int cells,
                           const QColor& highlight, const QColor& window);

private:
    void UpdateText();

    QPointer<QWidget> mainWindow_;
    QPointer<QWidget> window_;
    QLabel* status_ = nullptr;
    std::string activity_;
    int filled_ = 0;
    int cells_ = 32;
    int done_ = 0;
    int total_ = 0;
};
