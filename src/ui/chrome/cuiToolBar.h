#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QPointer>

#include "cells/cmcCellObj.h"
#include "cells/cuiMainCore.h"

#include <QAction>
class QToolBar;
#include <QWidget>
class cmcGTex;
class cuiImageList;
struct cmcEvent;

// A click on a tool button: (handler data, the button's cell).
using cuiToolClick = void (*)(void* data, cmcCellObj* cell);

// The tool bar, read from the dictionary: base name + "_BasicCell" (line 0) and base name +
// "_Body", one button per line, each line a whole cell description. The display text decides the
// kind: "-" a gap (a separator), "/" a forced line break, anything else a button showing the
// cell's "ImageIndex" with the display text as its hint. The behaviour of a button's cell runs
// its command on a click and, at each refresh, says whether it is down (checked) or disabled.
//
// Each line of buttons is a QToolBar of its own. On a QMainWindow the lines go into its top tool
// bar area, a break between them (so they can be dragged off and docked like any tool bar);
// on another widget they are stacked at the top of its vertical layout.
//
// Event 20 refreshes the buttons' states.
class cuiToolBar {
public:
    // core: the roles the buttons' behaviours run with.
    cuiToolBar(const cuiMainCore& core, QWidget* owner, cmcGTex& dictionary,
               const std::string& baseName, const cuiImageList* images);
    ~cuiToolBar();
    cuiToolBar(const cuiToolBar&) = delete;
    cuiToolBar& operator=(const cuiToolBar&) = delete;

    // Builds the buttons (any earlier ones go). Without a handler a click runs the button's cell
    // with Enter.
    void BuildBar(cuiToolClick click = nullptr, void* clickData = nullptr);
    // Asks every button's cell for its state.
    void UpdateButtons();

    // One entry per body line, in line order: the action of a button or separator; the cell of
    // a button (nullptr for "-" and "/").
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    QAction* Button(int i) const;
    cmcCellObj* ButtonCell(int i) const;
    // The line a body line's entry is on (0 first); -1 for a line break.
    int LineOf(int i) const;

    // The tool bars, one per line of buttons.
    const std::vector<QToolBar*>& Lines() const { return lines_; }
    void SetVisible(bool visible);
    bool IsVisible() const;
    QWidget* Owner() const { return owner_; }

    // The default click: runs the cell with Enter, then refreshes the buttons. data is the bar.
    static void DefaultClick(void* data, cmcCellObj* cell);

private:
    cuiMainCore core_;
    struct Entry {
        QPointer<QAction> action;
        std::unique_ptr<cmcCellObj> cell;  // buttons only
        int line = -1;
    };

    static void OnEvent(void* self, const cmcEvent& event);
    QToolBar* NewLine();
    void ClearBar();

    QPointer<QWidget> owner_;
    cmcGTex& dictionary_;
    std::string baseName_;
    const cuiImageList* images_;
    cmcCellObj basic_;
    std::vector<Entry> buttons_;
    std::vector<QToolBar*> lines_;
    bool visible_ = true;
};
