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
    kStep,
    kRow,
    kNoRow,
    kBusyClose,
    kNoPort,
};

QString Local(const std::string& text) {
    return QString::fromLocal8Bit(text.c_str());
}

}  // namespace

cuiFleetWindow::cuiFleetWindow(QWidget* owner, indSession& session, const std::string& fileName,
                               const std::string& journal, const std::string& backupDir)
    : QDialog(owner),
      session_(session),
      gtex_(session.Dictionary()),
      fileName_(fileName),
      backupDir_(backupDir) {
    setObjectName(QStringLiteral("fleetWindow"));
    setWindowTitle(Local(Line("GI_Fleet_Window", kTitle)));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto* file = new QLabel(Local(fileName), this);
    file->setObjectName(QStringLiteral("fleetFile"));
    form->addRow(Local(Line("GI_Fleet_Window", kFile)), file);
    ports_ = new QLineEdit(QString::number(session.ComPortSetting()), this);
    ports_->setObjectName(QStringLiteral("fleetPorts"));
    form->addRow(Local(Line("GI_Fleet_Window", kPorts)), ports_);
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

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("fleetList"));
    QStringList columns;
    for (int n = 0; n < 7; ++n)
        columns << Local(gtex_.Line("GI_Fleet_Columns", n));
    list_->setHeaderLabels(columns);
    list_->setRootIsDecorated(false);
    list_->header()->setStretchLastSection(true);
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
    close_ = new QPushButton(Local(Line("GI_Fleet_Window", kClose)), this);
    close_->setObjectName(QStringLiteral("fleetClose"));
    close_->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(write_);
    buttons->addWidget(close_);
    layout->addLayout(buttons);
    connect(write_, &QPushButton::clicked, this, [this] { WriteConnected(); });
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    resize(760, 420);
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
    for (const QString& part : ports_->text().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        cmcPortArgument port;
        if (!cmcPortArgument::Parse(part.trimmed().toLocal8Bit().toStdString(), port)) {
            ShowStatus(FormatText(Line("GI_Fleet_Window", kNoPort),
                                  {part.trimmed().toLocal8Bit().toStdString()}));
            return false;
        }
        options.ports.push_back(port);
    }
    if (options.ports.empty()) {
        ShowStatus(FormatText(Line("GI_Fleet_Window", kNoPort), {""}));
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
    // The options hold for the whole run.
    for (QWidget* w : {static_cast<QWidget*>(ports_), static_cast<QWidget*>(backup_),
                       static_cast<QWidget*>(verify_), static_cast<QWidget*>(journal_),
                       static_cast<QWidget*>(radios_)})
        w->setEnabled(false);
    return true;
}

bool cuiFleetWindow::WriteConnected() {
    if (Busy())
        return false;
    if (!run_ && !BeginRun())
        return false;
    if (run_->JournalFailed())
        return false;
    bool started = false;
    for (int s = 0; s < run_->Stations(); ++s)
        started = run_->Start(s) || started;
    return started;
}

void cuiFleetWindow::StepChanged(int) {
    const bool busy = Busy();
    write_->setEnabled(!busy && !(run_ && run_->JournalFailed()));
    close_->setEnabled(!busy);
    if (!busy || !run_)
        return;
    std::string text;
    for (int s = 0; s < run_->Stations(); ++s) {
        const int step = static_cast<int>(run_->StepOf(s));
        if (step == 0)
            continue;
        const cmcPortArgument& port = run_->Port(s);
        const std::string name =
            port.number > 0 ? "COM" + std::to_string(port.number) : port.device;
        text += (text.empty() ? "" : "\n") +
                FormatText(Line("GI_Fleet_Window", kStep), {name, Line("GI_Fleet_Steps", step)});
    }
    ShowStatus(text);
}

void cuiFleetWindow::RadioRead(const indFleetEntry& e) {
    const cmcPortArgument& port = run_->Port(e.station);
    const std::string name = port.number > 0 ? "COM" + std::to_string(port.number) : port.device;
    ShowStatus(e.rowText.empty() ? FormatText(Line("GI_Fleet_Window", kNoRow), {name})
                                 : FormatText(Line("GI_Fleet_Window", kRow), {name, e.rowText}));
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
        item->setText(0, Local(e.clockTime));
        item->setText(1, Local(e.commentBefore));
        item->setText(2, Local(e.commentAfter));
        const std::string mmsi = e.mmsiAfter.empty() ? e.mmsiBefore : e.mmsiAfter;
        item->setText(3,
                      Local(mmsi.empty() ? Word(stateWord) : mmsi + " (" + Word(stateWord) + ")"));
        item->setText(4, Local(e.statusText));
        item->setText(5, Local(Word(verifiedWord)));
        item->setText(6, Local(e.backupFile));
        item->setToolTip(4, Local(e.message));
        list_->scrollToItem(item);
    }
    if (run_->JournalFailed())
        ShowStatus(FormatText(gtex_.Line("GI_Fleet_Summary", 3), {run_->JournalError()}));
    else if (!e.Succeeded() && !e.skipped)
        ShowStatus(e.message);
    else if (!Busy())
        ShowStatus(Line("GI_Fleet_Window", kNext));
    StepChanged(e.station);
    if (!Busy())
        write_->setFocus();
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
