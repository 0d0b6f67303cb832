// The bit-field editor's window: its panels and buttons, its place beside the cell, and the ways
// it closes.
#include "ui/windows/cuiFBitsR.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "cells/cmcCellNames.h"
#include "cells/cmcCellObj.h"
#include "cells/indActiveCell.h"
#include "events/cmcEvMan.h"
#include "text/cmcGTex.h"
#include "ui/sheet/cuiGrid.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/windows/cuiBevelPanel.h"
#include "ui/windows/cuiPlacement.h"

namespace {

constexpr int kBevel = 2;
constexpr int kBorder = 5;     // of the sheet panel and of the button panel
constexpr int kButtonGap = 8;  // between OK and Cancel
constexpr const char* kButtonsKey = "GI_AppInd_Button_OkCancel";

QWidget* OwnerOf(const cmcCellCapsule& opener, QWidget* mainWindow) {
    if (auto* w = qobject_cast<QWidget*>(opener.ownerControl))
        return w;
    return mainWindow;
}

}  // namespace

cuiFBitsR* cuiFBitsR::Open(const cuiMainCore& core, QWidget* mainWindow,
                           const cmcCellCapsule& opener, cmcGTex& dictionary, uint32_t value,
                           int firstBit, int lastBit, int headerStyle, int markStyle,
                           const std::string& sheetName, const cuiImageList* images) {
    return new cuiFBitsR(core, OwnerOf(opener, mainWindow), opener, dictionary, value, firstBit,
                         lastBit, headerStyle, markStyle, sheetName, images);
}

cuiFBitsR::cuiFBitsR(const cuiMainCore& core, QWidget* owner, const cmcCellCapsule& opener,
                     cmcGTex& dictionary, uint32_t value, int firstBit, int lastBit,
                     int headerStyle, int markStyle, const std::string& sheetName,
                     const cuiImageList* images)
    : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint),
      core_(core),
      ownerControl_(opener.ownerControl),
      owner_(qobject_cast<QWidget*>(opener.ownerControl)),
      opening_(opener),
      dictionary_(dictionary),
      value_(value),
      firstBit_(firstBit),
      lastBit_(lastBit),
      headerStyle_(uint8_t(headerStyle)),
      markStyle_(uint8_t(markStyle)) {
    setObjectName(QStringLiteral("bitEditor"));
    opening_.parent = nullptr;
    BuildWindow(images, sheetName);
    PlaceNearCell(opening_, this);

    // Keys reach the window before its controls: Escape and Enter are the buttons'.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    show();
    sheet_->SetFocus();
    if (cmcEvMan* events = cmcEvMan::Global()) {
        events->AddHandler(&cuiFBitsR::OnEvent, this);
        registered_ = true;
    }
}

void cuiFBitsR::BuildWindow(const cuiImageList* images, const std::string& sheetName) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* frame = new cuiBevelPanel(this, kBevel, 0, false);
    layout->addWidget(frame);
    auto* inner = new QVBoxLayout(frame->Client());
    inner->setContentsMargins(0, 0, 0, 0);
    inner->setSpacing(0);
    auto* sheetPanel = new QWidget(frame->Client());
    auto* sheetLayout = new QVBoxLayout(sheetPanel);
    sheetLayout->setContentsMargins(kBorder, kBorder, kBorder, kBorder);
    auto* buttonPanel = new QWidget(frame->Client());
    inner->addWidget(sheetPanel);
    inner->addWidget(buttonPanel);

    cmcGTex* dictionary = &dictionary_;
    std::string baseName = sheetName;
    if (sheetName.empty()) {
        lines_ = GenerateBitSheet(firstBit_, lastBit_, headerStyle_);
        for (const std::string& line : lines_)
            linePointers_.push_back(line.c_str());
        generated_ = std::make_unique<cmcGTex>();
        generated_->SetLines(linePointers_.data(), linePointers_.size());
        dictionary = generated_.get();
        baseName = kGeneratedBaseName;
    }
    sheet_ = std::make_unique<cuiSheet>(core_, sheetPanel, &opening_, Flex0, 0, *dictionary,
                                        baseName, images);
    sheet_->SetBehaviour(&cuiFBitsR::Behaviour, this);
    sheet_->Build();
    sheet_->Grid()->SetScrollBarsEnabled(false);

    ok_ = new QPushButton(QString::fromLocal8Bit(dictionary_.Line(kButtonsKey, 0).c_str()),
                          buttonPanel);
    cancel_ = new QPushButton(QString::fromLocal8Bit(dictionary_.Line(kButtonsKey, 1).c_str()),
                              buttonPanel);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &cuiFBitsR::CommitBits);
    connect(cancel_, &QPushButton::clicked, this, &cuiFBitsR::Cancel);
    // Cancel a border in from the panel's client area's right edge, OK 8 pixels left of it.
    auto* buttons = new QHBoxLayout(buttonPanel);
    buttons->setContentsMargins(kBorder, kBorder, 2 * kBorder, kBorder);
    buttons->setSpacing(kButtonGap);
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    const int buttonsWidth =
        ok_->sizeHint().width() + cancel_->sizeHint().width() + 2 * kBorder + kButtonGap;
    const int width = std::max(sheet_->FullWidth(), buttonsWidth + 2 * kBorder);
    // The whole sheet: a panel any lower would scroll the heading row out of view.
    const int height = sheet_->FullHeight();
    sheetPanel->setFixedSize(width, height);
    const int buttonHeight = std::max(ok_->sizeHint().height(), cancel_->sizeHint().height());
    buttonPanel->setFixedSize(width, buttonHeight + 2 * kBorder);
    setFixedSize(width + frame->Chrome(), height + buttonPanel->height() + frame->Chrome());
}

cuiFBitsR::~cuiFBitsR() {
    if (registered_) {
        if (cmcEvMan* events = cmcEvMan::Global())
            events->RemoveHandler(&cuiFBitsR::OnEvent, this);
    }
    // The sheet reads its dictionary as long as it lives: the generated one goes after it.
    sheet_.reset();
    generated_.reset();
}

void cuiFBitsR::CommitBits() {
    if (done_)
        return;
    done_ = true;
    // The reply: a parent capsule whose cell has label Flex0, input kind 2 and the value as
    // decimal text, evaluated for the opening cell so that its behaviour takes the value.
    cmcCellObj flex;
    flex.label = Flex0;
    cmcCellCapsule parent;
    parent.cell = &flex;
    opening_.parent = &parent;
    opening_.inputKind = kInputChoice;
    opening_.key = kKeyDisplay;
    opening_.inputText = std::to_string(value_);
    indActiveCell(core_).Evaluate(opening_, true);
    opening_.parent = nullptr;
    Release();
}

void cuiFBitsR::Cancel() {
    cancelled_ = true;
    Release();
}

void cuiFBitsR::Deactivated() {
    if (!cancelled_)
        CommitBits();
    Release();
}

void cuiFBitsR::Release() {
    if (released_)
        return;
    released_ = true;
    if (registered_) {
        if (cmcEvMan* events = cmcEvMan::Global())
            events->RemoveHandler(&cuiFBitsR::OnEvent, this);
        registered_ = false;
    }
    hide();
    deleteLater();
    GiveFocusBack(this, owner_.data());
}

bool cuiFBitsR::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape ||
            ((key == Qt::Key_Return || key == Qt::Key_Enter) && watched == cancel_)) {
            Cancel();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            CommitBits();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool cuiFBitsR::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        Deactivated();
    return QWidget::event(event);
}

// A click elsewhere closes the popup: that is leaving it, and commits.
void cuiFBitsR::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    Deactivated();
}

void cuiFBitsR::OnEvent(void* self, const cmcEvent& event) {
    auto* editor = static_cast<cuiFBitsR*>(self);
    if (event.kind == cmcEvKind::HostGone && event.first == cmcEvArg(editor->ownerControl_))
        editor->Cancel();
    else if (event.kind == cmcEvKind::FinishEditing)
        editor->Deactivated();
}

void cuiOpenBitEditor(const cuiMainCore& core, QWidget* mainWindow, const cmcCellCapsule& opener,
                      cmcGTex& dictionary, uint32_t value, int firstBit, int lastBit,
                      int headerStyle, int markStyle, const std::string& sheetName,
                      const cuiImageList* images) {
    cuiFBitsR::Open(core, mainWindow, opener, dictionary, value, firstBit, lastBit, headerStyle,
                    markStyle, sheetName, images);
}
