#pragma once

#include <QObject>
#include <QPointer>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/indActiveCell.h"
#include "ui/sheet/cuiGrid.h"
#include "ui/sheet/cuiSheetPopup.h"

class QFrame;
class QLabel;
class QMenu;
class QPaintDevice;
class QPainter;
class QPlainTextEdit;
class QWidget;
class cmcGTex;
class cuiCellPainter;
class cuiImageList;
struct cmcCellFont;
struct cmcEvent;

// One row of a sheet: the line of the cells section that describes it, and whether it may take
// part in a multi-selection (the SelectON state when it was appended).
struct clsSheeRowAtr {
    int32_t line = 0;
    bool selectable = true;
};

// One cell of a sheet: its description and state, and its selection bits.
struct clsSheetCellId {
    cmcCellObj cell;
    bool multiSelectable = true;
    bool selected = false;    // part of the current range selection
    bool lineMarked = false;  // part of a whole-line marking
};

// Where the cursor was and which part of the grid was shown, so that a rebuilt sheet can come
// back to it.
struct cuiCursorMemory {
    int col = -1;
    int row = -1;
    int leftCol = -1;
    int topRow = -1;
};

// A sheet: the spreadsheet-like editor of a group of radio settings (and of the choice lists,
// the memory dump and the bit-field editor). It has no layout of its own: Build reads the
// sections "<base>_Style", "<base>_BasicCell" and "<base>_Cells" of its dictionary, and every
// cell is a cell object whose behaviour decides what it shows and how it is edited. Keys, typed
// characters, clicks and popup-menu commands all go to the behaviour of the cell under the
// cursor through Act; repaint events (13-18) from the rest of the program repaint the cells that
// show a changed value.
//
// Resource errors are fatal: a cells section without any cell ("Illegal Cell assign"), a cell
// address outside the grid ("Illegal Cell selection").
class cuiSheet : public QObject, protected cuiGridClient {
    Q_OBJECT
public:
    // The behaviour callback: (context, capsule, notify) -> action code. notify is 1 for a sheet
    // action, 0 for display.
    using BehaviourCallback = int (*)(void* context, cmcCellCapsule& capsule, bool notify);
    // Waits between the passes of a repeated action (replaceable so that tests need not wait).
    using WaitCallback = void (*)(void* context, int milliseconds);

    enum MultiSelect : uint8_t { kSelectNone = 0, kSelectCell = 1, kSelectLine = 2 };

    // Nothing is read and no control is made until Build. The owner capsule (choice lists: the
    // capsule of the cell that opened the list) is copied. The image list is not owned.
    // core: the roles the cells' behaviours run with.
    cuiSheet(const cuiMainCore& core, QWidget* parent, const cmcCellCapsule* ownerCapsule,
             int targetLabel, int targetArgument, cmcGTex& dictionary, const std::string& baseName,
             const cuiImageList* images);
    const cuiMainCore& Core() const { return core_; }
    ~cuiSheet() override;

    cuiSheet(const cuiSheet&) = delete;
    cuiSheet& operator=(const cuiSheet&) = delete;

    // ---- Before Build.
    void SetReference(const std::string& reference) { reference_ = reference; }
    const std::string& GetReference() const { return reference_; }
    virtual std::string SetArgText(const std::string& text);
    const std::string& ArgText() const { return argText_; }
    void SetBehaviour(BehaviourCallback callback, void* context);
    void SetChoiceListMode(bool on);
    bool ChoiceListMode() const { return (modeBits_ & kModeChoiceList) != 0; }
    // Building for a printer (or any page device: a PDF writer, an image standing for a page):
    // the sheet measures its cells on it, and its resolution sets the scale (vertical dots per
    // inch / 120).
    void SetPrinter(QPaintDevice* printer);
    QPaintDevice* Printer() const { return printer_; }
    int Scale() const { return scale_; }
    void SetPrintFontSize(int height) { printFontSize_ = height; }
    // The cursor and scroll position to restore on Build.
    void SetCursorMemory(int col, int row, int leftCol, int topRow);
    void SetCursorMemory(const cuiCursorMemory& m) {
        SetCursorMemory(m.col, m.row, m.leftCol, m.topRow);
    }
    void SetWaitCallback(WaitCallback callback, void* context);

    // Reads the sections, creates the panels and the grid, fills the cells, places the cursor.
    virtual void Build();

    // ---- The built sheet.
    // The widget that holds the title and the grid; it fills the parent.
    QWidget* Widget() const { return root_; }
    cuiGrid* Grid() const { return grid_; }
    QLabel* TitleLabel() const { return titleLabel_; }
    int ColumnCount() const { return colCount_; }
    int RowCount() const { return rowCount_; }
    clsSheetCellId& CellIdAt(int col, int row);
    cmcCellObj& CellAt(int col, int row) { return CellIdAt(col, row).cell; }
    const clsSheeRowAtr& RowAttribute(int row) const { return rows_[size_t(row)]; }
    const cmcCellObj& BasicCell() const { return basicCell_; }
    const std::string& BaseName() const { return baseName_; }
    cmcGTex& Dictionary() const { return dictionary_; }
    const cuiImageList* Images() const { return images_; }
    int CursorCol() const;
    int CursorRow() const;
    // Cursor and scroll position now, for SetCursorMemory of a later sheet.
    cuiCursorMemory CursorMemory() const;
    uint8_t MultiSelectMode() const { return multiMode_; }
    bool RangePresent() const { return (stateBits_ & kStateRange) != 0; }
    int FirstSelectableCol() const { return firstSelCol_; }
    int FirstSelectableRow() const { return firstSelRow_; }
    virtual std::string GetTitle() const;
    // The "TitleFont" of the style line; nullptr when none was given.
    const cmcCellFont* TitleFont() const { return titleFont_.get(); }
    virtual bool IsPrintable() const { return (modeBits_ & kModeNoPrint) == 0; }
    int PrintFontRatio() const { return printFontRatio_; }
    // Top row and left column become the first scrolling ones; the cursor stays.
    void ScrollHome();
    // The size at which the parent shows the whole grid (bars shown only as needed are not
    // counted: at this size none is needed).
    int FullWidth() const;
    int FullHeight() const;
    // Gives the grid the keyboard focus.
    void SetFocus();
    // Repaints every cell.
    void Repaint();

    // ---- Editing, navigation and selection.
    void Act(int col, int row, int key, int command, const std::string* text = nullptr);
    void FillCapsule(int col, int row, cmcCellCapsule& capsule);
    void MoveBy(int dx, int dy);
    void MoveTo(int col, int row);
    void MoveInternal(int col, int row);
    void MoveToMatch(int category, int label, int argument);
    bool SelectAtMouse(int x, int y, bool onlyTest);
    bool ResolveLeft(int& col, int row);
    bool IsHighlighted(int col, int row);
    void UpdateSelection(int col, int row);
    void ClearRange();
    void InvalidateMarked();
    // Repaints one cell and the "T" cells attached to its right.
    void RepaintCell(int col, int row);

    // The in-place editor.
    void OpenEditor(int col, int row);
    void CloseEditor(bool returnFocus);
    void CommitEditor();
    void ReopenEditor(cmcCellCapsule& capsule, int flag);
    QPlainTextEdit* Editor() const { return editor_; }
    bool EditorShowing() const;

    // The popup menu of the current cell.
    void RefreshPopup(int col, int row, bool force);
    QMenu* PopupMenu() const { return popupMenu_; }
    cuiSheetPopup* PopupBuilder() const { return popupBuilder_; }
    const std::string& PopupKey() const { return popupKey_; }

    // Repaints the visible cells that match a probe cell by the criteria bits (see the .cpp).
    void InvalidateMatching(const cmcCellCapsule& probe, int criteria);

    // ---- Drawing: one cell onto any painter (the grid's viewport, a QImage, a printer page).
    // Printing is decided by SetPrinter.
    void DrawCell(QPainter& painter, int col, int row, const QRect& rect);

    // Criteria bits of InvalidateMatching.
    enum Criteria : int {
        kMatchLabelArgument = 0x01,
        kMatchCategory = 0x02,
        kMatchLabel = 0x04,
        kMatchArgument = 0x08,
        kMatchNearArgument = 0x10,
        kMatchLabelled = 0x20,
        kMatchArgumentAtLeast = 0x40,
        kMatchArgumentAtMost = 0x80,
    };

protected:
    // Building steps, in the order Build calls them.
    virtual void ApplyStyleKey(const std::string& group);
    virtual void ApplyDirective(const std::string& group);
    virtual void BuildCells();
    virtual void BuildBasicCell();
    virtual void ScanRows();
    virtual void FillCells();
    virtual void BeforeRow(int row) { (void)row; }
    virtual void BeforeCell(int col, int row) {
        (void)col;
        (void)row;
    }
    void SetSkipCount(int count) { skipCount_ = count; }
    int CurrentLine() const { return currentLine_; }

    // The grid's decision points.
    bool GridSelectCell(int col, int row) override;
    void GridDrawCell(QPainter& painter, int col, int row, const QRect& rect) override;
    bool GridRepaintCell(int col, int row) override;
    bool GridTimedScroll(int directions) override;
    void GridFocusGained(Qt::FocusReason reason) override;
    void GridFocusLost(Qt::FocusReason reason) override;
    bool GridShortcutOverride(QKeyEvent& event) override;
    bool GridKeyDown(QKeyEvent& event) override;
    void GridKeyPress(int character) override;
    void GridKeyUp(QKeyEvent& event) override;
    void GridMouseDown(QMouseEvent& event) override;
    void GridMouseUp(QMouseEvent& event) override;
    void GridMouseMove(QMouseEvent& event) override;
    void GridDoubleClick(QMouseEvent& event) override;
    void GridContextMenu(QContextMenuEvent& event) override;

    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void OnPopupAboutToShow();
    void OnEditorTextChanged();

private:
    enum : uint8_t { kModeChoiceList = 0x01, kModeNoPrint = 0x02 };
    enum : uint8_t { kStateInternalMove = 0x01, kStateRange = 0x02, kStateMouseHeld = 0x04 };

    void BuildWindow();
    // What the parent, the panels and the grid take around the grid's cells.
    QSize ChromeSize() const;
    void FitSpans();
    void ApplyGroups(const std::string& line, bool directives);
    // The measuring device: the printer when printing, else the grid.
    QPaintDevice* MeasureDevice() const;
    const cmcCellFont& FontOf(const cmcCellObj& cell) const;
    void SetSelected(int col, int row, bool on);
    void SetLineMark(int col, int row, bool on);
    void UpdateLineMarks();
    bool Selectable(int col, int row) const;
    bool StraightSearch(int& col, int& row, int sx, int sy, bool wrap) const;
    bool LineSearch(int& col, int& row, int sx, int sy) const;
    void PostCurrentCell(int col, int row);
    void OpenPopupAt(const QPoint& globalPos);
    bool EditorKey(QKeyEvent& event);
    void ChoiceReply(cmcCellCapsule& chosen);
    bool PopupShortcut(QKeyEvent& event, bool trigger);
    void DestroyPopupBuilder();
    void DrawMark(cuiCellPainter& canvas, const cmcCellObj& owner, const QRect& rect, int penX);
    // The side of the cell a mark of the last drawn behaviour goes to, and its size.
    int MarkPosition(const cmcCellObj& owner) const;
    int MarkSize(const QRect& rect) const;

    // Empties the status bar when the technician acts, so an older message is not read as the
    // answer to the new action.
    static void ClearStatus();
    static int DefaultBehaviour(void* context, cmcCellCapsule& capsule, bool notify);
    static void DefaultWait(void* context, int milliseconds);
    static void OnEvent(void* self, const cmcEvent& event);
    static void RedrawCallback(void* self, cmcCellCapsule& capsule, int criteria);
    static void ReopenCallback(void* self, cmcCellCapsule& capsule, int flag);
    static void PopupClick(void* self, const cmcCellObj& item);
    void HandleEvent(const cmcEvent& event);

    cuiMainCore core_;
    QWidget* parent_;
    cmcGTex& dictionary_;
    std::string baseName_;
    std::unique_ptr<cmcCellCapsule> ownerCapsule_;
    const cuiImageList* images_;
    BehaviourCallback behaviour_ = nullptr;
    void* behaviourContext_ = nullptr;
    WaitCallback wait_ = &cuiSheet::DefaultWait;
    void* waitContext_ = nullptr;
    int targetLabel_;
    int targetArgument_;
    std::string argText_;
    int building_ = 0;
    int lastMouseCol_ = -1;
    int lastMouseRow_ = -1;
    QPaintDevice* printer_ = nullptr;
    int scale_ = 1;
    int printFontSize_ = 0;
    cuiCursorMemory remembered_;
    std::string reference_;
    std::optional<std::string> title_;
    std::unique_ptr<cmcCellFont> titleFont_;
    cmcColor titleColor_ = clGrayText;
    int fixedCols_ = 0;
    int fixedRows_ = 0;
    int printFontRatio_ = 100;
    uint8_t multiMode_ = kSelectNone;
    uint8_t modeBits_ = 0;
    int firstSelCol_ = 0;
    int firstSelRow_ = 0;
    QPointer<QWidget> root_;
    QFrame* titlePanel_ = nullptr;
    QLabel* titleLabel_ = nullptr;
    QFrame* gridPanel_ = nullptr;
    QPointer<cuiGrid> grid_;
    QPlainTextEdit* editor_ = nullptr;
    int editorCol_ = -1;
    int editorRow_ = -1;
    bool commitAttached_ = true;
    bool committing_ = false;
    QMenu* popupMenu_ = nullptr;
    QPointer<cuiSheetPopup> popupBuilder_;
    int popupCol_ = -1;
    int popupRow_ = -1;
    std::string popupKey_;
    bool autoPopup_ = true;
    std::vector<clsSheeRowAtr> rows_;
    std::vector<int> rowCells_;   // cells each row's line holds
    std::vector<int> lineCells_;  // cells of each line of the cells section, as scanned
    int skipCount_ = 0;
    int currentLine_ = 0;
    int rowCount_ = 0;
    int colCount_ = 0;
    int loopStart_ = -1;
    int loopEnd_ = -1;
    int loopCount_ = -1;
    int16_t selectOn_ = 1;
    std::array<int32_t, cmcCellObj::kCounterCount> counters_{};
    cmcCellObj basicCell_;
    std::vector<clsSheetCellId> cells_;
    cmcCellCapsule drawCapsule_;
    cmcCellRect cellRect_;
    indActiveCell activeCell_{core_};
    int navCol_ = 0;
    int navRow_ = 0;
    int anchorCol_ = -1;
    int anchorRow_ = -1;
    uint8_t stateBits_ = 0;
};
