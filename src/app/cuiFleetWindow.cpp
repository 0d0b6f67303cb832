#include "app/cuiFleetWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "clone/cmcPortArgument.h"
#include "clone/cmcPortName.h"
#include "platform/cmcHost.h"
#include "session/indSession.h"
#include "session/indSessionUtil.h"
#include "text/cmcGTex.h"

namespace {

// The window's texts: lines of "GI_Fleet_Window".
enum WindowLine {
    kTitle = 0,
    kFile,
    kPorts,
    kBackup,
    kVerify,
    kJournal,
    kRadios,
    kWrite,
    kClose,
    kNext,
    kPortSays,
    kRow,
    kNoRow,
    kBusyClose,
    kNoPort,
    kStop,
    kStopping,
    kUnderWay,
    kChangesNote,
};

// The columns of the list of ports: lines of "GI_Fleet_Progress".
enum PortColumn { kPortColumn = 0, kStepColumn, kDoneColumn };
constexpr int kFirstPortCaption = 2;
constexpr int kPortLinesShown = 4;

// Lines of "GI_Fleet_Changes".
constexpr int kNoChange = 0;
constexpr int kChanges = 1;

QString Local(const std::string& text) {
    return QString::fromLocal8Bit(text.c_str());
}

std::string PortLabel(const cmcPortArgument& port) {
    return cmcPortLabel(port.number, port.device);
}

}  // namespace

cuiFleetWindow::cuiFleetWindow(QWidget* owner, indSession& session, const std::string& fileName,
                               const std::string& journal, const std::string& backupDir,
                               const std::vector<cmcPortArgument>& ports, int current)
    : QDialog(owner),
      session_(session),
      gtex_(session.Dictionary()),
      fileName_(fileName),
      backupDir_(backupDir),
      ports_(ports) {
    setObjectName(QStringLiteral("fleetWindow"));
    setWindowTitle(Local(Line("GI_Fleet_Window", kTitle)));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto* file = new QLabel(Local(fileName), this);
    file->setObjectName(QStringLiteral("fleetFile"));
    form->addRow(Local(Line("GI_Fleet_Window", kFile)), file);
    // A box per port, as the Port menu names them (Alt and the digit ticks one).
    auto* boxes = new QHBoxLayout;
    for (const cmcPortArgument& port : ports_) {
        // "COM&1 (/dev/ttyUSB0)": an ampersand of the device is no letter of the box.
        const QString rest =
            Local(PortLabel(port).substr(3)).replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* box = new QCheckBox(QStringLiteral("COM&") + rest, this);
        box->setObjectName(QStringLiteral("fleetPort%1").arg(port.number));
        box->setChecked(port.number == current);
        connect(box, &QCheckBox::toggled, this, [this] { PortsTicked(); });
        boxes->addWidget(box);
        portBoxes_.push_back(box);
    }
    boxes->addStretch(1);
    form->addRow(Local(Line("GI_Fleet_Window", kPorts)), boxes);
    journal_ = new QLineEdit(Local(journal), this);
    journal_->setObjectName(QStringLiteral("fleetJournal"));
    form->addRow(Local(Line("GI_Fleet_Window", kJournal)), journal_);
    radios_ = new QLineEdit(this);
    radios_->setObjectName(QStringLiteral("fleetRadios"));
    form->addRow(Local(Line("GI_Fleet_Window", kRadios)), radios_);
    layout->addLayout(form);
    backup_ = new QCheckBox(Local(Line("GI_Fleet_Window", kBackup)), this);
    backup_->setObjectName(QStringLiteral("fleetBackup"));
    backup_->setChecked(true);
    verify_ = new QCheckBox(Local(Line("GI_Fleet_Window", kVerify)), this);
    verify_->setObjectName(QStringLiteral("fleetVerify"));
    verify_->setChecked(true);
    layout->addWidget(backup_);
    layout->addWidget(verify_);

    portLines_ = new QTreeWidget(this);
    portLines_->setObjectName(QStringLiteral("fleetPortLines"));
    QStringList portColumns;
    for (int n = kPortColumn; n <= kDoneColumn; ++n)
        portColumns << Local(gtex_.Line("GI_Fleet_Progress", kFirstPortCaption + n));
    portLines_->setHeaderLabels(portColumns);
    portLines_->setRootIsDecorated(false);
    portLines_->setFocusPolicy(Qt::NoFocus);
    portLines_->header()->setStretchLastSection(false);
    portLines_->header()->setSectionResizeMode(kPortColumn, QHeaderView::ResizeToContents);
    portLines_->header()->setSectionResizeMode(kStepColumn, QHeaderView::Stretch);
    // A line per ticked port, four of them without scrolling: the rest of the height goes to the
    // radios done, which is what the technician reads.
    portLines_->setMaximumHeight(portLines_->header()->sizeHint().height() +
                                 kPortLinesShown * (fontMetrics().height() + 4) +
                                 2 * portLines_->frameWidth());
    layout->addWidget(portLines_);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("fleetList"));
    QStringList columns;
    for (int n = 0; n < kListColumns; ++n)
        columns << Local(gtex_.Line("GI_Fleet_Columns", n));
    list_->setHeaderLabels(columns);
    list_->setRootIsDecorated(false);
    list_->header()->setStretchLastSection(true);
    // Columns as wide as their captions and texts; the backup file's path takes the rest.
    for (int n = 0; n + 1 < columns.size(); ++n)
        list_->header()->setSectionResizeMode(n, QHeaderView::ResizeToContents);
    layout->addWidget(list_, 1);

    status_ = new QLabel(Local(Line("GI_Fleet_Window", kNext)), this);
    status_->setObjectName(QStringLiteral("fleetStatus"));
    status_->setWordWrap(true);
    layout->addWidget(status_);

    auto* buttons = new QHBoxLayout;
    write_ = new QPushButton(Local(Line("GI_Fleet_Window", kWrite)), this);
    write_->setObjectName(QStringLiteral("fleetWrite"));
    write_->setDefault(true);
    write_->setAutoDefault(true);
    stop_ = new QPushButton(Local(Line("GI_Fleet_Window", kStop)), this);
    stop_->setObjectName(QStringLiteral("fleetStop"));
    stop_->setAutoDefault(false);
    stop_->setEnabled(false);
    close_ = new QPushButton(Local(Line("GI_Fleet_Window", kClose)), this);
    close_->setObjectName(QStringLiteral("fleetClose"));
    close_->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(write_);
    buttons->addWidget(stop_);
    buttons->addWidget(close_);
    layout->addLayout(buttons);
    connect(write_, &QPushButton::clicked, this, [this] { WriteConnected(); });
    connect(stop_, &QPushButton::clicked, this, [this] { Stop(); });
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    PortsTicked();
    resize(760, 520);
    write_->setFocus();
}

cuiFleetWindow::~cuiFleetWindow() = default;

std::string cuiFleetWindow::Line(const char* key, int n) const {
    return gtex_.Line(key, n);
}

std::string cuiFleetWindow::Word(int n) const {
    return gtex_.Line("GI_Fleet_Words", n);
}

void cuiFleetWindow::ShowStatus(const std::string& text) {
    status_->setText(Local(text));
}

bool cuiFleetWindow::BeginRun() {
    indFleetOptions options;
    options.ports = TickedPorts();
    if (options.ports.empty()) {
        ShowStatus(Line("GI_Fleet_Window", kNoPort));
        return false;
    }
    options.backup = backup_->isChecked();
    // Without a backup folder of the program's the backups go beside the journal.
    options.backupDir =
        !backupDir_.empty()
            ? backupDir_
            : QFileInfo(journal_->text()).absolutePath().toLocal8Bit().toStdString();
    options.verify = verify_->isChecked();
    options.journalPath = journal_->text().toLocal8Bit().toStdString();
    options.radiosPath = radios_->text().trimmed().toLocal8Bit().toStdString();
    options.cloneFile = fileName_;
    run_ = std::make_unique<indFleetRun>(session_, &values_, this);
    std::string why;
    if (!run_->Begin(options, why)) {
        run_.reset();
        // Data errors were shown in the usual message; anything else is said here.
        if (!why.empty())
            cmcHost::Instance().MessageBox(gtex_.Text("GI_Sys_AppTitle"), why, HostIcon::Error,
                                           HostButtons::Ok);
        return false;
    }
    // The ports and options hold for the whole run.
    for (QCheckBox* box : portBoxes_)
        box->setEnabled(false);
    for (QWidget* w : {static_cast<QWidget*>(backup_), static_cast<QWidget*>(verify_),
                       static_cast<QWidget*>(journal_), static_cast<QWidget*>(radios_)})
        w->setEnabled(false);
    lastResult_.assign(static_cast<size_t>(run_->Stations()), std::string());
    return true;
}

std::vector<cmcPortArgument> cuiFleetWindow::TickedPorts() const {
    std::vector<cmcPortArgument> ticked;
    for (size_t i = 0; i < portBoxes_.size(); ++i)
        if (portBoxes_[i]->isChecked())
            ticked.push_back(ports_[i]);
    return ticked;
}

void cuiFleetWindow::PortsTicked() {
    // Before the run a line stands for each ticked port; the run keeps them as its stations.
    if (run_)
        return;
    portLines_->clear();
    const std::vector<cmcPortArgument> ticked = TickedPorts();
    for (const cmcPortArgument& port : ticked) {
        auto* item = new QTreeWidgetItem(portLines_);
        item->setText(kPortColumn, Local(PortLabel(port)));
        item->setText(kStepColumn, Local(Line("GI_Fleet_Steps", 0)));
    }
    write_->setEnabled(!ticked.empty());
    ShowStatus(Line("GI_Fleet_Window", ticked.empty() ? kNoPort : kNext));
}

void cuiFleetWindow::ShowPortLine(int station) {
    QTreeWidgetItem* item = portLines_->topLevelItem(station);
    if (item == nullptr)
        return;
    const int step = static_cast<int>(run_->StepOf(station));
    const std::string& result = lastResult_[static_cast<size_t>(station)];
    // Between radios the line says how the last one ended, and how far it got.
    item->setText(kStepColumn,
                  Local(step == 0 && !result.empty() ? result : Line("GI_Fleet_Steps", step)));
    item->setText(kDoneColumn, QStringLiteral("%1%").arg(run_->PercentOf(station)));
}

bool cuiFleetWindow::WriteConnected() {
    if (Busy())
        return false;
    if (!run_ && !BeginRun())
        return false;
    if (run_->JournalFailed())
        return false;
    failures_.clear();
    notes_.assign(static_cast<size_t>(run_->Stations()), std::string());
    bool started = false;
    for (int s = 0; s < run_->Stations(); ++s)
        started = run_->Start(s) || started;
    // While Write cannot be pressed and the options are locked, the keyboard is on Stop.
    if (started && stop_->isEnabled())
        stop_->setFocus();
    ShowRoundStatus();
    return started;
}

void cuiFleetWindow::Stop() {
    if (!Busy())
        return;
    run_->RequestStop();
    stop_->setEnabled(false);
    ShowRoundStatus();
}

void cuiFleetWindow::StepChanged(int station) {
    const bool busy = Busy();
    stop_->setEnabled(busy && !run_->StopRequested());
    write_->setEnabled(!busy && !(run_ && run_->JournalFailed()));
    close_->setEnabled(!busy);
    if (run_)
        ShowPortLine(station);
}

void cuiFleetWindow::Progressed(int station) {
    ShowPortLine(station);
}

void cuiFleetWindow::RadioRead(const indFleetEntry& e) {
    const std::string name = PortLabel(run_->Port(e.station));
    notes_[static_cast<size_t>(e.station)] =
        e.rowText.empty() ? FormatText(Line("GI_Fleet_Window", kNoRow), {name})
                          : FormatText(Line("GI_Fleet_Window", kRow), {name, e.rowText});
    ShowRoundStatus();
}

void cuiFleetWindow::RadioPreviewed(const indFleetEntry& e) {
    if (e.changedCells < 0)
        return;
    notes_[static_cast<size_t>(e.station)] +=
        "\n" + FormatText(Line("GI_Fleet_Window", kChangesNote),
                          {ChangesText(e), PortLabel(run_->Port(e.station))});
    ShowRoundStatus();
}

bool cuiFleetWindow::WriteAgain(const indFleetEntry& radio, const indFleetEntry& earlier) {
    // Lines of "GI_Fleet_Who": by the MMSI, by the comment.
    const std::string who = radio.mmsiBefore.empty()
                                ? FormatText(gtex_.Line("GI_Fleet_Who", 1), {radio.commentBefore})
                                : FormatText(gtex_.Line("GI_Fleet_Who", 0), {radio.mmsiBefore});
    const HostAnswer answer = cmcHost::Instance().MessageBox(
        gtex_.Text("GI_Sys_AppTitle"),
        FormatText(gtex_.Text("GI_Fleet_WriteAgain"), {who, earlier.clockTime}), HostIcon::Question,
        HostButtons::YesNo);
    return answer == HostAnswer::Yes;
}

void cuiFleetWindow::RadioDone(const indFleetEntry& e) {
    if (!e.skipped) {
        const std::string state = e.MmsiState();
        const int stateWord = state == "kept" ? 0 : state == "set" ? 1 : 2;
        const int verifiedWord = e.verified == "yes" ? 3 : e.verified == "no" ? 4 : 5;
        auto* item = new QTreeWidgetItem(list_);
        item->setText(kTimeColumn, Local(e.clockTime));
        item->setText(kCommentBeforeColumn, Local(e.commentBefore));
        item->setText(kCommentAfterColumn, Local(e.commentAfter));
        const std::string mmsi = e.mmsiAfter.empty() ? e.mmsiBefore : e.mmsiAfter;
        item->setText(kMmsiColumn,
                      Local(mmsi.empty() ? Word(stateWord) : mmsi + " (" + Word(stateWord) + ")"));
        ShowChanges(item, e);
        item->setText(kResultColumn, Local(e.statusText));
        item->setText(kVerifiedColumn, Local(Word(verifiedWord)));
        item->setText(kBackupColumn, Local(e.backupFile));
        item->setToolTip(kResultColumn, Local(e.message));
        list_->scrollToItem(item);
    }
    if (!e.skipped)
        lastResult_[static_cast<size_t>(e.station)] = e.statusText;
    // Each port's failure stays said until the next Write, whatever the other ports do.
    if (!e.Succeeded() && !e.skipped)
        failures_.push_back(FormatText(Line("GI_Fleet_Window", kPortSays),
                                       {PortLabel(run_->Port(e.station)), e.message}));
    ShowRoundStatus();
    StepChanged(e.station);
    if (!Busy())
        write_->setFocus();
}

std::string cuiFleetWindow::ChangesText(const indFleetEntry& e) const {
    return e.changedCells == 0
               ? Line("GI_Fleet_Changes", kNoChange)
               : FormatText(Line("GI_Fleet_Changes", kChanges), {std::to_string(e.changedCells)});
}

void cuiFleetWindow::ShowChanges(QTreeWidgetItem* item, const indFleetEntry& e) {
    // The write's preview: how many cells it changes, the first of them in the tool tip.
    if (e.changedCells < 0)
        return;
    item->setText(kChangesColumn, Local(ChangesText(e)));
    std::string tip;
    for (const std::string& line : e.changes)
        tip += (tip.empty() ? "" : "\n") + line;
    if (e.changedCells > static_cast<int>(e.changes.size()))
        tip += "\n...";
    item->setToolTip(kChangesColumn, Local(tip));
}

void cuiFleetWindow::ShowRoundStatus() {
    if (run_->JournalFailed()) {
        ShowStatus(FormatText(gtex_.Line("GI_Fleet_Summary", 3), {run_->JournalError()}));
        return;
    }
    // The failures of this press first, then which row the last radio read takes while radios
    // are under way; once all are done and none failed, the next radio is asked for.
    std::vector<std::string> lines = failures_;
    const bool busy = Busy();
    // What the radios under way take and what their writes change, port by port.
    for (int s = 0; busy && s < run_->Stations(); ++s)
        if (run_->Busy(s) && !notes_[static_cast<size_t>(s)].empty())
            lines.push_back(notes_[static_cast<size_t>(s)]);
    if (busy && run_->StopRequested())
        lines.push_back(Line("GI_Fleet_Window", kStopping));
    else if (busy && lines.empty())
        lines.push_back(Line("GI_Fleet_Window", kUnderWay));
    if (lines.empty() && !busy)
        lines.push_back(Line("GI_Fleet_Window", kNext));
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    ShowStatus(text);
}

void cuiFleetWindow::closeEvent(QCloseEvent* event) {
    if (Busy()) {
        ShowStatus(Line("GI_Fleet_Window", kBusyClose));
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void cuiFleetWindow::reject() {
    // Escape, like Close, ends the run only between radios.
    if (Busy()) {
        ShowStatus(Line("GI_Fleet_Window", kBusyClose));
        return;
    }
    QDialog::reject();
}
