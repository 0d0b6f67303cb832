#include "app/cuiStatusPanels.h"

#include <algorithm>

#include <QPaintEvent>
#include <QPainter>

cuiStatusPanels::cuiStatusPanels(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("statusPanels"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

int cuiStatusPanels::InsertPanel(int index, int width, bool ownerDrawn) {
    index = std::clamp(index, 0, Count());
    panels_.insert(panels_.begin() + index, Panel{width, ownerDrawn});
    update();
    return index;
}

int cuiStatusPanels::PanelWidth(int panel) const {
    return panel >= 0 && panel < Count() ? panels_[size_t(panel)].width : 0;
}

void cuiStatusPanels::SetPanelWidth(int panel, int width) {
    if (panel < 0 || panel >= Count() || panels_[size_t(panel)].width == width)
        return;
    panels_[size_t(panel)].width = width;
    update();
}

bool cuiStatusPanels::OwnerDrawn(int panel) const {
    return panel >= 0 && panel < Count() && panels_[size_t(panel)].ownerDrawn;
}

void cuiStatusPanels::SetOwnerDrawn(int panel, bool ownerDrawn) {
    if (panel < 0 || panel >= Count())
        return;
    panels_[size_t(panel)].ownerDrawn = ownerDrawn;
    update();
}

QRect cuiStatusPanels::PanelRect(int panel) const {
    int left = 0;
    for (int i = 0; i < panel && i < Count(); ++i)
        left += panels_[size_t(i)].width;
    return QRect(left, 0, PanelWidth(panel), height());
}

void cuiStatusPanels::RepaintPanel(int panel) {
    update(PanelRect(panel));
}

void cuiStatusPanels::SetDrawCallback(DrawCallback callback, void* context) {
    draw_ = callback;
    drawContext_ = context;
}

void cuiStatusPanels::SetResizeCallback(ResizeCallback callback, void* context) {
    resized_ = callback;
    resizeContext_ = context;
}

QSize cuiStatusPanels::sizeHint() const {
    // One line of text with a little air above and below.
    return QSize(200, fontMetrics().height() + 6);
}

QSize cuiStatusPanels::minimumSizeHint() const {
    return QSize(0, sizeHint().height());
}

void cuiStatusPanels::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    for (int i = 0; i < Count(); ++i) {
        const QRect r = PanelRect(i);
        if (!r.intersects(event->rect()) || r.width() <= 0)
            continue;
        if (panels_[size_t(i)].ownerDrawn && draw_ != nullptr) {
            painter.save();
            painter.setClipRect(r);
            draw_(drawContext_, painter, i, r);
            painter.restore();
        }
    }
}

void cuiStatusPanels::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (resized_ != nullptr)
        resized_(resizeContext_);
}
