#include "ui/windows/cuiEeDebugWin.h"

#include <QKeyEvent>
#include <QPushButton>
#include <algorithm>

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "events/cmcEvMan.h"
#include "platform/cmcHost.h"
#include "text/cmcGTex.h"
#include "ui/sheet/cuiGrid.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/windows/cuiPlacement.h"

cuiEeDebugWin::cuiEeDebugWin(const cuiMainCore& core, QWidget* owner, const std::string& caption,
                             cmcGTex& dictionary, const std::string& baseName,
                             const cuiImageList* images)
    : cuiSheetDialog(core, owner, "memoryWindow", caption, dictionary, baseName, images) {
    setModal(false);
    // A vertical bar only, always there, so that the width found now stays right.
    cuiGrid* grid = sheet_->Grid();
    grid->SetScrollBarsEnabled(true);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int halfScreen = cmcHost::Instance().WorkArea().height / 2;

    const std::string okText = dictionary.Line("GI_AppInd_Button_OkCancel", 0);
    ok_ = new QPushButton(QString::fromLocal8Bit(okText.c_str()), this);
    setComp_ = new QPushButton(
        QString::fromLocal8Bit(dictionary.Line("GI_Debug_Window", 0).c_str()), this);
    redraw_ = new QPushButton(QString::fromLocal8Bit(dictionary.Line("GI_Debug_Window", 1).c_str()),
                              this);
    // One size for all three, OK's unless a caption needs more.
    QSize buttonSize = ok_->sizeHint();
    for (QPushButton* b : {setComp_, redraw_})
        buttonSize = buttonSize.expandedTo(b->sizeHint());
    for (QPushButton* b : {ok_, setComp_, redraw_}) {
        // None is the default: Enter belongs to the sheet (it opens the bit editor).
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setFixedSize(buttonSize);
    }
    // OK is the cancel button: Escape closes the window as OK does, also from the sheet, which
    // would take it as a typed key (its in-place editor keeps Escape for itself).
    connect(ok_, &QPushButton::clicked, this, &QDialog::close);
    grid->installEventFilter(this);
    grid->viewport()->installEventFilter(this);
    connect(setComp_, &QPushButton::clicked, this, &cuiEeDebugWin::SetComp);
    connect(redraw_, &QPushButton::clicked, this, &cuiEeDebugWin::Redraw);
    AddButtons(PanelHeight(std::min(sheet_->FullHeight(), halfScreen)), {redraw_, setComp_, ok_});

    if (cmcEvMan* events = cmcEvMan::Global()) {
        events->AddHandler(&cuiEeDebugWin::OnEvent, this);
        registered_ = true;
    }
    show();
    sheet_->SetFocus();
}

cuiEeDebugWin::~cuiEeDebugWin() {
    if (registered_) {
        if (cmcEvMan* events = cmcEvMan::Global())
            events->RemoveHandler(&cuiEeDebugWin::OnEvent, this);
    }
    sheet_.reset();
}

bool cuiEeDebugWin::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void cuiEeDebugWin::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    GiveActivationBack(this);
}

bool cuiEeDebugWin::CellOfAddress(int address, int* col, int* row) const {
    if (address < 0)
        return false;
    const int c = (address % kBytesPerRow) * 2 + kFirstByteCol;
    const int r = address / kBytesPerRow + kFirstByteRow;
    if (c >= sheet_->ColumnCount() || r >= sheet_->RowCount())
        return false;
    *col = c;
    *row = r;
    return true;
}

void cuiEeDebugWin::SetComp() {
    if (cmcEvMan* events = cmcEvMan::Global()) {
        events->SendEvent(cmcEvKind::SetCompareReference);
        events->PostEvent(cmcEvKind::MemoryDebugRefresh);
    }
}

void cuiEeDebugWin::Redraw() {
    if (cmcEvMan* events = cmcEvMan::Global())
        events->SendEvent(cmcEvKind::RedrawRequest);
}

void cuiEeDebugWin::OnEvent(void* self, const cmcEvent& event) {
    auto* window = static_cast<cuiEeDebugWin*>(self);
    if (event.kind == cmcEvKind::MemoryDebugRefresh) {
        cmcCellObj probeCell;
        cmcCellCapsule probe;
        probe.cell = &probeCell;
        window->sheet_->InvalidateMatching(probe, cuiSheet::kMatchLabelled);
    } else if (event.kind == cmcEvKind::MemoryDebugCursor) {
        // An address the sheet has no byte cell for is not followed.
        int col = 0, row = 0;
        if (window->CellOfAddress(event.second, &col, &row))
            window->sheet_->MoveTo(col, row);
    }
}
