#include "ui/chrome/cuiTree.h"

#include <algorithm>

#include <QHeaderView>
#include <QLayout>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellFont.h"
#include "cells/cmcCellParser.h"
#include "cells/cmcColor.h"
#include "cells/indActiveCell.h"
#include "events/cmcEvMan.h"
#include "text/cmcGTex.h"
#include "ui/chrome/cuiNesting.h"
#include "ui/sheet/cuiImageList.h"

namespace {

constexpr int kCellRole = Qt::UserRole;
constexpr int kMarkRole = Qt::UserRole + 1;

}  // namespace

cuiTree::cuiTree(const cuiMainCore& core, QWidget* panel, cmcGTex& dictionary,
                 const std::string& baseName, const cuiImageList* images)
    : core_(core),
      panel_(panel),
      dictionary_(dictionary),
      baseName_(baseName),
      images_(images),
      view_(new QTreeWidget(panel)),
      changeTimer_(new QTimer(this)),
      overlayImage_{cuiImageList::kTreeMarkError, cuiImageList::kTreeMarkNotice} {
    view_->setObjectName(QStringLiteral("tree"));
    view_->setHeaderHidden(true);
    view_->setColumnCount(1);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setUniformRowHeights(true);
    view_->setRootIsDecorated(true);
    view_->header()->setStretchLastSection(true);
    if (panel != nullptr && panel->layout() == nullptr) {
        auto* layout = new QVBoxLayout(panel);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view_);
    } else if (panel != nullptr) {
        panel->layout()->addWidget(view_);
    }

    changeTimer_->setSingleShot(true);
    connect(changeTimer_, &QTimer::timeout, this, &cuiTree::SelectionSettled);
    connect(view_, &QTreeWidget::currentItemChanged, this,
            [this] { changeTimer_->start(changeDelay_); });
    connect(view_, &QTreeWidget::itemExpanded, this, &cuiTree::ExpandedOrCollapsed);
    connect(view_, &QTreeWidget::itemCollapsed, this, &cuiTree::ExpandedOrCollapsed);

    if (cmcEvMan* ev = cmcEvMan::Global())
        ev->AddHandler(&cuiTree::OnEvent, this);
}

cuiTree::~cuiTree() {
    if (cmcEvMan* ev = cmcEvMan::Global())
        ev->RemoveHandler(&cuiTree::OnEvent, this);
    if (view_) {
        view_->hide();
        view_->clear();
        delete view_.data();
    }
}

void cuiTree::OnEvent(void* self, const cmcEvent& event) {
    auto* tree = static_cast<cuiTree*>(self);
    if (event.kind != cmcEvKind::HostGone || tree->panel_ == nullptr ||
        event.first != cmcEvArg(tree->panel_.data()))
        return;
    if (cmcEvMan* ev = cmcEvMan::Global())
        ev->RemoveHandler(&cuiTree::OnEvent, tree);
    if (tree->view_)
        tree->view_->hide();
    tree->deleteLater();
}

void cuiTree::BuildTree() {
    if (!view_)
        return;
    changeTimer_->stop();
    {
        const QSignalBlocker quiet(view_);
        view_->clear();
    }
    cells_.clear();
    basic_.parent = nullptr;
    basic_.Reset();
    ParseCell(dictionary_.Text(baseName_ + "_BasicCell"), basic_, nullptr, nullptr);

    if (basic_.font)
        view_->setFont(ToQFont(*basic_.font));
    QPalette palette = view_->palette();
    palette.setColor(QPalette::Base, ToQColor(basic_.color, palette));
    if (basic_.font)
        palette.setColor(QPalette::Text, ToQColor(basic_.font->color, palette));
    view_->setPalette(palette);

    auto add = [this](QTreeWidgetItem* parent, const std::string& line) {
        return AddNode(parent, line);
    };
    {
        // Building is not a selection by the user.
        const QSignalBlocker quiet(view_);
        cuiAddAllNested<QTreeWidgetItem*>(nullptr, dictionary_, baseName_ + "_Body", 0, add);
        if (QTreeWidgetItem* first = FirstNode())
            first->setExpanded(true);
    }
}

QTreeWidgetItem* cuiTree::AddNode(QTreeWidgetItem* parent, const std::string& line) {
    auto cell = std::make_unique<cmcCellObj>();
    cell->parent = &basic_;
    cell->Reset();
    ParseCell(cuiLineDescription(line), *cell, nullptr, &basic_);

    auto* node = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(view_);
    const QString caption = QString::fromLocal8Bit(cell->GetText().c_str());
    node->setText(0, caption);
    node->setToolTip(0, caption);  // the whole name, when a narrow tree cuts it short
    node->setData(0, kCellRole, QVariant::fromValue<quintptr>(quintptr(cell.get())));
    node->setData(0, kMarkRole, kNoMark);
    node->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    cells_.push_back(std::move(cell));
    ApplyIcon(node);
    return node;
}

QSize cuiTree::FullSize() const {
    if (!view_)
        return QSize();
    // Every node counts, those of closed folders too: their captions show once opened. A node
    // takes its depth's indentation (one more for the root's decoration) and what its picture
    // and text need.
    int width = 0;
    int rows = 0;
    for (QTreeWidgetItemIterator it(view_); *it; ++it, ++rows) {
        int depth = view_->rootIsDecorated() ? 1 : 0;
        for (const QTreeWidgetItem* up = (*it)->parent(); up != nullptr; up = up->parent())
            ++depth;
        const QSize need = view_->sizeHintForIndex(view_->indexFromItem(*it));
        width = std::max(width, depth * view_->indentation() + need.width());
    }
    const int height = rows > 0 ? rows * std::max(view_->sizeHintForRow(0), 0) : 0;
    const int frame = 2 * view_->frameWidth();
    return QSize(width + frame, height + frame);
}

QTreeWidgetItem* cuiTree::FirstNode() const {
    if (!view_ || view_->topLevelItemCount() == 0)
        return nullptr;
    return view_->topLevelItem(0);
}

cmcCellObj* cuiTree::CellOf(const QTreeWidgetItem* node) {
    if (node == nullptr)
        return nullptr;
    return reinterpret_cast<cmcCellObj*>(node->data(0, kCellRole).value<quintptr>());
}

int cuiTree::MarkOf(const QTreeWidgetItem* node) {
    if (node == nullptr)
        return kNoMark;
    const QVariant v = node->data(0, kMarkRole);
    return v.isValid() ? v.toInt() : kNoMark;
}

cmcCellObj* cuiTree::SelectedCell() const {
    if (!view_)
        return nullptr;
    return CellOf(view_->currentItem());
}

void cuiTree::SelectNode(QTreeWidgetItem* node) {
    if (!view_)
        return;
    if (node == nullptr)
        node = FirstNode();
    if (node != nullptr)
        view_->setCurrentItem(node);
}

void cuiTree::ApplyIcon(QTreeWidgetItem* node) {
    const cmcCellObj* cell = CellOf(node);
    if (images_ == nullptr || cell == nullptr) {
        node->setIcon(0, QIcon());
        return;
    }
    const int mark = MarkOf(node);
    const int overlay = mark == kMarkError || mark == kMarkNotice ? overlayImage_[mark] : -1;
    node->setIcon(0, images_->Composite(cell->imageIndex, overlay));
}

void cuiTree::SetMark(QTreeWidgetItem* node, int mark) {
    if (MarkOf(node) == mark)
        return;
    node->setData(0, kMarkRole, mark);
    ApplyIcon(node);
}

void cuiTree::ClearMarks(QTreeWidgetItem* node) {
    if (node == nullptr)
        return;
    SetMark(node, kNoMark);
    for (int i = node->childCount() - 1; i >= 0; --i)
        ClearMarks(node->child(i));
}

int cuiTree::MarkNodes(QTreeWidgetItem* node, const std::vector<std::string>& list, int mark) {
    if (node == nullptr)
        return 0;
    const cmcCellObj* cell = CellOf(node);
    const bool match = cell != nullptr && cell->argText &&
                       std::find(list.begin(), list.end(), *cell->argText) != list.end();
    int count = match ? 1 : 0;
    for (int i = node->childCount() - 1; i >= 0; --i)
        count += MarkNodes(node->child(i), list, mark);
    if (match || (count > 0 && !node->isExpanded()))
        SetMark(node, mark);
    return count;
}

void cuiTree::ApplyMarks(const std::vector<std::string>& notices,
                         const std::vector<std::string>& errors) {
    if (!view_)
        return;
    // Every top-level node is cleared, not only the first: a mark of a later one must go too
    // when its data has been put right.
    for (int i = 0; i < view_->topLevelItemCount(); ++i)
        ClearMarks(view_->topLevelItem(i));
    for (int i = 0; i < view_->topLevelItemCount(); ++i) {
        MarkNodes(view_->topLevelItem(i), notices, kMarkNotice);
        MarkNodes(view_->topLevelItem(i), errors, kMarkError);
    }
}

void cuiTree::SetChangeDelay(int ms) {
    changeDelay_ = ms < 0 ? 0 : ms;
}

bool cuiTree::ChangePending() const {
    return changeTimer_->isActive();
}

void cuiTree::SettleNow() {
    if (!changeTimer_->isActive())
        return;
    changeTimer_->stop();
    emit SelectionSettled();
}

QTreeWidgetItem* cuiTree::NodeFor(const std::string& sheetReference) const {
    if (!view_ || sheetReference.empty())
        return nullptr;
    for (QTreeWidgetItemIterator it(view_); *it; ++it) {
        const cmcCellObj* cell = CellOf(*it);
        if (cell != nullptr && cell->argText && *cell->argText == sheetReference)
            return *it;
    }
    return nullptr;
}

bool cuiTree::ActivateSelected(const std::string& openSheetReference) {
    cmcCellObj* cell = SelectedCell();
    if (cell == nullptr)
        return false;
    if (cell->argText && !openSheetReference.empty() && *cell->argText == openSheetReference)
        return false;
    indActiveCell(core_).ActivateCell(cell, kKeyEnter);
    return true;
}
