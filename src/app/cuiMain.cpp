// The main controller: building the window, the events it answers, the periodic task and the
// closing of the window.
#include "app/cuiMain.h"
#include "app/cuiPrinting.h"

#include <algorithm>
#include <cstdlib>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QSplitter>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/TForm1.h"
#include "app/cuiAboutBox.h"
#include "app/cuiDebugCompare.h"
#include "app/cuiStatusPanels.h"
#include "app/cuiTransferProgress.h"
#include "events/cmcEvMan.h"
#include "memory/cmcEnviron.h"
#include "platform/cmcHost.h"
#include "ui/chrome/cuiMenu.h"
#include "ui/chrome/cuiToolBar.h"
#include "ui/chrome/cuiTree.h"
#include "ui/sheet/cuiSheet.h"

namespace {

void Send(cmcEvKind kind) {
    if (cmcEvMan* events = cmcEvMan::Global())
        events->SendEvent(kind);
}

QFrame* NewPanel(QWidget* parent, const char* name) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    // A sunken edge of two pixels, as the tree's and the sheet's panels have always had.
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    panel->setLineWidth(2);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return panel;
}

}  // namespace

cuiMain::cuiMain(cmcEnviron& environ, const std::string& resourceDir)
    : environ_(environ),
      treeImages_(cuiImageList::TreeImages()),
      toolImages_(cuiImageList::ToolBarImages()) {
    session_.SetViews(this);
    session_.SetEnvironment(&environ_);
    session_.SetResourceDir(resourceDir);
    periodic_.SetHandler(&cuiMain::OnPeriodic, this);
    if (cmcEvMan* events = cmcEvMan::Global())
        events->AddHandler(&cuiMain::OnEvent, this);
}

cuiMain::~cuiMain() {
    periodic_.Cancel();
    if (cmcEvMan* events = cmcEvMan::Global())
        events->RemoveHandler(&cuiMain::OnEvent, this);
    ReleaseViews();
    session_.SetViews(nullptr);
}

void cuiMain::Initialize(const std::vector<std::string>& arguments) {
    session_.ReadCommandLine(arguments);
}

void cuiMain::SelfCheck(int imageSize) {
    if (imageSize < kSelfCheckImageSize)
        FatalError("Self Check Error.\nEEPROM Map is too large.");
}

// ---- Building the window.

void cuiMain::BuildWindow(TForm1& form) {
    form_ = &form;
    // The template is the program's ground: without it nothing can be shown (fatal).
    session_.LoadTemplate();

    menu_ = std::make_unique<cuiMenu>(Core(), &form, form.menuBar(), Dictionary(), "GI_Menu_Main",
                                      &cuiMain::OnMenuClick, this);
    menu_->SetImageList(&toolImages_);
    menu_->BuildMenu();
    AddPortDeviceItem();
    AddFleetItem();
    AddUndoItems();
    AddPreviewItem();
    AddTableItems();
    AddWriteItems();
    AddSortItem();
    AddFindItems();
    AddDebugMenu();

    toolBar_ =
        std::make_unique<cuiToolBar>(Core(), &form, Dictionary(), "GI_ToolBar_Main", &toolImages_);
    toolBar_->BuildBar();
    toolBar_->SetVisible(environ_.toolBarVisible);

    if (cmcEvMan* events = cmcEvMan::Global())
        events->SendEvent(cmcEvKind::CommandSetChanged);

    BuildPanels(form);
    BuildTree();
    const int width =
        environ_.splitterV > kMinPanelWidth ? int(environ_.splitterV) : kMinPanelWidth;
    splitter_->setSizes({width, std::max(form.width() - width, 1)});
    BuildStatusBar(form);

    SelfCheck(session_.WorkingImage().GetSize());
    if (!environ_.boundsStored)
        FitFirstWindow(form);

    progress_ = std::make_unique<cuiTransferProgress>(&form, session_.CloneManager().Driver());
    session_.CloneManager().SetProgress(progress_.get());
    periodic_.Schedule(kPeriodMs);
}

void cuiMain::BuildPanels(TForm1& form) {
    splitter_ = new QSplitter(Qt::Horizontal, &form);
    splitter_->setObjectName(QStringLiteral("splitter"));
    splitter_->setHandleWidth(3);
    splitter_->setOpaqueResize(true);  // live resizing
    splitter_->setChildrenCollapsible(false);
    leftPanel_ = NewPanel(splitter_, "leftPanel");
    leftPanel_->setMinimumWidth(kMinPanelWidth);
    rightPanel_ = NewPanel(splitter_, "rightPanel");
    // Until a sheet is chosen the panel says what to do, rather than stay blank.
    noSheet_ = new QLabel(QString::fromLocal8Bit(Dictionary().Text("GI_Form_Main_NoSheet").c_str()),
                          rightPanel_);
    noSheet_->setObjectName(QStringLiteral("noSheetHint"));
    noSheet_->setWordWrap(true);
    noSheet_->setAlignment(Qt::AlignCenter);
    noSheet_->setMargin(24);
    noSheet_->setForegroundRole(QPalette::PlaceholderText);
    rightPanel_->layout()->addWidget(noSheet_);
    splitter_->addWidget(leftPanel_);
    splitter_->addWidget(rightPanel_);
    // A wider window gives the sheet the room; the tree keeps its width.
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    form.setCentralWidget(splitter_);
}

void cuiMain::BuildTree() {
    delete tree_.data();
    tree_ = new cuiTree(Core(), leftPanel_, Dictionary(), "GI_Tree_Main", &treeImages_);
    tree_->View()->hide();
    tree_->BuildTree();
    // The marks of collapsed folders follow what is shown.
    QObject::connect(tree_, &cuiTree::ExpandedOrCollapsed, form_,
                     [this] { session_.RunWarningCheck(); });
    tree_->SetChangeDelay(std::atoi(Dictionary().Text("GI_Sys_TreeChangeDelay").c_str()));
    QObject::connect(tree_, &cuiTree::SelectionSettled, form_, [this] { TreeSettled(); });
    session_.RunWarningCheck();
    CloseSheet();
    tree_->View()->show();
    tree_->SelectNode(nullptr);
}

void cuiMain::TreeSettled() {
    if (!tree_)
        return;
    tree_->ActivateSelected(sheet_ ? sheet_->GetReference() : std::string());
}

void cuiMain::BuildStatusBar(TForm1& form) {
    QStatusBar* bar = form.statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    statusPanels_ = new cuiStatusPanels(bar);
    bar->addWidget(statusPanels_, 1);
    bar->show();
    const int height = statusPanels_->sizeHint().height();
    statusPanels_->InsertPanel(0, height, false);        // the plain panel
    statusPanels_->InsertPanel(kMessagePanel, 0, true);  // the message panel before it
    statusPanels_->SetDrawCallback(&cuiMain::OnDrawPanel, this);
    statusPanels_->SetResizeCallback(&cuiMain::OnStatusResized, this);
    StatusBarResized();
}

void cuiMain::StatusBarResized() {
    if (!statusPanels_)
        return;
    int others = 0;
    for (int i = 0; i < statusPanels_->Count(); ++i)
        if (i != kMessagePanel)
            others += statusPanels_->PanelWidth(i);
    statusPanels_->SetPanelWidth(kMessagePanel,
                                 std::max(statusPanels_->width() - others, kMinMessageWidth));
}

void cuiMain::DrawStatusPanel(QPainter& painter, int panel, const QRect& rect) {
    if (panel != kMessagePanel)
        return;
    const QPalette& palette = statusPanels_->palette();
    painter.fillRect(rect, ToQColor(messageBackColor_, palette));
    painter.setPen(ToQColor(messageTextColor_, palette));
    painter.setFont(statusPanels_->font());
    const QFontMetrics metrics(statusPanels_->font());
    // A few pixels in from the edge, so that the text does not touch the panel's border.
    const int top = rect.top() + (rect.height() - metrics.height()) / 2;
    painter.drawText(QRect(rect.left() + 4, top, rect.width() - 4, metrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QString::fromLocal8Bit(messageText_.c_str()));
}

void cuiMain::OnDrawPanel(void* self, QPainter& painter, int panel, const QRect& rect) {
    static_cast<cuiMain*>(self)->DrawStatusPanel(painter, panel, rect);
}

void cuiMain::OnStatusResized(void* self) {
    static_cast<cuiMain*>(self)->StatusBarResized();
}

TForm1* cuiMain::Form() const {
    return form_;
}

QLabel* cuiMain::NoSheetHint() const {
    return noSheet_;
}

cuiTree* cuiMain::Tree() const {
    return tree_;
}

QWidget* cuiMain::LeftPanel() const {
    return leftPanel_;
}

QWidget* cuiMain::RightPanel() const {
    return rightPanel_;
}

QSplitter* cuiMain::Splitter() const {
    return splitter_;
}

cuiStatusPanels* cuiMain::StatusPanels() const {
    return statusPanels_;
}

// ---- Events.

void cuiMain::OnEvent(void* self, const cmcEvent& event) {
    static_cast<cuiMain*>(self)->HandleEvent(event);
}

void cuiMain::HandleEvent(const cmcEvent& event) {
    switch (event.kind) {
        case cmcEvKind::CommandSetChanged:
            Send(cmcEvKind::UpdateCommandStates);
            Send(cmcEvKind::UpdateToolBarStates);
            break;
        case cmcEvKind::ShowAbout:
            if (form_)
                cuiAboutBox::ShowAbout(form_, Dictionary());
            break;
        case cmcEvKind::StatusMessage:
            if (reopening_ && *event.Text() == '\0')
                break;
            messageTextColor_ = cmcColor(event.first);
            messageBackColor_ = cmcColor(uint32_t(event.second));
            messageText_ = event.Text();
            if (statusPanels_)
                statusPanels_->RepaintPanel(kMessagePanel);
            break;
        case cmcEvKind::OpenFreeDebug:
            OpenTraceWindow();
            break;
        case cmcEvKind::OpenMemoryDebug:
            OpenMemoryWindow();
            break;
        case cmcEvKind::OpenDebugCompare:
            if (form_)
                cuiDebugCompare::ShowDebugCompare(form_, leftPanel_, session_.ReferenceImage(),
                                                  session_.WorkingImage());
            break;
        default:
            break;
    }
}

void cuiMain::OnMenuClick(void* self, QAction* item) {
    auto* main = static_cast<cuiMain*>(self);
    if (main->menu_)
        cuiMenu::DefaultClick(main->menu_.get(), item);
}

// ---- The periodic task.

void cuiMain::OnPeriodic(void* self, cmcTask&) {
    static_cast<cuiMain*>(self)->RunPeriodicTask();
}

void cuiMain::RunPeriodicTask() {
    if (!sheet_ && form_ && form_->isVisible()) {
        if (tree_) {
            // Only a node that names a sheet is run: running any cell counts as an edit and
            // restarts the warning check's delay, so a folder run every 50 ms would keep the
            // tree's marks from ever being brought up to date.
            const cmcCellObj* cell = tree_->SelectedCell();
            if (cell != nullptr && cell->argText && !cell->argText->empty()) {
                // Reopening the sheet on a new image is the program's doing, not a key of the
                // technician's: the node's Enter clears no message, so what the last command
                // said (a read's byte count) stays shown.
                reopening_ = true;
                tree_->ActivateSelected();
                reopening_ = false;
            }
        } else if (const cuiSheetHistory::Entry* head = history_.Head())
            OpenSheet(head->reference);
    }
    if (noSheet_)
        noSheet_->setVisible(!sheet_);
    session_.RunDueWarningCheck();
    session_.RunDueRecoveryWrite();
    PlaceUndoItems();
    PlaceFindItems();
}

// ---- Closing.

bool cuiMain::CanClose() {
    // While a transfer runs the window is disabled: closing is refused without a question.
    if (!form_ || !form_->isEnabled() || session_.CloneBusy() ||
        (printing_ && printing_->Printing()))
        return false;
    return session_.ConfirmDiscard(false) != indSession::kAnswerCancel;
}

void cuiMain::Closing() {
    if (!form_)
        return;
    const HostRect bounds = form_->NormalBounds();
    environ_.windowLeft = bounds.left;
    environ_.windowTop = bounds.top;
    environ_.windowWidth = bounds.width;
    environ_.windowHeight = bounds.height;
    if (leftPanel_)
        environ_.splitterV = leftPanel_->width();
}

void cuiMain::Closed() {
    periodic_.Schedule(-1);
    sheet_.reset();
    delete tree_.data();
}

void cuiMain::ReleaseViews() {
    periodic_.Schedule(-1);
    session_.CloneManager().SetProgress(nullptr);
    progress_.reset();
    delete infoWindow_.data();
    sheet_.reset();
    delete tree_.data();
    toolBar_.reset();
    menu_.reset();
}

int cuiMain::OpenFile(const std::string& path) {
    if (!form_ || !form_->isEnabled() || session_.CloneBusy())
        return indSession::kOpenCancelled;
    return session_.OpenFile(path);
}
