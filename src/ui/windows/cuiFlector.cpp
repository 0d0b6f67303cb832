#include "ui/windows/cuiFlector.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>

#include "cells/cmcCellCapsule.h"
#include "events/cmcEvMan.h"
#include "platform/cmcHost.h"
#include "ui/sheet/cuiGrid.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/windows/cuiPlacement.h"

namespace {

QWidget* OwnerOf(const cmcCellCapsule& opener, QWidget* mainWindow) {
    if (auto* w = qobject_cast<QWidget*>(opener.ownerControl))
        return w;
    return mainWindow;
}

}  // namespace

cuiFlector* cuiFlector::Open(const cuiMainCore& core, QWidget* mainWindow,
                             const cmcCellCapsule& opener, int itemLabel, int currentValue,
                             cmcGTex& dictionary, const std::string& listKey,
                             const cuiImageList* images) {
    return new cuiFlector(core, OwnerOf(opener, mainWindow), opener, itemLabel, currentValue,
                          dictionary, listKey, images);
}

cuiFlector::cuiFlector(const cuiMainCore& core, QWidget* owner, const cmcCellCapsule& opener,
                       int itemLabel, int currentValue, cmcGTex& dictionary,
                       const std::string& listKey, const cuiImageList* images)
    : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint),
      ownerControl_(opener.ownerControl),
      owner_(qobject_cast<QWidget*>(opener.ownerControl)),
      dictionary_(dictionary),
      baseName_(listKey),
      images_(images) {
    setObjectName(QStringLiteral("choiceList"));
    sheet_ = std::make_unique<cuiSheet>(core, this, &opener, itemLabel, currentValue, dictionary_,
                                        baseName_, images_);
    sheet_->SetChoiceListMode(true);
    sheet_->Build();
    FitToWorkArea();
    sheet_->ScrollHome();
    PlaceNearCell(opener, this);

    // Keys reach the window before its controls: Escape is the window's, not the list's.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    show();
    sheet_->SetFocus();
    if (cmcEvMan* events = cmcEvMan::Global()) {
        events->AddHandler(&cuiFlector::OnEvent, this);
        registered_ = true;
    }
}

cuiFlector::~cuiFlector() {
    if (registered_) {
        if (cmcEvMan* events = cmcEvMan::Global())
            events->RemoveHandler(&cuiFlector::OnEvent, this);
    }
    // The sheet's widgets live on this window: the sheet goes while the window is still whole.
    sheet_.reset();
}

// The window is as large as the whole list; a list larger than the work area gets scroll bars
// (each bar takes room from the other direction) and the work area's size.
void cuiFlector::FitToWorkArea() {
    cuiGrid* grid = sheet_->Grid();
    grid->SetScrollBarsEnabled(false);
    int w = sheet_->FullWidth();
    int h = sheet_->FullHeight();
    const HostRect area = cmcHost::Instance().WorkArea();
    if (w > area.width || h > area.height) {
        grid->SetScrollBarsEnabled(true);
        const int barWidth = grid->verticalScrollBar()->sizeHint().width();
        const int barHeight = grid->horizontalScrollBar()->sizeHint().height();
        bool vertical = h > area.height;
        bool horizontal = w > area.width;
        if (vertical)
            w += barWidth;
        if (!horizontal && w > area.width)
            horizontal = true;
        if (horizontal)
            h += barHeight;
        if (!vertical && h > area.height)
            w += barWidth;
        w = std::min(w, area.width);
        h = std::min(h, area.height);
    }
    resize(w, h);
}

void cuiFlector::Release() {
    if (released_)
        return;
    released_ = true;
    if (registered_) {
        if (cmcEvMan* events = cmcEvMan::Global())
            events->RemoveHandler(&cuiFlector::OnEvent, this);
        registered_ = false;
    }
    hide();
    deleteLater();
    GiveFocusBack(this, owner_.data());
}

bool cuiFlector::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        cancelled_ = true;
        Release();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool cuiFlector::event(QEvent* event) {
    // Losing activation closes the list without a choice.
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        Release();
    return QWidget::event(event);
}

// However the window closes (a choice hides it, a click elsewhere closes the popup), it is done.
void cuiFlector::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    Release();
}

void cuiFlector::OnEvent(void* self, const cmcEvent& event) {
    auto* flector = static_cast<cuiFlector*>(self);
    if ((event.kind == cmcEvKind::HostGone && event.first == cmcEvArg(flector->ownerControl_)) ||
        event.kind == cmcEvKind::FinishEditing)
        flector->Release();
}

void cuiOpenChoiceList(const cuiMainCore& core, QWidget* mainWindow, const cmcCellCapsule& opener,
                       int itemLabel, int currentValue, cmcGTex& dictionary,
                       const std::string& listKey, const cuiImageList* images) {
    cuiFlector::Open(core, mainWindow, opener, itemLabel, currentValue, dictionary, listKey,
                     images);
}
