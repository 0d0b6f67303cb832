// Keyboard, mouse, wheel and focus of the grid.
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

#include "ui/sheet/cuiGrid.h"

namespace {

constexpr int kWheelNotch = 120;  // angle delta of one notch of an ordinary wheel

}  // namespace

void cuiGrid::keyPressEvent(QKeyEvent* event) {
    if (client_ && client_->GridKeyDown(*event)) {
        event->accept();
        return;
    }
    DefaultKey(*event);
    // A character goes on as a typed key, as the platform's character message would; Alt
    // combinations belong to the menus.
    const QString text = event->text();
    if (client_ && !text.isEmpty() &&
        !(event->modifiers() & (Qt::AltModifier | Qt::MetaModifier))) {
        const QByteArray bytes = text.toLocal8Bit();
        const int character = bytes.isEmpty() ? 0 : static_cast<unsigned char>(bytes[0]);
        if (character != 0) {
            client_->GridKeyPress(character);
            event->accept();
        }
    }
}

void cuiGrid::DefaultKey(QKeyEvent& event) {
    int col = col_, row = row_;
    switch (event.key()) {
        case Qt::Key_Left:
            --col;
            break;
        case Qt::Key_Right:
            ++col;
            break;
        case Qt::Key_Up:
            --row;
            break;
        case Qt::Key_Down:
            ++row;
            break;
        case Qt::Key_PageUp:
            row -= std::max(VisibleRowCount(), 1);
            break;
        case Qt::Key_PageDown:
            row += std::max(VisibleRowCount(), 1);
            break;
        default:
            return;
    }
    col = std::clamp(col, fixedCols_, std::max(ColumnCount() - 1, fixedCols_));
    row = std::clamp(row, fixedRows_, std::max(RowCount() - 1, fixedRows_));
    MoveCursor(col, row);
    event.accept();
}

void cuiGrid::keyReleaseEvent(QKeyEvent* event) {
    // The platform reports a key as released once, when the finger lifts.
    if (client_ && !event->isAutoRepeat())
        client_->GridKeyUp(*event);
    QAbstractScrollArea::keyReleaseEvent(event);
}

void cuiGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        int col = 0, row = 0;
        if (CellAt(p, &col, &row) && col >= fixedCols_ && row >= fixedRows_)
            MoveCursor(col, row);
        selecting_ = true;
        dragPoint_ = p;
        dragTimer_->start();
    }
    if (client_)
        client_->GridMouseDown(*event);
    event->accept();
}

void cuiGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    dragPoint_ = p;
    if (selecting_ && (event->buttons() & Qt::LeftButton)) {
        int col = 0, row = 0;
        if (CellAt(p, &col, &row) && col >= fixedCols_ && row >= fixedRows_ &&
            (col != col_ || row != row_))
            MoveCursor(col, row);
    }
    if (client_)
        client_->GridMouseMove(*event);
    event->accept();
}

void cuiGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        selecting_ = false;
        dragTimer_->stop();
    }
    if (client_)
        client_->GridMouseUp(*event);
    event->accept();
}

void cuiGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is a press as well.
    mousePressEvent(event);
    if (client_)
        client_->GridDoubleClick(*event);
    event->accept();
}

int cuiGrid::DragDirections() const {
    int d = 0;
    if (dragPoint_.x() < FixedWidth())
        d |= kDirLeft;
    else if (dragPoint_.x() >= viewport()->width())
        d |= kDirRight;
    if (dragPoint_.y() < FixedHeight())
        d |= kDirUp;
    else if (dragPoint_.y() >= viewport()->height())
        d |= kDirDown;
    return d;
}

void cuiGrid::TimedScrollTick() {
    if (!selecting_)
        return;
    const int d = DragDirections();
    if (d == 0)
        return;
    if (client_ && client_->GridTimedScroll(d))
        return;
    int col = col_ + ((d & kDirRight) ? 1 : 0) - ((d & kDirLeft) ? 1 : 0);
    int row = row_ + ((d & kDirDown) ? 1 : 0) - ((d & kDirUp) ? 1 : 0);
    col = std::clamp(col, fixedCols_, std::max(ColumnCount() - 1, fixedCols_));
    row = std::clamp(row, fixedRows_, std::max(RowCount() - 1, fixedRows_));
    MoveCursor(col, row);
}

void cuiGrid::ScrollRows(int rows) {
    if (rows != 0)
        SetTopLeft(leftCol_, topRow_ + rows);
}

void cuiGrid::ScrollColumns(int columns) {
    if (columns != 0)
        SetTopLeft(leftCol_ + columns, topRow_);
}

// Scrolls the view, not the cursor. A wheel scrolls the platform's number of lines per notch
// (fine-stepping wheels add up to notches); a touchpad moves by its pixels, a row (or column)
// at a time once half of it has been travelled. Shift turns the wheel sideways.
void cuiGrid::wheelEvent(QWheelEvent* event) {
    QPoint pixels = event->pixelDelta();
    QPoint angle = event->angleDelta();
    if (event->modifiers() & Qt::ShiftModifier) {
        pixels = QPoint(pixels.y(), pixels.x());
        angle = QPoint(angle.y(), angle.x());
    }
    if (!pixels.isNull()) {
        wheelPixelsY_ += pixels.y();
        wheelPixelsX_ += pixels.x();
        for (;;) {
            if (wheelPixelsY_ > 0 && topRow_ > fixedRows_ &&
                2 * wheelPixelsY_ >= heights_[size_t(topRow_ - 1)]) {
                wheelPixelsY_ -= heights_[size_t(topRow_ - 1)];
                ScrollRows(-1);
            } else if (wheelPixelsY_ < 0 && topRow_ < MaxTopRow() &&
                       -2 * wheelPixelsY_ >= heights_[size_t(topRow_)]) {
                wheelPixelsY_ += heights_[size_t(topRow_)];
                ScrollRows(1);
            } else {
                break;
            }
        }
        for (;;) {
            if (wheelPixelsX_ > 0 && leftCol_ > fixedCols_ &&
                2 * wheelPixelsX_ >= widths_[size_t(leftCol_ - 1)]) {
                wheelPixelsX_ -= widths_[size_t(leftCol_ - 1)];
                ScrollColumns(-1);
            } else if (wheelPixelsX_ < 0 && leftCol_ < MaxLeftCol() &&
                       -2 * wheelPixelsX_ >= widths_[size_t(leftCol_)]) {
                wheelPixelsX_ += widths_[size_t(leftCol_)];
                ScrollColumns(1);
            } else {
                break;
            }
        }
        // Movement past an end is spent, not saved up for the way back.
        if ((wheelPixelsY_ > 0 && topRow_ <= fixedRows_) ||
            (wheelPixelsY_ < 0 && topRow_ >= MaxTopRow()))
            wheelPixelsY_ = 0;
        if ((wheelPixelsX_ > 0 && leftCol_ <= fixedCols_) ||
            (wheelPixelsX_ < 0 && leftCol_ >= MaxLeftCol()))
            wheelPixelsX_ = 0;
    } else {
        const int lines = std::max(QApplication::wheelScrollLines(), 1);
        wheelAngleY_ += angle.y();
        wheelAngleX_ += angle.x();
        const int notchesY = wheelAngleY_ / kWheelNotch;
        const int notchesX = wheelAngleX_ / kWheelNotch;
        wheelAngleY_ -= notchesY * kWheelNotch;
        wheelAngleX_ -= notchesX * kWheelNotch;
        ScrollRows(-notchesY * lines);
        ScrollColumns(-notchesX);
    }
    event->accept();
}

void cuiGrid::contextMenuEvent(QContextMenuEvent* event) {
    if (client_)
        client_->GridContextMenu(*event);
    event->accept();
}

void cuiGrid::focusInEvent(QFocusEvent* event) {
    if (client_)
        client_->GridFocusGained(event->reason());
    QAbstractScrollArea::focusInEvent(event);
    InvalidateCell(col_, row_);
}

void cuiGrid::focusOutEvent(QFocusEvent* event) {
    if (client_)
        client_->GridFocusLost(event->reason());
    QAbstractScrollArea::focusOutEvent(event);
    InvalidateCell(col_, row_);
}
