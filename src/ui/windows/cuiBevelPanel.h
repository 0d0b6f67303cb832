#pragma once

#include <QFrame>

// A panel as the dialog windows draw it: a raised outer bevel, a border inside it and, when asked
// for, a lowered inner bevel; Client() is the area within the border (the inner bevel is the
// client's own frame), where the panel's contents go.
class cuiBevelPanel : public QFrame {
public:
    cuiBevelPanel(QWidget* parent, int bevelWidth, int borderWidth, bool innerBevel);

    QWidget* Client() const { return client_; }
    // Width and height the panel takes around its client area.
    int Chrome() const { return chrome_; }

private:
    QWidget* client_;
    int chrome_;
};
