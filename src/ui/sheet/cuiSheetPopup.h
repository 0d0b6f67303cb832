#pragma once

#include <QKeySequence>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "cells/cmcCellObj.h"
#include "cells/cuiMainCore.h"

class QAction;
class QKeyEvent;
class cmcGTex;

// The items of a sheet's popup menu, built from the sections "<key>_BasicCell" and "<key>_Body"
// of a dictionary into the sheet's menu: one item per body line (the characters before the
// first "+" give its depth; "-" is a separator), each with a cell whose behaviour performs the
// command and tells the item's state. A click (or the item's shortcut) calls the click handler
// with the item's cell. The main menu's Edit item mirrors these items through events 10 and 11,
// which carry this builder; its items act by calling Handler() with HandlerData().
class cuiSheetPopup : public QObject {
    Q_OBJECT
public:
    using ClickHandler = void (*)(void* data, const cmcCellObj& item);

    cuiSheetPopup(const cuiMainCore& core, QMenu* root, cmcGTex& dictionary, const std::string& key,
                  ClickHandler handler, void* data);
    ~cuiSheetPopup() override;

    // Reads the sections and fills the root menu.
    void Build();
    // Takes the items out of the root menu (they are deleted with the builder).
    void Detach();

    // Asks each item's behaviour for its state (checked, hidden, disabled, caption), with the
    // cell the menu belongs to as context.
    void UpdateItems(const cmcCellObj* context);
    // The enabled, visible item whose shortcut is this key, or none.
    QAction* ActionForKey(const QKeyEvent& event) const;
    // Runs an item's command as a click on it does.
    void Activate(QAction* action);

    QMenu* Root() const { return root_; }
    const std::string& Key() const { return key_; }
    ClickHandler Handler() const { return handler_; }
    void* HandlerData() const { return data_; }
    int ItemCount() const { return int(items_.size()); }
    QAction* ItemAction(int i) const { return items_[size_t(i)].action; }
    const cmcCellObj& ItemCell(int i) const { return *items_[size_t(i)].cell; }

    // The shortcut of an item's argument text ("Ctrl+C", "Del", "Enter" ...).
    static QKeySequence ShortcutFromText(const std::string& text);
    // The builder is alive: events carry builders as bare pointers, and an item mirrored into
    // the main menu may be chosen after its builder is gone.
    static bool IsLive(const void* builder);

private slots:
    void OnTriggered();

private:
    cuiMainCore core_;
    struct Item {
        std::unique_ptr<cmcCellObj> cell;
        QAction* action = nullptr;
        bool separator = false;
    };

    QPointer<QMenu> root_;
    cmcGTex& dictionary_;
    std::string key_;
    ClickHandler handler_;
    void* data_;
    cmcCellObj basicCell_;
    std::vector<Item> items_;
    std::vector<QPointer<QMenu>> submenus_;
};
