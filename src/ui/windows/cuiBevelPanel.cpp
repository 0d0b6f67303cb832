#include "ui/windows/cuiBevelPanel.h"

#include <QVBoxLayout>

cuiBevelPanel::cuiBevelPanel(QWidget* parent, int bevelWidth, int borderWidth, bool innerBevel)
    : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(bevelWidth);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(borderWidth, borderWidth, borderWidth, borderWidth);
    layout->setSpacing(0);
    if (innerBevel) {
        auto* inner = new QFrame(this);
        inner->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        inner->setLineWidth(bevelWidth);
        client_ = inner;
    } else {
        client_ = new QWidget(this);
    }
    layout->addWidget(client_);
    chrome_ = 2 * (bevelWidth + borderWidth);
}
