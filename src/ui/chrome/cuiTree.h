#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QObject>
#include <QPointer>

#include "cells/cmcCellObj.h"
#include "cells/cuiMainCore.h"

class QTimer;
#include <QTreeWidget>
class QTreeWidgetItem;
#include <QWidget>
class cmcGTex;
class cuiImageList;
struct cmcEvent;

// The navigation tree, read from the dictionary: base name + "_BasicCell" (line 0: the parent of
// every node's cell; its font and colour are the tree's) and base name + "_Body" (one node per
// line, nested by indentation). Each node carries a cell: its display text is the caption, its
// "ImageIndex" the picture, its label and argument text what selecting the node does (as a rule
// CallSheet with a sheet reference). Nodes whose sheets hold questionable data carry a mark, drawn
// over the node's picture.
//
// Selecting a node is handled after the change delay: SelectionSettled is emitted once the
// selection has rested that long, and ActivateSelected then runs the node's cell with Enter.
//
// Event 1 naming the tree's panel (first argument) makes the tree go: it hides its view and
// deletes itself later, so it must be made with new and its owner keeps it in a QPointer.
class cuiTree : public QObject {
    Q_OBJECT
public:
    // Marks, as overlay numbers: the error mark wins over the notice mark.
    static constexpr int kNoMark = -1;
    static constexpr int kMarkError = 0;
    static constexpr int kMarkNotice = 1;

    // Creates the read-only tree view on the panel (filling it when the panel has no layout of
    // its own); images: the tree image list (not owned; entries 5 and 4 are the error and the
    // notice mark).
    // core: the roles the node cells' behaviours run with.
    cuiTree(const cuiMainCore& core, QWidget* panel, cmcGTex& dictionary,
            const std::string& baseName, const cuiImageList* images);
    ~cuiTree() override;

    // Reads the sections and builds the nodes (any earlier ones go); expands the first node.
    void BuildTree();

    QTreeWidget* View() const { return view_; }
    // The view's size at which every node's caption shows whole, every folder opened (the
    // indentation, the picture and the text, within the view's frame; no scroll bar): what a
    // first window gives the tree.
    QSize FullSize() const;
    QWidget* Panel() const { return panel_; }
    const cmcCellObj& BasicCell() const { return basic_; }
    QTreeWidgetItem* FirstNode() const;
    // The cell of the selected node; nullptr when none is selected or it has none.
    cmcCellObj* SelectedCell() const;
    // Selects a node (nullptr: the first) and makes it current.
    void SelectNode(QTreeWidgetItem* node = nullptr);
    // The first node, in tree order, whose cell opens the sheet with this reference; nullptr
    // when none does.
    QTreeWidgetItem* NodeFor(const std::string& sheetReference) const;

    // The cell a node carries, and the mark it shows.
    static cmcCellObj* CellOf(const QTreeWidgetItem* node);
    static int MarkOf(const QTreeWidgetItem* node);

    // Removes the mark of a node and of everything below it.
    void ClearMarks(QTreeWidgetItem* node);
    // Marks the nodes below and including `node` whose cell's argument text is in the list, and a
    // collapsed node above any of them; returns the number of matching nodes.
    int MarkNodes(QTreeWidgetItem* node, const std::vector<std::string>& list, int mark);
    // The result of a warning check: every node's mark cleared, then the notice list, then the
    // error list marked over every top-level node.
    void ApplyMarks(const std::vector<std::string>& notices,
                    const std::vector<std::string>& errors);

    // Milliseconds between a selection change and its handling.
    void SetChangeDelay(int ms);
    int ChangeDelay() const { return changeDelay_; }
    // A selection change waits for its delay.
    bool ChangePending() const;
    // Handles a waiting selection change now (emits SelectionSettled).
    void SettleNow();

    // Runs the selected node's cell with Enter, unless it has none or its argument text is the
    // reference of the sheet already open. True when the cell was run.
    bool ActivateSelected(const std::string& openSheetReference = std::string());

signals:
    // The selection has rested for the change delay.
    void SelectionSettled();
    // A node was expanded or collapsed (the marks of collapsed folders then change).
    void ExpandedOrCollapsed();

private:
    static void OnEvent(void* self, const cmcEvent& event);
    cuiMainCore core_;
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const std::string& line);
    void SetMark(QTreeWidgetItem* node, int mark);
    void ApplyIcon(QTreeWidgetItem* node);

    QPointer<QWidget> panel_;
    cmcGTex& dictionary_;
    std::string baseName_;
    const cuiImageList* images_;
    QPointer<QTreeWidget> view_;
    cmcCellObj basic_;
    std::vector<std::unique_ptr<cmcCellObj>> cells_;
    QTimer* changeTimer_;
    int changeDelay_ = 0;
    int overlayImage_[2];  // the image of each mark
};
