#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QPointer>

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cuiMainCore.h"

class QAction;
class QMenu;
class QObject;
#include <QWidget>
class cmcGTex;
class cuiImageList;
class cuiSheetPopup;
struct cmcEvent;

// A click on a menu item: (handler data, the item).
using cuiMenuClick = void (*)(void* data, QAction* item);

// A menu read from the dictionary: base name + "_BasicCell" (line 0, the parent of every item's
// cell) and base name + "_Body" (one item per line, nested by indentation like the tree). Every
// item carries a cell; its behaviour runs the command when the item is chosen and, at each
// refresh, decides whether the item is checked, hidden or disabled, and may replace its caption.
//
// The root is the menu bar or the popup menu the items go into. Items are QActions; an item with
// sub-items has a submenu. An item is named by its QAction; nullptr names the root.
//
// Events (registered with the global event manager, when there is one):
//   9  refresh every item's state;
//   10 (second = label) remove the sub-items of the item with that label;
//   11 (first = source menu, second = label, text = popup key) fill the item with that label from
//      the key's "_Body" on behalf of the source menu: the new items act exactly like the source
//      menu's own (its click handler, its root as their owner). The source may also be a sheet's
//      popup builder (cuiSheetPopup): the items then run the popup's commands on the sheet's
//      current cell. This is how the main menu's Edit item mirrors the popup menu of the current
//      sheet cell.
class cuiMenu {
public:
    // owner: handed to the behaviours as the capsule's owner control. root: a QMenuBar or a QMenu
    // (not owned). Without a click handler the default click runs the item's cell with Enter.
    // core: the roles the items' behaviours run with.
    cuiMenu(const cuiMainCore& core, QObject* owner, QWidget* root, cmcGTex& dictionary,
            const std::string& baseName, cuiMenuClick click = nullptr, void* clickData = nullptr);
    // Removes this menu's own items from the root, so that no item outlives its cell.
    ~cuiMenu();
    cuiMenu(const cuiMenu&) = delete;
    cuiMenu& operator=(const cuiMenu&) = delete;

    // Empties the root, reads the basic cell and adds the body's items.
    void BuildMenu();
    // Adds the items of a body section from line `first` under `parent`; with a source menu the
    // items act for it. Returns the lines consumed.
    int AddItems(QAction* parent, const std::string& section, int first, cuiMenu* source);
    // One item from a body line, as the last child of parent.
    QAction* AddItem(QAction* parent, const std::string& line, cuiMenu* source);
    // Refreshes the states of an item and everything below it (nullptr: the whole menu).
    void UpdateItems(QAction* item = nullptr);
    // Depth first from the root: the first item whose cell has the label; nullptr for none.
    QAction* FindItemByLabel(int label) const;
    // Deletes the sub-items of an item (nullptr: of the root) and the cells no item still carries.
    void ClearItems(QAction* item);

    // The sub-items of an item (nullptr: the root's items).
    std::vector<QAction*> Children(const QAction* item) const;
    // -1 when no item has the label, else the number of its sub-items made from cells (what
    // the program adds beside them does not count).
    int ItemCount(int label) const;
    // The sub-items of an item that carry a cell.
    int CellChildCount(const QAction* item) const;
    // Asks (posted event 11) that the item with the label be filled from a popup key on this
    // menu's own behalf, unless it holds items by the time the request arrives.
    void PostMirror(int label, const std::string& popupKey);

    // Pictures for the items' "ImageIndex" (not owned; none: no pictures).
    void SetImageList(const cuiImageList* images);

    QWidget* Root() const { return root_; }
    QObject* Owner() const { return owner_; }
    const std::string& BaseName() const { return baseName_; }
    const cmcCellObj& BasicCell() const { return basic_; }
    // Cells this menu holds (its own items' and those it mirrored).
    int CellCount() const { return static_cast<int>(cells_.size()); }

    // The cell an item carries; nullptr for none.
    static cmcCellObj* CellOf(const QAction* item);
    // The menu whose item this is (the one it acts for); nullptr when it is not a live menu's.
    static cuiMenu* SourceOf(const QAction* item);
    // The default click: runs the item's cell with Enter, the current sheet cell as its context,
    // then refreshes the menu. data is the menu.
    static void DefaultClick(void* data, QAction* item);
    // The menu is alive (events carry menus as bare pointers).
    static bool IsLive(const cuiMenu* menu);

private:
    cuiMainCore core_;
    static void OnEvent(void* self, const cmcEvent& event);
    void UpdateOne(QAction* item);
    void ApplyIcon(QAction* item, int imageIndex);
    bool InTree(const QAction* item) const;
    void CollectCarried(const QWidget* container, std::vector<const cmcCellObj*>& carried) const;
    QMenu* SubmenuFor(QAction* item);
    QWidget* ContainerOf(const QAction* parent) const;
    void Click(QAction* item);

    QObject* owner_;
    cmcGTex& dictionary_;
    std::string baseName_;
    QPointer<QWidget> root_;
    cuiMenuClick click_;
    void* clickData_;
    const cuiImageList* images_ = nullptr;
    cmcCellObj basic_;
    std::vector<std::unique_ptr<cmcCellObj>> cells_;
    // The refresh: the owner whose context was asked last, in this refresh, and that context.
    const QObject* lastOwner_ = nullptr;
    cmcCellCapsule refresh_;
    cmcCellObj contextCell_;
    std::unique_ptr<cmcCellCapsule> context_;
    // While a sheet's popup is being mirrored: the popup the new items act for.
    cuiSheetPopup* popupSource_ = nullptr;
};
