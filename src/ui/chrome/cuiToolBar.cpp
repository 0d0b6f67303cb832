#include "ui/chrome/cuiToolBar.h"

#include <algorithm>

#include <QAction>
#include <QBoxLayout>
#include <QMainWindow>
#include <QToolBar>
#include <QVBoxLayout>

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellParser.h"
#include "cells/indActiveCell.h"
#include "events/cmcEvMan.h"
#include "text/cmcGTex.h"
#include "ui/chrome/cuiNesting.h"
#include "ui/sheet/cuiImageList.h"

namespace {

std::vector<const cuiToolBar*>& LiveBars() {
    static std::vector<const cuiToolBar*> live;
    return live;
}

bool IsLiveBar(const cuiToolBar* bar) {
    const auto& live = LiveBars();
    return std::find(live.begin(), live.end(), bar) != live.end();
}

}  // namespace

cuiToolBar::cuiToolBar(const cuiMainCore& core, QWidget* owner, cmcGTex& dictionary,
                       const std::string& baseName, const cuiImageList* images)
    : core_(core), owner_(owner), dictionary_(dictionary), baseName_(baseName), images_(images) {
    LiveBars().push_back(this);
    if (cmcEvMan* ev = cmcEvMan::Global())
        ev->AddHandler(&cuiToolBar::OnEvent, this);
}

cuiToolBar::~cuiToolBar() {
    if (cmcEvMan* ev = cmcEvMan::Global())
        ev->RemoveHandler(&cuiToolBar::OnEvent, this);
    auto& live = LiveBars();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    ClearBar();
}

void cuiToolBar::OnEvent(void* self, const cmcEvent& event) {
    if (event.kind == cmcEvKind::UpdateToolBarStates)
        static_cast<cuiToolBar*>(self)->UpdateButtons();
}

void cuiToolBar::ClearBar() {
    for (QToolBar* line : lines_) {
        if (auto* window = qobject_cast<QMainWindow*>(owner_.data())) {
            window->removeToolBarBreak(line);
            window->removeToolBar(line);
        }
        line->deleteLater();  // a click on one of its buttons may be under way
    }
    lines_.clear();
    buttons_.clear();
}

QToolBar* cuiToolBar::NewLine() {
    auto* line = new QToolBar(owner_);
    line->setObjectName(QStringLiteral("toolBarLine%1").arg(lines_.size()));
    line->setMovable(true);
    line->setFloatable(true);
    line->setToolButtonStyle(Qt::ToolButtonIconOnly);
    if (auto* window = qobject_cast<QMainWindow*>(owner_.data())) {
        if (!lines_.empty())
            window->addToolBarBreak(Qt::TopToolBarArea);
        window->addToolBar(Qt::TopToolBarArea, line);
    } else if (owner_ != nullptr) {
        auto* layout = qobject_cast<QBoxLayout*>(owner_->layout());
        if (layout == nullptr && owner_->layout() == nullptr) {
            layout = new QVBoxLayout(owner_);
            layout->setContentsMargins(0, 0, 0, 0);
            layout->setSpacing(0);
            layout->addStretch(1);
        }
        if (layout != nullptr)
            layout->insertWidget(int(lines_.size()), line);
    }
    line->setVisible(visible_);
    lines_.push_back(line);
    return line;
}

void cuiToolBar::BuildBar(cuiToolClick click, void* clickData) {
    ClearBar();
    basic_.parent = nullptr;
    basic_.Reset();
    ParseCell(dictionary_.Text(baseName_ + "_BasicCell"), basic_, nullptr, nullptr);
    if (click == nullptr) {
        click = &cuiToolBar::DefaultClick;
        clickData = this;
    }

    const std::string body = baseName_ + "_Body";
    QToolBar* line = NewLine();
    for (int i = 0;; ++i) {
        const std::string text = dictionary_.Line(body, i);
        if (cuiEndsBody(text))
            break;
        auto cell = std::make_unique<cmcCellObj>();
        cell->parent = &basic_;
        cell->Reset();
        ParseCell(text, *cell, nullptr, &basic_);
        const std::string& shown = cell->GetText();
        Entry entry;
        if (shown == "/") {
            line = NewLine();  // the bar never wraps on its own; this is where it breaks
            entry.line = -1;
        } else if (shown == "-") {
            entry.action = line->addSeparator();
            entry.line = int(lines_.size()) - 1;
        } else {
            auto* action = new QAction(line);
            const QString hint = QString::fromLocal8Bit(shown.c_str());
            action->setText(hint);
            action->setToolTip(hint);
            if (images_ != nullptr && images_->Has(cell->imageIndex))
                action->setIcon(images_->Icon(cell->imageIndex));
            cmcCellObj* target = cell.get();
            QObject::connect(action, &QAction::triggered, action,
                             [click, clickData, target] { click(clickData, target); });
            line->addAction(action);
            entry.action = action;
            entry.cell = std::move(cell);
            entry.line = int(lines_.size()) - 1;
        }
        buttons_.push_back(std::move(entry));
    }
}

QAction* cuiToolBar::Button(int i) const {
    if (i < 0 || i >= ButtonCount())
        return nullptr;
    return buttons_[size_t(i)].action;
}

cmcCellObj* cuiToolBar::ButtonCell(int i) const {
    if (i < 0 || i >= ButtonCount())
        return nullptr;
    return buttons_[size_t(i)].cell.get();
}

int cuiToolBar::LineOf(int i) const {
    if (i < 0 || i >= ButtonCount())
        return -1;
    return buttons_[size_t(i)].line;
}

void cuiToolBar::UpdateButtons() {
    for (Entry& entry : buttons_) {
        QAction* action = entry.action;
        if (action == nullptr)
            continue;
        if (!entry.cell) {
            action->setCheckable(false);
            action->setChecked(false);
            continue;
        }
        cmcCellCapsule capsule;
        capsule.ownerControl = owner_;
        capsule.cell = entry.cell.get();
        indActiveCell active(core_);
        active.Evaluate(capsule, false);
        const bool down = (entry.cell->state & cmcCellObj::kChecked) != 0;
        action->setCheckable(down);
        action->setChecked(down);
        action->setEnabled((entry.cell->state & cmcCellObj::kDisabled) == 0);
    }
}

void cuiToolBar::DefaultClick(void* data, cmcCellObj* cell) {
    auto* bar = static_cast<cuiToolBar*>(data);
    if (!IsLiveBar(bar) || cell == nullptr)
        return;
    // The command runs on a copy: it may rebuild the bar, and with it free the button's cell.
    cmcCellObj command;
    command.CopyFrom(*cell);
    cmcCellCapsule capsule;
    capsule.ownerControl = bar->owner_;
    capsule.cell = &command;
    capsule.key = kKeyEnter;
    indActiveCell active(bar->core_);  // copies the roles: the bar may go
    active.Evaluate(capsule, false);
    // A check button toggles itself when clicked; its state is the behaviour's to say.
    if (IsLiveBar(bar))
        bar->UpdateButtons();
}

void cuiToolBar::SetVisible(bool visible) {
    visible_ = visible;
    for (QToolBar* line : lines_)
        line->setVisible(visible);
}

bool cuiToolBar::IsVisible() const {
    return visible_;
}
