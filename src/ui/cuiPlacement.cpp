#include "ui/cuiPlacement.h"

#include <QWidget>

namespace {

constexpr int kReachable = 16;

QRect FrameOf(const QWidget* w) {
    // A window not yet shown has no frame; its geometry is the best there is.
    return w->isVisible() ? w->frameGeometry() : QRect(w->pos(), w->size());
}

}  // namespace

HostRect KeepOnWorkArea(HostRect w, HostRect area) {
    const int areaRight = area.left + area.width;
    const int areaBottom = area.top + area.height;
    if (w.left + w.width > areaRight)
        w.left = areaRight - w.width;
    if (w.top + w.height > areaBottom)
        w.top = areaBottom - w.height;
    if (w.left < area.left)
        w.left = area.left;
    if (w.top < area.top)
        w.top = area.top;
    return w;
}

HostRect CenterOver(HostRect w, HostRect owner, HostRect area) {
    w.left = owner.left + (owner.width - w.width) / 2;
    w.top = owner.top + (owner.height - w.height) / 2;
    return KeepOnWorkArea(w, area);
}

HostRect KeepReachable(HostRect w, HostRect area) {
    const int areaRight = area.left + area.width;
    const int areaBottom = area.top + area.height;
    if (areaRight - kReachable < w.left)
        w.left = areaRight - kReachable;
    if (areaBottom - kReachable < w.top)
        w.top = areaBottom - kReachable;
    if (w.left + w.width < area.left + kReachable)
        w.left = area.left + kReachable - w.width;
    if (w.top < area.top)
        w.top = area.top;
    return w;
}

void KeepOnWorkArea(QWidget* window) {
    if (window == nullptr)
        return;
    const QRect f = FrameOf(window);
    const HostRect r = KeepOnWorkArea(HostRect{f.left(), f.top(), f.width(), f.height()},
                                      cmcHost::Instance().WorkArea());
    window->move(r.left, r.top);
}

void CenterOver(QWidget* window, const QWidget* owner) {
    if (window == nullptr)
        return;
    const QRect f = FrameOf(window);
    HostRect o{0, 0, 0, 0};
    if (owner != nullptr) {
        const QRect of = owner->isWindow() ? FrameOf(owner)
                                           : QRect(owner->mapToGlobal(QPoint(0, 0)), owner->size());
        o = HostRect{of.left(), of.top(), of.width(), of.height()};
    } else {
        o = cmcHost::Instance().WorkArea();
    }
    const HostRect r = CenterOver(HostRect{f.left(), f.top(), f.width(), f.height()}, o,
                                  cmcHost::Instance().WorkArea());
    window->move(r.left, r.top);
}
