#pragma once

// How journeys and their coverage test name the items of the main menu and the tool bar: an
// item made from a cell by its cell's label and argument (so that a recent file's item keeps
// its name whatever file it shows), an item the program adds by its menu path, a tool-bar
// button by its cell too.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <string>
#include <vector>

#include "cells/cmcCellNames.h"
#include "cells/cmcCellObj.h"
#include "ui/chrome/cuiMenu.h"
#include "ui/chrome/cuiToolBar.h"

namespace journey {

// A caption without its accelerator marks.
inline QString Plain(QString text) {
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return text.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

// The plain captions from the menu bar down to the item, joined with "/".
inline std::string MenuPath(const QAction* item) {
    std::vector<QString> parts{Plain(item->text())};
    const QMenu* menu = nullptr;
    for (QObject* o : item->associatedObjects())
        if ((menu = qobject_cast<QMenu*>(o)) != nullptr)
            break;
    while (menu != nullptr) {
        const QAction* owner = menu->menuAction();
        parts.insert(parts.begin(), Plain(owner->text()));
        const QMenu* up = nullptr;
        for (QObject* o : owner->associatedObjects())
            if ((up = qobject_cast<QMenu*>(o)) != nullptr)
                break;
        menu = up;
    }
    std::string path;
    for (const QString& p : parts)
        path += (path.empty() ? "" : "/") + p.toStdString();
    return path;
}

inline std::string CellName(const cmcCellObj& cell) {
    const char* label = LabelName(cell.label);
    return (label ? std::string(label) : std::to_string(cell.label)) + "[" +
           std::to_string(cell.argument) + "]";
}

inline std::string ItemName(const QAction* item) {
    if (const cmcCellObj* cell = cuiMenu::CellOf(item))
        return "menu " + CellName(*cell);
    return "menu " + MenuPath(item);
}

inline std::string ButtonName(const cuiToolBar& bar, int i) {
    const cmcCellObj* cell = bar.ButtonCell(i);
    return cell ? "tool bar " + CellName(*cell) : "tool bar " + std::to_string(i);
}

// Every item of the menu bar that a technician can choose: not separators, not the titles of
// menus, and in the Edit menu only what the program puts there itself (its other items mirror
// the current sheet cell's pop-up, a different set on every sheet, and are reached through the
// row commands).
inline std::vector<const QAction*> MenuItems(const QMenuBar& bar) {
    std::vector<const QAction*> out;
    std::vector<std::pair<const QAction*, bool>> pending;
    for (const QAction* a : bar.actions())
        pending.push_back({a, false});
    while (!pending.empty()) {
        const auto [a, inEdit] = pending.back();
        pending.pop_back();
        if (a->isSeparator())
            continue;
        const cmcCellObj* cell = cuiMenu::CellOf(a);
        const bool edit = inEdit || (cell != nullptr && cell->label == CL_Menu_Edit_Top);
        if (a->menu() != nullptr) {
            for (const QAction* c : a->menu()->actions())
                pending.push_back({c, edit});
            continue;
        }
        // The Edit menu's own title, before a sheet has filled the menu, is no item either.
        if ((inEdit && cell != nullptr) || (cell != nullptr && cell->label == CL_Menu_Edit_Top))
            continue;
        out.push_back(a);
    }
    return out;
}

}  // namespace journey
