#include "ui/sheet/cuiSheetPopup.h"

#include <algorithm>
#include <vector>

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellParser.h"
#include "cells/indActiveCell.h"
#include "text/cmcGTex.h"

namespace {

struct BodyLine {
    int depth = 0;
    std::string text;
};

std::vector<const void*>& LiveBuilders() {
    static std::vector<const void*> live;
    return live;
}

// Enter on the main keyboard and on the keypad are one key to a technician.
QKeyCombination Normalised(QKeyCombination k) {
    Qt::Key key = k.key();
    if (key == Qt::Key_Enter)
        key = Qt::Key_Return;
    return QKeyCombination(k.keyboardModifiers() & ~Qt::KeypadModifier, key);
}

}  // namespace

cuiSheetPopup::cuiSheetPopup(const cuiMainCore& core, QMenu* root, cmcGTex& dictionary,
                             const std::string& key, ClickHandler handler, void* data)
    : core_(core), root_(root), dictionary_(dictionary), key_(key), handler_(handler), data_(data) {
    LiveBuilders().push_back(this);
}

cuiSheetPopup::~cuiSheetPopup() {
    auto& live = LiveBuilders();
    live.erase(std::remove(live.begin(), live.end(), static_cast<const void*>(this)), live.end());
    Detach();
}

bool cuiSheetPopup::IsLive(const void* builder) {
    if (builder == nullptr)
        return false;
    const auto& live = LiveBuilders();
    return std::find(live.begin(), live.end(), builder) != live.end();
}

QKeySequence cuiSheetPopup::ShortcutFromText(const std::string& text) {
    const QKeySequence seq = QKeySequence::fromString(QString::fromLocal8Bit(text.c_str()));
    if (seq.isEmpty())
        return seq;
    return QKeySequence(Normalised(seq[0]));
}

void cuiSheetPopup::Build() {
    Detach();
    items_.clear();
    basicCell_.parent = nullptr;
    ParseCell(dictionary_.Text(key_ + "_BasicCell"), basicCell_, nullptr, nullptr);
    std::vector<BodyLine> lines;
    const std::string body = key_ + "_Body";
    for (int n = 0;; ++n) {
        std::string line = dictionary_.Line(body, n);
        if (!line.empty() && line[0] == '#')
            break;
        const std::size_t plus = line.find('+');
        if (plus == std::string::npos)
            continue;  // not an item line
        lines.push_back({int(plus), line.substr(plus + 1)});
    }
    // menus[d]: where items of depth d go.
    std::vector<QMenu*> menus{root_.data()};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int depth = std::min(lines[i].depth, int(menus.size()) - 1);
        menus.resize(size_t(depth) + 1);
        QMenu* parent = menus.back();
        Item item;
        item.cell = std::make_unique<cmcCellObj>();
        ParseCell(lines[i].text, *item.cell, nullptr, &basicCell_);
        const QString caption = QString::fromLocal8Bit(item.cell->GetText().c_str());
        if (caption == "-") {
            item.separator = true;
            item.action = new QAction(this);
            item.action->setSeparator(true);
            parent->addAction(item.action);
        } else if (i + 1 < lines.size() && lines[i + 1].depth > lines[i].depth) {
            auto* sub = new QMenu(caption, root_);
            submenus_.push_back(sub);
            item.action = sub->menuAction();
            parent->addMenu(sub);
            menus.push_back(sub);
        } else {
            item.action = new QAction(caption, this);
            if (item.cell->argText && !item.cell->argText->empty()) {
                item.action->setShortcut(ShortcutFromText(*item.cell->argText));
                // Shown in the menu; the sheet itself answers the key while it has the focus.
                item.action->setShortcutContext(Qt::WidgetShortcut);
            }
            connect(item.action, &QAction::triggered, this, &cuiSheetPopup::OnTriggered);
            parent->addAction(item.action);
        }
        items_.push_back(std::move(item));
    }
}

void cuiSheetPopup::Detach() {
    if (root_) {
        for (Item& item : items_)
            if (item.action)
                root_->removeAction(item.action);
    }
    for (QPointer<QMenu>& sub : submenus_)
        if (sub)
            sub->deleteLater();
    submenus_.clear();
}

void cuiSheetPopup::UpdateItems(const cmcCellObj* context) {
    cmcCellObj contextCell;
    cmcCellCapsule contextCapsule;
    if (context) {
        contextCell.CopyFrom(*context);
        contextCapsule.cell = &contextCell;
    }
    indActiveCell active(core_);
    for (Item& item : items_) {
        if (item.separator || !item.action)
            continue;
        cmcCellObj& cell = *item.cell;
        cell.state &= uint8_t(~(cmcCellObj::kChecked | cmcCellObj::kHidden | cmcCellObj::kDisabled |
                                cmcCellObj::kTextReplaced));
        cmcCellCapsule capsule;
        capsule.ownerControl = root_.data();
        capsule.cell = &cell;
        capsule.parent = context ? &contextCapsule : nullptr;
        active.Evaluate(capsule, false);
        item.action->setCheckable((cell.state & cmcCellObj::kChecked) != 0);
        item.action->setChecked((cell.state & cmcCellObj::kChecked) != 0);
        item.action->setVisible(!(cell.state & cmcCellObj::kHidden));
        item.action->setEnabled(!(cell.state & cmcCellObj::kDisabled));
        if (cell.state & cmcCellObj::kTextReplaced) {
            const QString caption = QString::fromLocal8Bit(cell.GetText().c_str());
            if (item.action->text() != caption)
                item.action->setText(caption);
        }
    }
}

QAction* cuiSheetPopup::ActionForKey(const QKeyEvent& event) const {
    if (event.key() == 0 || event.key() == Qt::Key_unknown)
        return nullptr;
    const QKeyCombination pressed = Normalised(event.keyCombination());
    for (const Item& item : items_) {
        QAction* a = item.action;
        if (!a || item.separator || a->shortcut().isEmpty())
            continue;
        if (Normalised(a->shortcut()[0]) == pressed && a->isEnabled() && a->isVisible())
            return a;
    }
    return nullptr;
}

void cuiSheetPopup::Activate(QAction* action) {
    for (const Item& item : items_) {
        if (item.action == action && !item.separator) {
            if (action->isEnabled() && handler_)
                handler_(data_, *item.cell);  // may end this builder's life: nothing after
            return;
        }
    }
}

void cuiSheetPopup::OnTriggered() {
    Activate(qobject_cast<QAction*>(sender()));
}
