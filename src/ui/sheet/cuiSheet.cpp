// A sheet's life outside building: construction and destruction, the settings made before
// Build, and what the built sheet tells about itself.
#include <QFrame>
#include <QLayout>
#include <QPaintDevice>
#include <QPlainTextEdit>
#include <QThread>
#include <algorithm>

#include "cells/cmcCellFont.h"
#include "events/cmcEvMan.h"
#include "platform/cmcHost.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/sheet/cuiSheetPopup.h"

namespace {

const cmcCellFont& DefaultFont() {
    static const cmcCellFont font;
    return font;
}

}  // namespace

cuiSheet::cuiSheet(const cuiMainCore& core, QWidget* parent, const cmcCellCapsule* ownerCapsule,
                   int targetLabel, int targetArgument, cmcGTex& dictionary,
                   const std::string& baseName, const cuiImageList* images)
    : core_(core),
      parent_(parent),
      dictionary_(dictionary),
      baseName_(baseName),
      ownerCapsule_(ownerCapsule ? std::make_unique<cmcCellCapsule>(*ownerCapsule) : nullptr),
      images_(images),
      targetLabel_(targetLabel),
      targetArgument_(targetArgument) {
    if (cmcEvMan* events = cmcEvMan::Global())
        events->AddHandler(&cuiSheet::OnEvent, this);
}

cuiSheet::~cuiSheet() {
    cmcEvMan* events = cmcEvMan::Global();
    if (events)
        events->RemoveHandler(&cuiSheet::OnEvent, this);
    // Windows that live on this sheet close themselves. The grid travels whole in the first
    // argument; the second carries what fits of it.
    if (events && grid_)
        events->SendEvent(cmcEvKind::HostGone, cmcEvArg(grid_.data()),
                          int32_t(reinterpret_cast<uintptr_t>(grid_.data())));
    // The widgets go now; nothing they do while going may reach this half-destroyed sheet.
    if (grid_)
        grid_->SetClient(nullptr);
    if (editor_)
        editor_->removeEventFilter(this);
    // Items mirrored from this sheet's popup menu would act on a sheet that is gone.
    if (popupBuilder_ && events) {
        DestroyPopupBuilder();
        events->SendEvent(cmcEvKind::DropMirroredMenu, 0, CL_Menu_Edit_Top);
        events->SendEvent(cmcEvKind::UpdateCommandStates);
    }
    DestroyPopupBuilder();
    delete root_.data();
}

std::string cuiSheet::SetArgText(const std::string& text) {
    argText_ = text;
    return argText_;
}

void cuiSheet::SetBehaviour(BehaviourCallback callback, void* context) {
    behaviour_ = callback;
    behaviourContext_ = context;
}

void cuiSheet::SetChoiceListMode(bool on) {
    if (on)
        modeBits_ |= kModeChoiceList;
    else
        modeBits_ &= uint8_t(~kModeChoiceList);
}

void cuiSheet::SetPrinter(QPaintDevice* printer) {
    printer_ = printer;
    scale_ = printer ? std::max(printer->logicalDpiY() / 120, 1) : 1;
}

void cuiSheet::SetCursorMemory(int col, int row, int leftCol, int topRow) {
    remembered_ = {col, row, leftCol, topRow};
}

void cuiSheet::SetWaitCallback(WaitCallback callback, void* context) {
    wait_ = callback ? callback : &cuiSheet::DefaultWait;
    waitContext_ = context;
}

int cuiSheet::DefaultBehaviour(void* context, cmcCellCapsule& capsule, bool notify) {
    return static_cast<indActiveCell*>(context)->Evaluate(capsule, notify);
}

void cuiSheet::DefaultWait(void*, int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

const cmcCellFont& cuiSheet::FontOf(const cmcCellObj& cell) const {
    if (cell.font)
        return *cell.font;
    if (basicCell_.font)
        return *basicCell_.font;
    return DefaultFont();
}

clsSheetCellId& cuiSheet::CellIdAt(int col, int row) {
    if (cells_.empty() || col < 0 || row < 0 || col >= colCount_ || row >= rowCount_)
        FatalError("Illegal Cell selection");
    return cells_[size_t(row) * size_t(colCount_) + size_t(col)];
}

bool cuiSheet::Selectable(int col, int row) const {
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_ || cells_.empty())
        return false;
    return (cells_[size_t(row) * size_t(colCount_) + size_t(col)].cell.state &
            cmcCellObj::kSelectable) != 0;
}

int cuiSheet::CursorCol() const {
    return grid_ ? grid_->Col() : 0;
}

int cuiSheet::CursorRow() const {
    return grid_ ? grid_->Row() : 0;
}

cuiCursorMemory cuiSheet::CursorMemory() const {
    if (!grid_)
        return {};
    return {grid_->Col(), grid_->Row(), grid_->LeftCol(), grid_->TopRow()};
}

std::string cuiSheet::GetTitle() const {
    return title_ ? *title_ : std::string();
}

void cuiSheet::ScrollHome() {
    grid_->SetTopLeft(grid_->FixedColumns(), grid_->FixedRows());
}

// Measured from the layouts' margins and frames rather than from where the widgets are now: the
// layouts place a sheet's widgets only once its window is shown, and a window must know its size
// before that.
QSize cuiSheet::ChromeSize() const {
    QMargins m = parent_->contentsMargins();  // a frame of the parent
    if (parent_->layout())
        m += parent_->layout()->contentsMargins();
    m += gridPanel_->contentsMargins();
    m += gridPanel_->layout()->contentsMargins();
    QSize s = grid_->ChromeSize() + QSize(m.left() + m.right(), m.top() + m.bottom());
    if (titlePanel_)
        s.rheight() += titlePanel_->minimumHeight();
    return s;
}

int cuiSheet::FullWidth() const {
    return ChromeSize().width() + grid_->ContentWidth();
}

int cuiSheet::FullHeight() const {
    return ChromeSize().height() + grid_->ContentHeight();
}

void cuiSheet::SetFocus() {
    if (grid_)
        grid_->setFocus(Qt::OtherFocusReason);
}

void cuiSheet::Repaint() {
    if (grid_)
        grid_->viewport()->update();
}
