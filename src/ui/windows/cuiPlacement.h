#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/cmcHost.h"

class QWidget;
class cmcCellCapsule;

// Where windows go on the desktop. The rules are plain geometry over rectangles (left, top,
// width, height), so that they can be checked without a screen; the widget forms apply them to
// top-level windows with the host's work area.

// The window moved so that it lies inside the work area: pulled left and up where it sticks out
// to the right or below, then right and down where it sticks out to the left or above, so that a
// window larger than the work area shows its top-left corner (and its title bar).
HostRect KeepOnWorkArea(HostRect window, HostRect workArea);

// The window centred over the owner's rectangle (halves rounded toward zero), then kept on the
// work area.
HostRect CenterOver(HostRect window, HostRect owner, HostRect workArea);

// The main window's own rule: it may lie partly off the screen, but at least 16 pixels of it stay
// on the work area horizontally, and its top edge is never above the work area nor within 16
// pixels of its bottom.
HostRect KeepReachable(HostRect window, HostRect workArea);

// The main window at a first start, when no bounds are stored: the size it needs to show what
// it holds whole (width and height of the window itself, without the frame) where the work area
// has room, else nine tenths of the work area either way (the frame's room is left, as the
// defaults leave it), never smaller than the defaults' size; centred across the work area and
// three tenths down it, where the defaults put theirs.
HostRect FirstWindowBounds(int width, int height, HostRect defaults, HostRect workArea);

// Where a window that drops down from a cell goes (choice lists, the bit-field editor); cell is
// the cell's rectangle on the screen. Below the cell and 8 pixels right of its left edge; above
// the cell when it would reach below the work area, or at the work area's bottom when there is no
// room above either. Pushed left to end at the work area's right edge; when it then covers the
// cell's height as well, left of the cell if there is room there.
HostRect PlaceNearCell(int width, int height, HostRect cell, HostRect workArea);

// The widget forms: frame geometry of top-level windows, the work area from the host.
void KeepOnWorkArea(QWidget* window);
void CenterOver(QWidget* window, const QWidget* owner);
// The capsule's cell: its rectangle in the viewport of the capsule's owner control (a grid).
void PlaceNearCell(const cmcCellCapsule& capsule, QWidget* window);
// A window beside a cell closes: the focus goes back to the opening grid (owner), unless the user
// has put it elsewhere meanwhile (a closing popup hands the activation back on some platforms
// only).
void GiveFocusBack(const QWidget* closing, QWidget* owner);
// A window of its own over the main window closes: the main window is activated again and its
// control that last had the keyboard takes it (a window system need not do this by itself).
void GiveActivationBack(const QWidget* closing);

// While a dialog runs its own loop it has the keyboard; when this goes, the keyboard goes back to
// the control that had it when this was made (the sheet's cell keeps taking keys), whether or
// not the window system activates its window again by itself. Nothing is done while another
// dialog is up, or when the window is gone, hidden or disabled. When the control has gone (or
// none had the keyboard, the window not yet activated again after a transfer), the owner's window
// is activated and gives the keyboard to its own focus control.
class cuiFocusBack {
public:
    explicit cuiFocusBack(const QWidget* owner = nullptr);
    ~cuiFocusBack();
    cuiFocusBack(const cuiFocusBack&) = delete;
    cuiFocusBack& operator=(const cuiFocusBack&) = delete;

private:
    QPointer<QWidget> focus_;
    QPointer<QWidget> window_;
};
