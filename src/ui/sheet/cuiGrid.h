#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QPoint>
#include <QRect>
#include <vector>

class QContextMenuEvent;
class QKeyEvent;
class QMouseEvent;
class QPainter;
class QTimer;

// What a cuiGrid asks of its owner at its decision points. Every default answers "not handled",
// and the grid then does what a plain grid does (the grid works without an owner at all).
class cuiGridClient {
public:
    virtual ~cuiGridClient() = default;

    // May (col, row) become the current cell? Asked before every move of the cursor.
    virtual bool GridSelectCell(int col, int row) {
        (void)col;
        (void)row;
        return true;
    }
    // Paints one cell; rect is the cell in viewport coordinates, the painter is clipped to it.
    virtual void GridDrawCell(QPainter& painter, int col, int row, const QRect& rect) {
        (void)painter;
        (void)col;
        (void)row;
        (void)rect;
    }
    // A cell needs repainting (the cursor came or went, the focus changed); true: the owner has
    // seen to it (it may repaint more than the one cell).
    virtual bool GridRepaintCell(int col, int row) {
        (void)col;
        (void)row;
        return false;
    }
    // Dragging beyond the scrolling part: direction bits 1 left, 2 right, 4 up, 8 down.
    virtual bool GridTimedScroll(int directions) {
        (void)directions;
        return false;
    }
    virtual void GridTopLeftChanged() {}
    virtual void GridFocusGained(Qt::FocusReason reason) { (void)reason; }
    virtual void GridFocusLost(Qt::FocusReason reason) { (void)reason; }
    // Keys: true when consumed. A key not consumed by KeyDown that carries a character is then
    // handed to KeyPress.
    virtual bool GridShortcutOverride(QKeyEvent& event) {
        (void)event;
        return false;
    }
    virtual bool GridKeyDown(QKeyEvent& event) {
        (void)event;
        return false;
    }
    virtual void GridKeyPress(int character) { (void)character; }
    virtual void GridKeyUp(QKeyEvent& event) { (void)event; }
    // Mouse: called after the grid's own handling of the event.
    virtual void GridMouseDown(QMouseEvent& event) { (void)event; }
    virtual void GridMouseUp(QMouseEvent& event) { (void)event; }
    virtual void GridMouseMove(QMouseEvent& event) { (void)event; }
    virtual void GridDoubleClick(QMouseEvent& event) { (void)event; }
    virtual void GridContextMenu(QContextMenuEvent& event) { (void)event; }
};

// A custom-drawn grid without cell contents of its own: per-column widths and per-row heights,
// fixed rows and columns that do not scroll, a current cell, scrolling by whole cells (the thumb
// tracks), wheel and touchpad scrolling, and the decision points of cuiGridClient. Cells are
// adjacent (no grid lines); every pixel of a cell is the owner's to paint.
class cuiGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kDirLeft = 1, kDirRight = 2, kDirUp = 4, kDirDown = 8;
    // Milliseconds between the steps of scrolling while dragging beyond the edge.
    static constexpr int kTimedScrollMs = 60;

    explicit cuiGrid(QWidget* parent = nullptr);
    ~cuiGrid() override;

    void SetClient(cuiGridClient* client) { client_ = client; }
    cuiGridClient* Client() const { return client_; }

    // Size; every column and row gets the default width and height. The cursor and the scroll
    // position go back to the top-left corner.
    void SetDimensions(int columns, int rows);
    int ColumnCount() const { return int(widths_.size()); }
    int RowCount() const { return int(heights_.size()); }
    void SetDefaultSizes(int columnWidth, int rowHeight);
    int ColumnWidth(int col) const { return widths_[size_t(col)]; }
    int RowHeight(int row) const { return heights_[size_t(row)]; }
    void SetColumnWidth(int col, int width);
    void SetRowHeight(int row, int height);
    // Fixed columns and rows: at most count - 1 of each.
    void SetFixed(int columns, int rows);
    int FixedColumns() const { return fixedCols_; }
    int FixedRows() const { return fixedRows_; }
    int ContentWidth() const;
    int ContentHeight() const;
    // The room the grid takes around its viewport: its frame and the bars set to show always.
    // Known before the grid is first shown, when the viewport has not been placed yet.
    QSize ChromeSize() const;

    // The background behind cells left unpainted.
    void SetBackground(const QColor& color);

    // Scroll bars shown when needed, or never.
    void SetScrollBarsEnabled(bool on);
    bool ScrollBarsEnabled() const { return scrollBars_; }

    // The current cell.
    int Col() const { return col_; }
    int Row() const { return row_; }
    // Moves the cursor if the owner allows it, scrolling it into view; true when it moved (or
    // was there already and allowed).
    bool MoveCursor(int col, int row);
    // Moves the cursor without asking the owner (building, restoring).
    void SetCursorDirect(int col, int row);

    // First scrolling column and row shown.
    int LeftCol() const { return leftCol_; }
    int TopRow() const { return topRow_; }
    void SetTopLeft(int leftCol, int topRow);
    // Whole non-fixed columns and rows that fit the viewport at the present scroll position.
    int VisibleColumnCount() const;
    int VisibleRowCount() const;
    // Scrolls so that the cell is fully in view where it can be.
    void ShowCell(int col, int row);

    // The cell's rectangle in viewport coordinates; empty when it is scrolled out of view.
    QRect CellRect(int col, int row) const;
    // The cell under a viewport point; false outside every cell.
    bool CellAt(const QPoint& point, int* col, int* row) const;
    // Repaints one cell (through the owner's GridRepaintCell when it has one).
    void InvalidateCell(int col, int row);
    // Repaints the cell's rectangle only.
    void InvalidateCellRect(int col, int row);
    // After widths, heights or the viewport changed: scroll ranges and a full repaint.
    void UpdateLayout();

    // One step of scrolling while the left button drags beyond the scrolling part (the drag
    // timer calls it); public so that it can be driven without waiting for the timer.
    void TimedScrollTick();

    QSize sizeHint() const override;

protected:
    QSize viewportSizeHint() const override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The columns and rows on screen, left to right and top to bottom: the fixed ones, then the
    // scrolling ones from the first shown.
    int FirstShownCol() const { return fixedCols_ > 0 ? 0 : leftCol_; }
    int NextShownCol(int c) const { return c + 1 == fixedCols_ ? leftCol_ : c + 1; }
    int FirstShownRow() const { return fixedRows_ > 0 ? 0 : topRow_; }
    int NextShownRow(int r) const { return r + 1 == fixedRows_ ? topRow_ : r + 1; }
    int FixedWidth() const;
    int FixedHeight() const;
    int MaxLeftCol() const;
    int MaxTopRow() const;
    int ColumnX(int col) const;  // viewport x of a visible column's left edge
    int RowY(int row) const;
    void UpdateScrollBars();
    void ClampTopLeft();
    void DefaultKey(QKeyEvent& event);
    // Scrolls by whole rows (positive: down) or columns, as the wheel asks.
    void ScrollRows(int rows);
    void ScrollColumns(int columns);
    int DragDirections() const;

    cuiGridClient* client_ = nullptr;
    std::vector<int> widths_;
    std::vector<int> heights_;
    int defaultWidth_ = 64;
    int defaultHeight_ = 24;
    int fixedCols_ = 0;
    int fixedRows_ = 0;
    int col_ = 0;
    int row_ = 0;
    int leftCol_ = 0;
    int topRow_ = 0;
    bool scrollBars_ = true;
    bool syncing_ = false;      // setting the scroll bars from the position
    bool pendingShow_ = false;  // the cursor is to be scrolled into view once shown
    QColor background_;
    // Dragging with the left button.
    bool selecting_ = false;
    QPoint dragPoint_;
    QTimer* dragTimer_ = nullptr;
    // Wheel and touchpad movement not yet turned into whole cells.
    int wheelAngleY_ = 0;
    int wheelAngleX_ = 0;
    int wheelPixelsY_ = 0;
    int wheelPixelsX_ = 0;
};
