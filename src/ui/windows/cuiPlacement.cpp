#include "ui/windows/cuiPlacement.h"

#include <algorithm>
#include <cstdint>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QWidget>

#include "cells/cmcCellCapsule.h"

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

HostRect FirstWindowBounds(int width, int height, HostRect defaults, HostRect area) {
    // As the defaults are figured: integer nine tenths, exact where floating ones may not be.
    const int maxWidth = int(int64_t(std::max(area.width, 0)) * 9 / 10);
    const int maxHeight = int(int64_t(std::max(area.height, 0)) * 9 / 10);
    HostRect w{0, 0, std::max(defaults.width, std::min(width, maxWidth)),
               std::max(defaults.height, std::min(height, maxHeight))};
    w.left = area.left + (area.width - w.width) / 2;
    w.top = area.top + int(int64_t(area.height - w.height) * 3 / 10);
    return w;
}

HostRect PlaceNearCell(int width, int height, HostRect cell, HostRect area) {
    constexpr int kIndent = 8;
    const int areaRight = area.left + area.width;
    const int areaBottom = area.top + area.height;
    HostRect w{cell.left + kIndent, cell.top + cell.height, width, height};
    bool low = false;  // no room above the cell either
    if (w.top + height > areaBottom) {
        low = height >= cell.top - area.top;
        w.top = low ? areaBottom - height : cell.top - height;
    }
    if (w.left + width > areaRight) {
        w.left = areaRight - width;
        if (low && width < cell.left - area.left)
            w.left = cell.left - width;
    }
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

void PlaceNearCell(const cmcCellCapsule& capsule, QWidget* window) {
    if (window == nullptr)
        return;
    // The cell rectangle is in the grid's viewport; a plain widget is its own client area.
    const QWidget* client = nullptr;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(capsule.ownerControl))
        client = area->viewport();
    else
        client = qobject_cast<QWidget*>(capsule.ownerControl);
    if (client == nullptr)
        return;
    const QPoint origin = client->mapToGlobal(QPoint(0, 0));
    cmcCellRect r;
    if (capsule.cellRect != nullptr)
        r = *capsule.cellRect;
    const HostRect cell{r.left + origin.x(), r.top + origin.y(), r.right - r.left,
                        r.bottom - r.top};
    const QRect f = FrameOf(window);
    const HostRect w = PlaceNearCell(f.width(), f.height(), cell, cmcHost::Instance().WorkArea());
    window->move(w.left, w.top);
}

namespace {

// Nobody has put the keyboard elsewhere while the closing window had it.
bool KeyboardWentWith(const QWidget* closing) {
    QWidget* focus = QApplication::focusWidget();
    return focus == nullptr || focus == closing || closing->isAncestorOf(focus);
}

}  // namespace

void GiveFocusBack(const QWidget* closing, QWidget* owner) {
    if (owner && owner->isVisible() && KeyboardWentWith(closing)) {
        if (!owner->window()->isActiveWindow())
            owner->window()->activateWindow();
        owner->setFocus(Qt::PopupFocusReason);
    }
}

void GiveActivationBack(const QWidget* closing) {
    QWidget* owner = closing->parentWidget();
    if (owner == nullptr || !owner->window()->isVisible() || !owner->window()->isEnabled())
        return;
    if (KeyboardWentWith(closing))
        owner->window()->activateWindow();
}

cuiFocusBack::cuiFocusBack(const QWidget* owner) : focus_(QApplication::focusWidget()) {
    if (owner != nullptr)
        window_ = owner->window();
    else if (focus_)
        window_ = focus_->window();
}

cuiFocusBack::~cuiFocusBack() {
    if (QApplication::activeModalWidget() != nullptr)
        return;
    // The control may have gone while the dialog was up (the sheet built again after a
    // transfer): then the window's own choice, the control it would give the keyboard to.
    QWidget* target =
        focus_ && focus_->isVisible() && focus_->isEnabled() ? focus_.data() : nullptr;
    QWidget* window = target ? target->window() : window_.data();
    if (window == nullptr || !window->isVisible() || !window->isEnabled())
        return;
    window->activateWindow();
    if (target == nullptr)
        target = window->focusWidget();
    if (target != nullptr)
        target->setFocus(Qt::ActiveWindowFocusReason);
}
