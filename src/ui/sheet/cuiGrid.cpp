#include "ui/sheet/cuiGrid.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

cuiGrid::cuiGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    background_ = palette().color(QPalette::Base);
    // Scrolling is by whole cells: one step is one column or row, and the view follows the thumb.
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setTracking(true);
    horizontalScrollBar()->setTracking(true);
    dragTimer_ = new QTimer(this);
    dragTimer_->setInterval(kTimedScrollMs);
    connect(dragTimer_, &QTimer::timeout, this, &cuiGrid::TimedScrollTick);
    SetScrollBarsEnabled(true);
}

cuiGrid::~cuiGrid() = default;

void cuiGrid::SetDimensions(int columns, int rows) {
    widths_.assign(size_t(std::max(columns, 0)), defaultWidth_);
    heights_.assign(size_t(std::max(rows, 0)), defaultHeight_);
    fixedCols_ = std::min(fixedCols_, std::max(columns - 1, 0));
    fixedRows_ = std::min(fixedRows_, std::max(rows - 1, 0));
    col_ = 0;
    row_ = 0;
    leftCol_ = fixedCols_;
    topRow_ = fixedRows_;
    UpdateLayout();
}

void cuiGrid::SetDefaultSizes(int columnWidth, int rowHeight) {
    defaultWidth_ = columnWidth;
    defaultHeight_ = rowHeight;
    std::fill(widths_.begin(), widths_.end(), defaultWidth_);
    std::fill(heights_.begin(), heights_.end(), defaultHeight_);
    UpdateLayout();
}

void cuiGrid::SetColumnWidth(int col, int width) {
    if (col < 0 || col >= ColumnCount() || widths_[size_t(col)] == width)
        return;
    widths_[size_t(col)] = width;
    viewport()->update();
}

void cuiGrid::SetRowHeight(int row, int height) {
    if (row < 0 || row >= RowCount() || heights_[size_t(row)] == height)
        return;
    heights_[size_t(row)] = height;
    viewport()->update();
}

void cuiGrid::SetFixed(int columns, int rows) {
    fixedCols_ = std::clamp(columns, 0, std::max(ColumnCount() - 1, 0));
    fixedRows_ = std::clamp(rows, 0, std::max(RowCount() - 1, 0));
    leftCol_ = std::max(leftCol_, fixedCols_);
    topRow_ = std::max(topRow_, fixedRows_);
    UpdateLayout();
}

int cuiGrid::ContentWidth() const {
    int w = 0;
    for (int v : widths_)
        w += v;
    return w;
}

int cuiGrid::ContentHeight() const {
    int h = 0;
    for (int v : heights_)
        h += v;
    return h;
}

void cuiGrid::SetBackground(const QColor& color) {
    background_ = color;
    viewport()->update();
}

void cuiGrid::SetScrollBarsEnabled(bool on) {
    scrollBars_ = on;
    const Qt::ScrollBarPolicy policy = on ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    setVerticalScrollBarPolicy(policy);
    setHorizontalScrollBarPolicy(policy);
    UpdateLayout();
}

bool cuiGrid::MoveCursor(int col, int row) {
    if (col < 0 || row < 0 || col >= ColumnCount() || row >= RowCount())
        return false;
    if (client_ && !client_->GridSelectCell(col, row))
        return false;
    SetCursorDirect(col, row);
    return true;
}

void cuiGrid::SetCursorDirect(int col, int row) {
    if (col < 0 || row < 0 || col >= ColumnCount() || row >= RowCount())
        return;
    const int oldCol = col_, oldRow = row_;
    col_ = col;
    row_ = row;
    ShowCell(col, row);
    if (oldCol != col || oldRow != row) {
        InvalidateCell(oldCol, oldRow);
        InvalidateCell(col, row);
    }
}

void cuiGrid::SetTopLeft(int leftCol, int topRow) {
    // Until the grid is shown its viewport has no real size: keep what is asked for within the
    // grid, and let the first showing pull it back where the far end requires.
    const int maxLeft = isVisible() ? MaxLeftCol() : ColumnCount() - 1;
    const int maxTop = isVisible() ? MaxTopRow() : RowCount() - 1;
    const int left = std::clamp(leftCol, fixedCols_, std::max(maxLeft, fixedCols_));
    const int top = std::clamp(topRow, fixedRows_, std::max(maxTop, fixedRows_));
    if (left == leftCol_ && top == topRow_)
        return;
    leftCol_ = left;
    topRow_ = top;
    UpdateScrollBars();
    viewport()->update();
    if (client_)
        client_->GridTopLeftChanged();
}

int cuiGrid::VisibleColumnCount() const {
    const int avail = viewport()->width() - FixedWidth();
    int n = 0, x = 0;
    for (int c = leftCol_; c < ColumnCount(); ++c) {
        x += widths_[size_t(c)];
        if (x > avail)
            break;
        ++n;
    }
    return n;
}

int cuiGrid::VisibleRowCount() const {
    const int avail = viewport()->height() - FixedHeight();
    int n = 0, y = 0;
    for (int r = topRow_; r < RowCount(); ++r) {
        y += heights_[size_t(r)];
        if (y > avail)
            break;
        ++n;
    }
    return n;
}

void cuiGrid::ShowCell(int col, int row) {
    if (!isVisible()) {
        pendingShow_ = true;  // done when the grid is shown at its real size
        return;
    }
    int left = leftCol_, top = topRow_;
    if (row >= fixedRows_ && row < RowCount()) {
        if (row < top) {
            top = row;
        } else {
            const int avail = viewport()->height() - FixedHeight();
            int sum = 0;
            for (int r = top; r <= row; ++r)
                sum += heights_[size_t(r)];
            while (sum > avail && top < row)
                sum -= heights_[size_t(top++)];
        }
    }
    if (col >= fixedCols_ && col < ColumnCount()) {
        if (col < left) {
            left = col;
        } else {
            const int avail = viewport()->width() - FixedWidth();
            int sum = 0;
            for (int c = left; c <= col; ++c)
                sum += widths_[size_t(c)];
            while (sum > avail && left < col)
                sum -= widths_[size_t(left++)];
        }
    }
    SetTopLeft(left, top);
}

int cuiGrid::ColumnX(int col) const {
    if (col < fixedCols_) {
        int x = 0;
        for (int c = 0; c < col; ++c)
            x += widths_[size_t(c)];
        return x;
    }
    if (col < leftCol_)
        return -1;
    int x = FixedWidth();
    const int limit = viewport()->width();
    for (int c = leftCol_; c < col; ++c) {
        x += widths_[size_t(c)];
        if (x >= limit)
            return -1;
    }
    return x;
}

int cuiGrid::RowY(int row) const {
    if (row < fixedRows_) {
        int y = 0;
        for (int r = 0; r < row; ++r)
            y += heights_[size_t(r)];
        return y;
    }
    if (row < topRow_)
        return -1;
    int y = FixedHeight();
    const int limit = viewport()->height();
    for (int r = topRow_; r < row; ++r) {
        y += heights_[size_t(r)];
        if (y >= limit)
            return -1;
    }
    return y;
}

QRect cuiGrid::CellRect(int col, int row) const {
    if (col < 0 || row < 0 || col >= ColumnCount() || row >= RowCount())
        return QRect();
    const int x = ColumnX(col);
    const int y = RowY(row);
    if (x < 0 || y < 0 || x >= viewport()->width() || y >= viewport()->height())
        return QRect();
    return QRect(x, y, widths_[size_t(col)], heights_[size_t(row)]);
}

bool cuiGrid::CellAt(const QPoint& point, int* col, int* row) const {
    if (point.x() < 0 || point.y() < 0 || point.x() >= viewport()->width() ||
        point.y() >= viewport()->height())
        return false;
    int foundCol = -1;
    int x = 0;
    for (int c = FirstShownCol(); c < ColumnCount(); c = NextShownCol(c)) {
        const int w = widths_[size_t(c)];
        if (point.x() < x + w) {
            foundCol = c;
            break;
        }
        x += w;
    }
    int foundRow = -1;
    int y = 0;
    for (int r = FirstShownRow(); r < RowCount(); r = NextShownRow(r)) {
        const int h = heights_[size_t(r)];
        if (point.y() < y + h) {
            foundRow = r;
            break;
        }
        y += h;
    }
    if (foundCol < 0 || foundRow < 0)
        return false;
    *col = foundCol;
    *row = foundRow;
    return true;
}

void cuiGrid::InvalidateCell(int col, int row) {
    if (client_ && client_->GridRepaintCell(col, row))
        return;
    InvalidateCellRect(col, row);
}

void cuiGrid::InvalidateCellRect(int col, int row) {
    const QRect r = CellRect(col, row);
    if (!r.isEmpty())
        viewport()->update(r);
}

void cuiGrid::UpdateLayout() {
    UpdateScrollBars();
    viewport()->update();
}

QSize cuiGrid::viewportSizeHint() const {
    return QSize(ContentWidth(), ContentHeight());
}

QSize cuiGrid::ChromeSize() const {
    const int f = 2 * frameWidth();
    QSize s(f, f);
    if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        s.rwidth() += verticalScrollBar()->sizeHint().width();
    if (horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        s.rheight() += horizontalScrollBar()->sizeHint().height();
    return s;
}

QSize cuiGrid::sizeHint() const {
    const int f = 2 * frameWidth();
    return QSize(ContentWidth() + f, ContentHeight() + f);
}

int cuiGrid::FixedWidth() const {
    int w = 0;
    for (int c = 0; c < fixedCols_; ++c)
        w += widths_[size_t(c)];
    return w;
}

int cuiGrid::FixedHeight() const {
    int h = 0;
    for (int r = 0; r < fixedRows_; ++r)
        h += heights_[size_t(r)];
    return h;
}

int cuiGrid::MaxLeftCol() const {
    const int avail = viewport()->width() - FixedWidth();
    int w = 0, c = ColumnCount();
    while (c > fixedCols_ && w + widths_[size_t(c - 1)] <= avail)
        w += widths_[size_t(--c)];
    return std::max(std::min(c, ColumnCount() - 1), fixedCols_);
}

int cuiGrid::MaxTopRow() const {
    const int avail = viewport()->height() - FixedHeight();
    int h = 0, r = RowCount();
    while (r > fixedRows_ && h + heights_[size_t(r - 1)] <= avail)
        h += heights_[size_t(--r)];
    return std::max(std::min(r, RowCount() - 1), fixedRows_);
}

void cuiGrid::UpdateScrollBars() {
    syncing_ = true;
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, std::max(MaxTopRow() - fixedRows_, 0));
    v->setPageStep(std::max(VisibleRowCount(), 1));
    v->setValue(topRow_ - fixedRows_);
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, std::max(MaxLeftCol() - fixedCols_, 0));
    h->setPageStep(std::max(VisibleColumnCount(), 1));
    h->setValue(leftCol_ - fixedCols_);
    syncing_ = false;
}

void cuiGrid::scrollContentsBy(int, int) {
    if (syncing_)
        return;
    const int left = fixedCols_ + horizontalScrollBar()->value();
    const int top = fixedRows_ + verticalScrollBar()->value();
    SetTopLeft(left, top);
}

bool cuiGrid::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && client_) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (client_->GridShortcutOverride(*key)) {
            key->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void cuiGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRegion& region = event->region();
    const QRect clip = event->rect();
    for (const QRect& r : region)
        painter.fillRect(r, background_);
    if (!client_)
        return;
    const int width = viewport()->width();
    const int height = viewport()->height();
    int y = 0;
    for (int r = FirstShownRow(); r < RowCount() && y < height; r = NextShownRow(r)) {
        const int h = heights_[size_t(r)];
        if (h > 0 && y + h > clip.top() && y <= clip.bottom()) {
            int x = 0;
            for (int c = FirstShownCol(); c < ColumnCount() && x < width; c = NextShownCol(c)) {
                const int w = widths_[size_t(c)];
                const QRect cell(x, y, w, h);
                if (w > 0 && region.intersects(cell)) {
                    painter.setClipRect(cell);
                    client_->GridDrawCell(painter, c, r, cell);
                }
                x += w;
            }
        }
        y += h;
    }
}

void cuiGrid::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    ClampTopLeft();
    if (pendingShow_) {
        pendingShow_ = false;
        ShowCell(col_, row_);
    }
    UpdateScrollBars();
}

void cuiGrid::ClampTopLeft() {
    const int left = std::min(leftCol_, std::max(MaxLeftCol(), fixedCols_));
    const int top = std::min(topRow_, std::max(MaxTopRow(), fixedRows_));
    if (left != leftCol_ || top != topRow_)
        SetTopLeft(left, top);
}

void cuiGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (!isVisible()) {
        UpdateScrollBars();
        return;
    }
    // A taller or wider view may show more than the far end allows; pull the view back.
    ClampTopLeft();
    UpdateScrollBars();
}
