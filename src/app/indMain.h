#pragma once

#include <string>
#include <vector>

#include "app/cuiMain.h"

// The main controller of the T590: the command-line modes and their mark in the status bar, and
// the radio's name on the tree's root. (The model's image rules live in the session.)
class indMain : public cuiMain {
public:
    // The mark panel's colours: white on teal.
    static constexpr cmcColor kMarkBack = 0x808000;
    static constexpr cmcColor kMarkText = 0xFFFFFF;

    using cuiMain::cuiMain;

    void BuildWindow(TForm1& form) override;
    void BuildTree() override;
    void DrawStatusPanel(QPainter& painter, int panel, const QRect& rect) override;

    // The status panel that shows the modes; -1 when no mode is on.
    int MarkPanel() const { return markPanel_; }

private:
    int markPanel_ = -1;
};
