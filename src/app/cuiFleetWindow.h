#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "session/indFleetRun.h"
#include "ui/table/cuiFleetValues.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class cmcGTex;
class indSession;

// Clone > Write to several radios: a window over the main window (which stays readable but takes
// no input) that writes the open image to one radio after another, on one port or several, with
// the fleet run of the core: the ports (a check box each), the options, the journal and the
// per-radio table first; a line per ticked port with its step and how far it is; then one line
// per radio done. Write (Enter) does the radios on the ticked ports at the same time; Close ends
// the run, and is refused while a transfer runs.
class cuiFleetWindow : public QDialog, public indFleetListener {
    Q_OBJECT
public:
    // fileName: the open file's name for the window; journal: the default journal path;
    // backupDir: where backups go (empty: beside the journal); ports: the COM numbers offered,
    // each with the device it stands for; current: the one ticked at first.
    cuiFleetWindow(QWidget* owner, indSession& session, const std::string& fileName,
                   const std::string& journal, const std::string& backupDir,
                   const std::vector<cmcPortArgument>& ports, int current);
    ~cuiFleetWindow() override;

    // The check box of each port offered, in the order given.
    const std::vector<QCheckBox*>& PortBoxes() const { return portBoxes_; }
    // A line per ticked port (the run's stations once it has begun): port, step, percent.
    QTreeWidget* PortLines() const { return portLines_; }
    QCheckBox* Backup() const { return backup_; }
    QCheckBox* Verify() const { return verify_; }
    QLineEdit* JournalPath() const { return journal_; }
    QLineEdit* RadiosPath() const { return radios_; }
    QPushButton* WriteButton() const { return write_; }
    QPushButton* CloseButton() const { return close_; }
    QPushButton* StopButton() const { return stop_; }
    // The columns of the list of radios done: lines of "GI_Fleet_Columns".
    enum ListColumn {
        kTimeColumn = 0,
        kCommentBeforeColumn,
        kCommentAfterColumn,
        kMmsiColumn,
        kChangesColumn,
        kResultColumn,
        kVerifiedColumn,
        kBackupColumn,
        kListColumns
    };
    QTreeWidget* List() const { return list_; }
    QLabel* Status() const { return status_; }
    const indFleetRun* Run() const { return run_.get(); }
    bool Busy() const { return run_ && run_->AnyBusy(); }

    // Starts the radios on the ports (the run begins at the first press). False when nothing
    // was started (the reason is shown in the status line or a message).
    bool WriteConnected();
    // Stops the run: radios still being read are not written, writes under way finish.
    void Stop();

    // indFleetListener
    void StepChanged(int station) override;
    void Progressed(int station) override;
    void RadioRead(const indFleetEntry& entry) override;
    void RadioPreviewed(const indFleetEntry& entry) override;
    bool WriteAgain(const indFleetEntry& radio, const indFleetEntry& earlier) override;
    void RadioDone(const indFleetEntry& entry) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    bool BeginRun();
    std::vector<cmcPortArgument> TickedPorts() const;
    void PortsTicked();
    void ShowPortLine(int station);
    void ShowStatus(const std::string& text);
    void ShowRoundStatus();
    void ShowChanges(QTreeWidgetItem* item, const indFleetEntry& entry);
    std::string ChangesText(const indFleetEntry& entry) const;
    std::string Word(int n) const;
    std::string Line(const char* key, int n) const;

    indSession& session_;
    cmcGTex& gtex_;
    std::string fileName_;
    std::string backupDir_;
    cuiFleetValues values_;
    std::unique_ptr<indFleetRun> run_;
    std::vector<cmcPortArgument> ports_;  // offered, one per box
    std::vector<QCheckBox*> portBoxes_;
    QTreeWidget* portLines_;
    std::vector<std::string> lastResult_;  // per station: the status of its last radio
    std::vector<std::string> failures_;    // of this press of Write: a port and what happened
    std::vector<std::string> notes_;       // per station: the row its radio takes, its changes
    QCheckBox* backup_;
    QCheckBox* verify_;
    QLineEdit* journal_;
    QLineEdit* radios_;
    QPushButton* write_;
    QPushButton* stop_;
    QPushButton* close_;
    QTreeWidget* list_;
    QLabel* status_;
};
