#include "ui/chrome/cuiMenu.h"

#include <algorithm>

#include <QAction>
#include <QMenu>
#include <QVariant>
#include <QWidget>

#include "cells/cmcCellParser.h"
#include "cells/indActiveCell.h"
#include "events/cmcEvMan.h"
#include "text/cmcGTex.h"
#include "ui/chrome/cuiNesting.h"
#include "ui/chrome/cuiShortcut.h"
#include "ui/sheet/cuiCurrentCell.h"
#include "ui/sheet/cuiImageList.h"
#include "ui/sheet/cuiSheetPopup.h"

namespace {

// What an item carries besides its QAction: its cell, the menu it acts for, and the root of that
// menu (the item's owner, by which event 12 finds the sheet whose current cell is its context).
const char kSourceProperty[] = "pqMenuSource";
const char kOwnerProperty[] = "pqMenuOwner";
const char kImageProperty[] = "pqMenuImage";

std::vector<const cuiMenu*>& LiveMenus() {
    static std::vector<const cuiMenu*> live;
    return live;
}

quintptr PointerOf(const QVariant& v) {
    return v.isValid() ? v.value<quintptr>() : 0;
}

// Takes an item out of its menus for good: its sub-items first, then the item and its submenu.
// Deletion waits for the event loop, because the item may be the very one whose click is being
// handled further up the stack; the item forgets its cell at once, so nothing can reach it.
void Retire(QWidget* container, QAction* item) {
    if (QMenu* sub = item->menu()) {
        for (QAction* child : sub->actions())
            Retire(sub, child);
        item->setMenu(static_cast<QMenu*>(nullptr));
        sub->deleteLater();
    }
    container->removeAction(item);
    item->setData(QVariant());
    item->setProperty(kSourceProperty, QVariant());
    item->disconnect();
    item->deleteLater();
}

}  // namespace

cuiMenu::cuiMenu(const cuiMainCore& core, QObject* owner, QWidget* root, cmcGTex& dictionary,
                 const std::string& baseName, cuiMenuClick click, void* clickData)
    : core_(core),
      owner_(owner),
      dictionary_(dictionary),
      baseName_(baseName),
      root_(root),
      click_(click != nullptr ? click : &cuiMenu::DefaultClick),
      clickData_(click != nullptr ? clickData : this) {
    LiveMenus().push_back(this);
    if (cmcEvMan* ev = cmcEvMan::Global())
        ev->AddHandler(&cuiMenu::OnEvent, this);
}

cuiMenu::~cuiMenu() {
    if (cmcEvMan* ev = cmcEvMan::Global())
        ev->RemoveHandler(&cuiMenu::OnEvent, this);
    auto& live = LiveMenus();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    if (root_)
        ClearItems(nullptr);
}

bool cuiMenu::IsLive(const cuiMenu* menu) {
    if (menu == nullptr)
        return false;
    const auto& live = LiveMenus();
    return std::find(live.begin(), live.end(), menu) != live.end();
}

cmcCellObj* cuiMenu::CellOf(const QAction* item) {
    if (item == nullptr)
        return nullptr;
    return reinterpret_cast<cmcCellObj*>(PointerOf(item->data()));
}

cuiMenu* cuiMenu::SourceOf(const QAction* item) {
    if (item == nullptr)
        return nullptr;
    auto* menu = reinterpret_cast<cuiMenu*>(PointerOf(item->property(kSourceProperty)));
    return IsLive(menu) ? menu : nullptr;
}

void cuiMenu::BuildMenu() {
    ClearItems(nullptr);
    basic_.parent = nullptr;
    basic_.Reset();
    ParseCell(dictionary_.Text(baseName_ + "_BasicCell"), basic_, nullptr, nullptr);
    AddItems(nullptr, baseName_ + "_Body", 0, nullptr);
}

int cuiMenu::AddItems(QAction* parent, const std::string& section, int first, cuiMenu* source) {
    auto add = [this, source](QAction* p, const std::string& line) {
        return AddItem(p, line, source);
    };
    return cuiAddAllNested<QAction*>(parent, dictionary_, section, first, add);
}

QWidget* cuiMenu::ContainerOf(const QAction* parent) const {
    if (parent == nullptr)
        return root_;
    return parent->menu();
}

QMenu* cuiMenu::SubmenuFor(QAction* item) {
    if (QMenu* sub = item->menu())
        return sub;
    auto* sub = new QMenu(root_);
    sub->setTitle(item->text());
    item->setMenu(sub);
    // States are refreshed on event 9; asking once more as a menu opens keeps what it shows
    // right even when nothing raised the event since the last change.
    QObject::connect(sub, &QMenu::aboutToShow, sub, [this, item] {
        if (IsLive(this))
            UpdateItems(item);
    });
    return sub;
}

QAction* cuiMenu::AddItem(QAction* parent, const std::string& line, cuiMenu* source) {
    if (root_ == nullptr)
        return nullptr;
    auto cell = std::make_unique<cmcCellObj>();
    cell->parent = &basic_;
    cell->Reset();
    ParseCell(cuiLineDescription(line), *cell, nullptr, &basic_);

    QWidget* container = parent != nullptr ? SubmenuFor(parent) : root_.data();
    cuiMenu* actsFor = source != nullptr ? source : this;
    QWidget* ownerRoot = actsFor->Root() != nullptr ? actsFor->Root() : container;
    cuiSheetPopup* popup = popupSource_;
    if (popup != nullptr)
        ownerRoot = popup->Root();  // the sheet answers event 12 for its popup's root
    auto* item = new QAction(popup != nullptr ? static_cast<QObject*>(container) : ownerRoot);
    const QString caption = QString::fromLocal8Bit(cell->GetText().c_str());
    if (caption == QLatin1String("-"))
        item->setSeparator(true);
    else
        item->setText(caption);
    if (cell->argText && !cell->argText->empty())
        item->setShortcuts(cuiShortcutsFromText(*cell->argText));
    item->setData(QVariant::fromValue<quintptr>(reinterpret_cast<quintptr>(cell.get())));
    item->setProperty(kSourceProperty, QVariant::fromValue<quintptr>(quintptr(actsFor)));
    item->setProperty(kOwnerProperty, QVariant::fromValue<quintptr>(quintptr(ownerRoot)));
    ApplyIcon(item, cell->imageIndex);

    if (popup != nullptr) {
        // A mirror of a sheet's popup: the item runs the popup's command, as long as the popup
        // (and with it its sheet) is there.
        QObject::connect(item, &QAction::triggered, item, [popup, item] {
            const cmcCellObj* cell = CellOf(item);
            if (cell == nullptr || !cuiSheetPopup::IsLive(popup) || popup->Handler() == nullptr)
                return;
            cmcCellObj command;  // the command may retire this very item
            command.CopyFrom(*cell);
            popup->Handler()(popup->HandlerData(), command);
        });
    } else {
        const cuiMenuClick handler = actsFor->click_;
        void* data = actsFor->clickData_;
        QObject::connect(item, &QAction::triggered, item,
                         [handler, data, item] { handler(data, item); });
    }
    container->addAction(item);
    cells_.push_back(std::move(cell));
    return item;
}

void cuiMenu::ApplyIcon(QAction* item, int imageIndex) {
    item->setProperty(kImageProperty, imageIndex);
    // A checked item shows its check mark instead of its picture: a picture drawn pressed in is
    // easily missed, and which port is in use must be plain to see.
    if (images_ != nullptr && images_->Has(imageIndex) && !item->isChecked())
        item->setIcon(images_->Icon(imageIndex));
    else
        item->setIcon(QIcon());
}

void cuiMenu::SetImageList(const cuiImageList* images) {
    images_ = images;
    std::vector<QAction*> pending = Children(nullptr);
    while (!pending.empty()) {
        QAction* a = pending.back();
        pending.pop_back();
        if (const cmcCellObj* cell = CellOf(a))
            ApplyIcon(a, cell->imageIndex);
        std::vector<QAction*> children = Children(a);
        pending.insert(pending.end(), children.begin(), children.end());
    }
}

std::vector<QAction*> cuiMenu::Children(const QAction* item) const {
    const QWidget* container = item == nullptr ? root_.data() : item->menu();
    if (container == nullptr)
        return {};
    const QList<QAction*> actions = container->actions();
    return std::vector<QAction*>(actions.begin(), actions.end());
}

QAction* cuiMenu::FindItemByLabel(int label) const {
    // Depth first, each item before its sub-items.
    std::vector<QAction*> stack = Children(nullptr);
    std::reverse(stack.begin(), stack.end());
    while (!stack.empty()) {
        QAction* item = stack.back();
        stack.pop_back();
        if (const cmcCellObj* cell = CellOf(item); cell != nullptr && cell->label == label)
            return item;
        std::vector<QAction*> children = Children(item);
        stack.insert(stack.end(), children.rbegin(), children.rend());
    }
    return nullptr;
}

int cuiMenu::ItemCount(int label) const {
    const QAction* item = FindItemByLabel(label);
    if (item == nullptr)
        return -1;
    return CellChildCount(item);
}

int cuiMenu::CellChildCount(const QAction* item) const {
    const std::vector<QAction*> children = Children(item);
    return static_cast<int>(std::count_if(children.begin(), children.end(),
                                          [](const QAction* a) { return CellOf(a) != nullptr; }));
}

bool cuiMenu::InTree(const QAction* item) const {
    if (item == nullptr || root_ == nullptr)
        return false;
    if (PointerOf(item->property(kOwnerProperty)) == quintptr(root_.data()))
        return true;  // made on this menu's behalf, wherever it is shown
    std::vector<QAction*> stack = Children(nullptr);
    while (!stack.empty()) {
        QAction* a = stack.back();
        stack.pop_back();
        if (a == item)
            return true;
        std::vector<QAction*> children = Children(a);
        stack.insert(stack.end(), children.begin(), children.end());
    }
    return false;
}

void cuiMenu::CollectCarried(const QWidget* container,
                             std::vector<const cmcCellObj*>& carried) const {
    if (container == nullptr)
        return;
    for (const QAction* a : container->actions()) {
        if (const cmcCellObj* c = CellOf(a))
            carried.push_back(c);
        CollectCarried(a->menu(), carried);
    }
}

void cuiMenu::ClearItems(QAction* item) {
    QWidget* container = item == nullptr ? root_.data() : item->menu();
    if (container != nullptr) {
        // Only items made from cells go: what the program adds beside them (undo and redo, a
        // separator of its own) has no cell and stays through every rebuild of a mirror.
        for (QAction* child : container->actions())
            if (CellOf(child) != nullptr)
                Retire(container, child);
    }
    std::vector<const cmcCellObj*> carried;
    CollectCarried(root_, carried);
    std::sort(carried.begin(), carried.end());
    cells_.erase(std::remove_if(cells_.begin(), cells_.end(),
                                [&carried](const std::unique_ptr<cmcCellObj>& c) {
                                    return !std::binary_search(carried.begin(), carried.end(),
                                                               c.get());
                                }),
                 cells_.end());
}

void cuiMenu::UpdateItems(QAction* item) {
    // Each refresh asks afresh which cell is current, once per owner it meets.
    lastOwner_ = nullptr;
    context_.reset();
    std::vector<QAction*> pending{item};
    while (!pending.empty()) {
        QAction* a = pending.back();
        pending.pop_back();
        UpdateOne(a);
        std::vector<QAction*> children = Children(a);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
}

void cuiMenu::UpdateOne(QAction* item) {
    if (item == nullptr)
        return;  // the root carries no cell
    cmcCellObj* cell = CellOf(item);
    if (cell == nullptr) {
        item->setChecked(false);
        return;
    }
    refresh_.Reset();
    refresh_.ownerControl = owner_;
    refresh_.cell = cell;

    const auto* itemOwner =
        reinterpret_cast<const QObject*>(PointerOf(item->property(kOwnerProperty)));
    if (itemOwner != lastOwner_) {
        context_.reset();
        if (cmcEvMan* ev = cmcEvMan::Global()) {
            const auto reply = ev->QueryEvent(cmcEvKind::CurrentCellQuery, quintptr(itemOwner));
            if (reply &&
                cuiDecodeCurrentCell(reply->data.data(), reply->DataLength(), contextCell_)) {
                context_ = std::make_unique<cmcCellCapsule>();
                context_->cell = &contextCell_;
            }
        }
        lastOwner_ = itemOwner;
    }
    refresh_.parent = context_.get();

    cell->state &= uint8_t(~(cmcCellObj::kChecked | cmcCellObj::kHidden | cmcCellObj::kDisabled |
                             cmcCellObj::kTextReplaced));
    indActiveCell active(core_);
    active.Evaluate(refresh_, false);

    const bool checked = (cell->state & cmcCellObj::kChecked) != 0;
    const bool checkChanged = item->isChecked() != checked;
    item->setCheckable(checked);
    item->setChecked(checked);
    item->setVisible((cell->state & cmcCellObj::kHidden) == 0);
    item->setEnabled((cell->state & cmcCellObj::kDisabled) == 0);
    if ((cell->state & cmcCellObj::kTextReplaced) != 0 && !item->isSeparator()) {
        const QString text = QString::fromLocal8Bit(cell->GetText().c_str());
        if (item->text() != text)
            item->setText(text);
    }
    if (checkChanged || item->property(kImageProperty).toInt() != cell->imageIndex)
        ApplyIcon(item, cell->imageIndex);
}

void cuiMenu::DefaultClick(void* data, QAction* item) {
    auto* menu = static_cast<cuiMenu*>(data);
    if (!IsLive(menu) || !menu->InTree(item))
        return;
    menu->Click(item);
}

void cuiMenu::Click(QAction* item) {
    const cmcCellObj* cell = CellOf(item);
    if (cell == nullptr)
        return;
    // The command runs on a copy: it may well close the sheet whose popup this item mirrors,
    // and with it retire the item and its cell.
    cmcCellObj command;
    command.CopyFrom(*cell);
    cmcCellCapsule capsule;
    capsule.ownerControl = owner_;
    capsule.cell = &command;
    capsule.key = kKeyEnter;
    cmcCellObj contextCell;
    cmcCellCapsule context;
    if (cmcEvMan* ev = cmcEvMan::Global()) {
        const auto reply = ev->QueryEvent(cmcEvKind::CurrentCellQuery, 0);
        if (reply && cuiDecodeCurrentCell(reply->data.data(), reply->DataLength(), contextCell)) {
            context.cell = &contextCell;
            capsule.parent = &context;
        }
    }
    indActiveCell active(core_);
    active.Evaluate(capsule, false);
    if (IsLive(this))
        UpdateItems(nullptr);
}

void cuiMenu::PostMirror(int label, const std::string& popupKey) {
    if (cmcEvMan* ev = cmcEvMan::Global())
        ev->PostEventText(cmcEvKind::MirrorPopupMenu, cmcEvArg(this), label, popupKey.c_str());
}

void cuiMenu::OnEvent(void* self, const cmcEvent& event) {
    auto* menu = static_cast<cuiMenu*>(self);
    switch (event.kind) {
        case cmcEvKind::UpdateCommandStates:
            menu->UpdateItems(nullptr);
            break;
        case cmcEvKind::DropMirroredMenu:
            if (QAction* item = menu->FindItemByLabel(event.second))
                menu->ClearItems(item);
            break;
        case cmcEvKind::MirrorPopupMenu: {
            // A sheet mirrors the popup of its current cell with its popup builder as the source.
            if (cuiSheetPopup::IsLive(event.FirstAs<const void>())) {
                QAction* item = menu->FindItemByLabel(event.second);
                const std::string key = event.Text();
                if (item == nullptr || key.empty())
                    break;
                menu->popupSource_ = event.FirstAs<cuiSheetPopup>();
                menu->AddItems(item, key + "_Body", 0, nullptr);
                menu->popupSource_ = nullptr;
                menu->UpdateItems(item);
                break;
            }
            // The source travels as a bare pointer, and a posted request may arrive after its
            // menu is gone: only a live menu is served.
            auto* source = event.FirstAs<cuiMenu>();
            if (!IsLive(source))
                break;
            QAction* item = menu->FindItemByLabel(event.second);
            const std::string key = event.Text();
            if (item == nullptr || key.empty())
                break;
            // A menu's request on its own behalf only fills an item that is still empty, so
            // that repeated refreshes, or a sheet's mirror that came first, are not added to.
            if (source == menu && menu->CellChildCount(item) > 0)
                break;
            menu->AddItems(item, key + "_Body", 0, source);
            menu->UpdateItems(item);
            break;
        }
        default:
            break;
    }
}
