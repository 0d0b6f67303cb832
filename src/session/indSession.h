#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cells/cmcFCache.h"
#include "cells/cuiMainCore.h"
#include "clone/dst_CDrv_Result.h"
#include "clone/indCloneMan.h"
#include "events/cmcTick.h"
#include "memory/cmcEeprom.h"
#include "memory/cmcRecent.h"
#include "memory/datClipCh.h"
#include "platform/cmcHost.h"
#include "platform/cmcPath.h"
#include "profile/ModelProfile.h"
#include "profile/indCloneCommands.h"
#include "session/cmcImageHistory.h"
#include "session/indRecovery.h"
#include "session/indWriteCheck.h"
#include "text/cmcGTex.h"

class QUndoStack;
class cmcEnviron;

// The main controller without views, shared by the desktop program and the command-line tool:
// the dictionary and the section cache, the four images (working, template, saved, reference),
// the file name, the last directory, the modified flag, the clipboard, the clone manager with
// the model's hooks, the modes, the warning check, and every file and clone command with its
// questions. Questions, file dialogs and messages go through the host; what a command asks of a
// view goes through the views it is given (none: nothing happens). The session is the document
// and the commands of the core's roles; the views are the front end's. Beyond the product's own
// design it keeps the undo history of the working image, the recovery file of unsaved changes
// and the backup of the radio before a clone write.
class indSession : public cuiDocument, public cuiCommands {
public:
    // OpenFile's result when the question about unsaved changes was cancelled (the file results
    // are 0 to 9).
    static constexpr int kOpenCancelled = -1;

    // ConfirmDiscard's answers.
    static constexpr int kAnswerYes = 6;
    static constexpr int kAnswerNo = 7;
    static constexpr int kAnswerCancel = 2;

    // How a clone command ended before the transfer began, or that it began.
    enum class CloneStart { Started, Cancelled, Busy, DataErrors, Refused };

    indSession();
    ~indSession() override;
    indSession(const indSession&) = delete;
    indSession& operator=(const indSession&) = delete;

    // ---- Set-up.

    // The views the commands report to (not owned); null: none.
    void SetViews(cuiViews* views);
    // The core's roles over this session and its views, for the behaviours.
    cuiMainCore Core();
    // Points the dictionary at the resource file in dir (with its trailing separator), the
    // model code followed by ".OVL", and makes it the program's main dictionary.
    void SetResourceDir(const std::string& dir);
    const std::string& ResourceDir() const { return resourceDir_; }
    std::string ResourceFilePath() const;
    // Reads the initial clone file into the template (fatal when it cannot: the program cannot
    // run without it), normalises it, makes it the working image (not modified) and the
    // reference image.
    void LoadTemplate();
    // The command-line modes ("/expert", "/gene") from the arguments, program path first.
    void ReadCommandLine(const std::vector<std::string>& arguments);
    void SetModes(bool expert, bool generalCoverage);
    // The modes' text for the status bar; empty when no mode is on.
    const std::string& MarkText() const { return markText_; }
    // The remembered settings (COM port, recent files; not owned). Without them the session
    // keeps its own for its lifetime.
    void SetEnvironment(cmcEnviron* environ);
    // A device that overrides the COM port setting (the command-line tool's --port /dev/...);
    // empty: the setting's port.
    void SetPortDevice(const std::string& device) { portDevice_ = device; }
    const std::string& PortDevice() const { return portDevice_; }
    // How paths compare (reopening the open file, the recent list): the platform's by default.
    void SetPathRules(const cmcPathRules& rules) { pathRules_ = rules; }

    // ---- The document.

    cmcEeprom& WorkingImage() override { return working_; }
    cmcEeprom& TemplateImage() override { return template_; }
    cmcEeprom& SavedImage() override { return saved_; }
    cmcEeprom& ReferenceImage() override { return reference_; }
    bool ExpertMode() const override { return expert_; }
    bool GeneralCoverageMode() const override { return generalCoverage_; }
    datClipCh& Clipboard() override { return clipboard_; }
    cmcGTex& Dictionary() override { return dictionary_; }
    cmcFCache& SectionCache() override { return sectionCache_; }
    void ScheduleWarningCheck() override;
    // Also makes what the edit changed one undo step (named after DescribeEdit).
    bool CheckModified() override;
    void DescribeEdit(const cmcCellCapsule& capsule) override;
    const uint8_t* CloneInfo() const override { return clone_.Identity().info; }

    bool IsModified() const { return modified_; }
    // Saved image := working image; not modified; title updated.
    void MarkSaved();
    void MarkModified();
    // The file name (empty: untitled) and the directory the file dialogs start in.
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& path);
    const std::string& LastDirectory() const { return lastDirectory_; }
    void SetLastDirectory(const std::string& dir) { lastDirectory_ = dir; }
    // The file-name part of CurrentFileName, " - ", the application title.
    std::string Title() const;
    // The same with Qt's placeholder after the file name, where a window shows that the data
    // has unsaved changes.
    std::string WindowTitle() const;
    void UpdateTitle();

    // The model's image rules.
    int CheckImage(const cmcEeprom& image, bool strict) const;
    void ImageLoaded(cmcEeprom& image);
    void NormalizeImage(cmcEeprom& image, bool forWriting);

    // ---- The warning check.

    // Runs the checks of the resource list on the working image, keeps the lists, hands them to
    // the views' tree marks; the counters (when given) get the numbers of sheets with errors and
    // with notices only.
    void RunWarningCheck(int* errors = nullptr, int* notices = nullptr);
    const ModelProfile::WarningLists& WarningResults() const { return warnings_; }
    // The delayed check after an edit: runs it when its 250 ms have passed (the periodic task
    // asks every 50 ms); true when it ran.
    bool RunDueWarningCheck();
    bool WarningCheckPending() const { return warningTick_.IsRunning(); }
    static constexpr uint32_t kWarningCheckDelayMs = 250;

    // One sheet of the tree with its marks after the warning check, in tree order.
    struct SheetMark {
        std::string caption;
        std::string reference;
        bool errors = false;
        bool notices = false;
    };
    std::vector<SheetMark> SheetMarks() const;

    // ---- The commands.

    // What a finished command did, for the status bar: line `line` of "GI_AppMess_Done" with its
    // "%s" filled by `texts` in turn.
    enum DoneLine {
        kDoneRead = 0,
        kDoneWrite = 1,
        kDoneSave = 2,
        kDoneExport = 3,
        kDoneImport = 4,
        kDonePrintPrinter = 5,
        kDonePrintFile = 6,
        kDoneCompare = 7,
        kDoneCompareSame = 8,
    };
    void Announce(DoneLine line, const std::vector<std::string>& texts);
    // The port a transfer used, as the technician names it ("COM1", or the device given).
    std::string PortName() const;

    // Asks about unsaved changes: 6 (saved, or nothing to save), 7 (no) or 2 (cancel). another:
    // the file about to be opened is the open one, so Yes saves under another name.
    int ConfirmDiscard(bool another);
    bool FileNew() override;
    bool FileOpen() override;
    int OpenFile(const std::string& path) override;
    void FileSave();
    int FileSaveAs() override;
    int SaveFile(const std::string& path) override;
    bool IsUntitled() const override { return fileName_.empty(); }
    // A clone file read as Open reads it (every file check, then normalised as loaded, so that
    // the values only the program keeps, such as the DSC pairs' use, follow from the file), into
    // image rather than the working image: for comparing a file with another. The file result
    // (0: read; otherwise the reader has said why). Needs the template (LoadTemplate).
    int ReadImageFile(const std::string& path, cmcEeprom& image);
    std::string CurrentFileName() const override;
    std::string RecentFileText(int n, bool fullPath) const override;
    cmcRecent& RecentFiles();

    void CloneRead() override { StartCloneRead(); }
    // Clone > Write: StartCheckedWrite with MenuWriteOptions.
    void CloneWrite() override;
    void CloneInformation() override { StartCloneInfo(); }
    CloneStart StartCloneRead();
    CloneStart StartCloneWrite();
    CloneStart StartCloneInfo();
    int ComPortSetting() const override;
    void SetComPortSetting(int port) override;

    // ---- Undo and redo of changes to the working image.

    // What a step did; each kind has its name in the resource file.
    enum class UndoStep {
        Typing,
        Choice,
        BitEdit,
        Change,
        Paste,
        MoveUp,
        MoveDown,
        Clear,
        Delete,
        Insert,
        Import,
        Sort,
    };
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    // The Edit menu's items: "Undo paste", "Redo typing in <place>"; empty when there is nothing
    // to undo (redo).
    std::string UndoText() const;
    std::string RedoText() const;
    // Commits an open in-place editor first, then takes back (does again) one step. Afterwards
    // the modified flag and the title follow whether the image equals the saved one, the
    // warning check is scheduled, every sheet cell is repainted (RepaintAll) and the views are
    // told (WorkingImageChanged). False when there is nothing to undo (redo) or a clone
    // transfer runs.
    bool Undo();
    bool Redo();
    // The stack behind the history, for the Edit menu's states: canUndoChanged,
    // canRedoChanged, undoTextChanged, indexChanged (its command texts are the step names
    // only; UndoText and RedoText give the item texts). Driving the stack directly works too,
    // but Undo and Redo commit an open editor first.
    QUndoStack* UndoStack() { return history_.Stack(); }
    int UndoStepCount() const { return history_.StepCount(); }
    // A step's name, with where it happened when place is not empty.
    std::string UndoStepName(UndoStep step, const std::string& place) const;
    // Makes what changed in the working image since the last step one undo step of the given
    // kind and reports it as an edit does (warning check scheduled, modified checked): for
    // changes made without a cell, such as a table imported into a sheet. False when nothing
    // changed.
    bool CommitChange(UndoStep step, const std::string& place = std::string());

    // ---- Recovery of unsaved changes.

    // Keeps a recovery file in dir while the image has unsaved changes (indRecovery): written a
    // few seconds after the last change, removed when the image is saved or its changes are
    // discarded, and at a clean end. A recovery file an earlier run left there is moved aside
    // to be offered. False when another session owns dir or no lock can be had there: this
    // session then keeps none. The desktop program passes indRecovery::StandardDirectory().
    bool EnableRecovery(const std::string& dir);
    bool RecoveryEnabled() const { return recovery_.IsActive(); }
    const indRecovery& Recovery() const { return recovery_; }
    // A recovery file of an earlier run waits to be restored or discarded.
    bool HasEarlierRecovery() const { return recovery_.HasEarlier(); }
    // Asks about unsaved changes, then makes the earlier run's image the working image with its
    // file name (the title shows it), modified (nothing of it is saved) and a fresh history;
    // it becomes this run's recovery file. Returns 0, kOpenCancelled, or the file result of a
    // file that cannot be read (shown to the user; nothing changed, the file stays).
    int RestoreRecovery();
    void DiscardRecovery() { recovery_.RemoveEarlier(); }
    // The delayed write: due kRecoveryDelayMs after the last change, and at the latest
    // kRecoveryMaxDelayMs after the first change not yet written. The periodic task asks every
    // 50 ms; true when it wrote.
    bool RunDueRecoveryWrite();
    bool RecoveryWritePending() const { return recoveryPending_; }
    static constexpr uint32_t kRecoveryDelayMs = 3000;
    static constexpr uint32_t kRecoveryMaxDelayMs = 30000;
    // A clean end: this run's recovery file is removed and the directory released (the
    // destructor does the same).
    void EndRecovery();
    // The program is ended from outside (SIGTERM): unsaved changes are written to the recovery
    // file now and left there for the next start, which offers them back as after a crash;
    // without unsaved changes recovery ends as at a close.
    void KeepRecoveryForNextRun();

    // ---- Backup of the radio before a clone write.

    // Reads the radio (clone read of the clone range, with the model's checks) and saves what it
    // held to backupPath; only when that file is saved is the radio written (after the question,
    // which says that the radio was only read so far). The read never touches the working
    // image. A data error ends the command before the radio is read; a failed read or save
    // ends the chain with nothing written (the clone listener gets the read's record). The
    // written message then names the backup. StartCheckedWrite with the backup path only.
    CloneStart StartBackupAndWrite(const std::string& backupPath);
    // Where CloneWrite keeps backups when the setting is on (made when missing); empty (the
    // default): CloneWrite writes without a backup.
    void SetBackupDirectory(const std::string& dir) { backupDirectory_ = dir; }
    const std::string& BackupDirectory() const { return backupDirectory_; }
    // A new file in the backup directory named after the local time, e.g.
    // "T590 backup 2024-05-31 142233.t590".
    std::string NewBackupPath() const;
    // The setting "Global/BackupBeforeWrite" (on by default).
    bool BackupBeforeWriteSetting() const;
    void SetBackupBeforeWriteSetting(bool on);
    // The last backup chain: the path and the result of saving it (0 saved, kNoBackup when the
    // read did not succeed, else the file result).
    static constexpr int kNoBackup = -1;
    const std::string& LastBackupPath() const { return lastBackupPath_; }
    int LastBackupResult() const { return lastBackupResult_; }

    // ---- The write with its reads: the radio read first (backup, preview), the question, the
    // read back after.

    // What a clone write does besides writing.
    struct WriteOptions {
        // Not empty: the radio is read first and what it held saved here; nothing is written
        // unless that file is saved.
        std::string backupPath;
        // The radio is read first and the question shows what the write changes there
        // (ConfirmWritePreview of the views); one read serves the backup too.
        bool preview = false;
        // Read and compare only, never write (a dry run): the chain ends after the read.
        bool readOnly = false;
        // After a good write the radio is read back and its clone range compared byte for byte
        // with what was written (LastWriteCheck).
        bool verify = false;
    };
    // Data with errors is refused before the radio is touched (as StartCloneWrite does). With a
    // first read the question comes after it (saying that the radio was only read so far); if
    // that read fails, nothing has been written, and with a preview the technician may still
    // write without one (asked). Without a first read the plain question comes first.
    CloneStart StartCheckedWrite(const WriteOptions& options);
    // The options of the desktop program's Clone > Write: a preview, the backup when its
    // setting is on and a backup directory is set, the read back when its setting is on.
    WriteOptions MenuWriteOptions() const;
    // What the first read found on the radio, as the sheets show it (loaded as a read loads an
    // image); empty until a first read succeeded.
    const cmcEeprom& RadioBeforeWrite() const { return radioShown_; }
    // The working image as a write leaves it in the radio, as the sheets would show it read back
    // (normalised for writing, then loaded as a read loads it).
    void ImageAsWritten(cmcEeprom& out);
    // The bytes of the clone range the write would change on the radio the first read found
    // (0: the radio already holds this data); -1 before a first read succeeded.
    int PreviewDifferingBytes();

    // The read back after the last write.
    using WriteCheck = indWriteCheck;
    const WriteCheck& LastWriteCheck() const { return writeCheck_; }
    static constexpr int kWriteCheckCells = 5;
    // The setting "Global/VerifyAfterWrite" (off by default).
    bool VerifyAfterWriteSetting() const;
    void SetVerifyAfterWriteSetting(bool on);

    // ---- The clone transfers.

    indCloneMan& CloneManager() { return manager_; }
    bool CloneBusy() const { return manager_.IsBusy(); }
    // What the radio reported at the last successful identification.
    const indRadioIdentity& RadioIdentity() const { return clone_.Identity(); }
    // Called with the record that ended each clone chain, after the session has acted on it.
    using CloneListener = void (*)(void* owner, const dst_CDrv_Result& result);
    void SetCloneListener(CloneListener listener, void* owner);
    // The record that ended the last clone chain (its image only for a successful read).
    const dst_CDrv_Result& LastClone() const { return lastClone_; }

private:
    static void OnHistoryStep(void* self);
    void AfterHistoryStep();
    bool CommitPendingStep();
    void AnnounceImageChange();
    // The status bar's text, posted so that it follows whatever the command's own steps cleared on
    // their way; alert: in the warning colours. Nothing in the command-line tool, which says it
    // its own way.
    void PostStatus(const std::string& text, bool alert);
    void FollowRecovery();
    bool WriteRecoveryNow();
    bool RefuseDataErrors();
    static void OnFirstReadDone(void* self, dst_CDrv_Result& result);
    static void OnCheckReadDone(void* self, dst_CDrv_Result& result);
    void FirstReadSucceeded(dst_CDrv_Result& result);
    void FirstReadFailed(dst_CDrv_Result& result);
    bool StartWriteNow();
    void CheckWritten(const dst_CDrv_Result& result);
    void ReportWritten();
    std::string WriteCheckText() const;
    static void OnInfoDone(void* self, dst_CDrv_Result& result);
    static void OnReadDone(void* self, dst_CDrv_Result& result);
    static void OnWriteDone(void* self, dst_CDrv_Result& result);
    static void BeforeWrite(void* self, cmcEeprom& image);
    void CloneEnded(const dst_CDrv_Result& result);
    void PreparePort();
    void SendFinishEditing();
    HostFileDialog Dialog() const;

    cuiViews noViews_;
    cuiViews* views_ = &noViews_;
    mutable cmcGTex dictionary_;  // its lookups cache, whatever the caller's constness
    cmcFCache sectionCache_{&dictionary_};
    std::string resourceDir_;
    cmcEeprom working_;
    cmcEeprom template_;
    cmcEeprom saved_;
    cmcEeprom reference_;
    cmcImageHistory history_{working_};
    std::string pendingStep_;  // the name DescribeEdit gave the edit not yet committed
    indRecovery recovery_;
    cmcTick recoveryTick_;
    cmcTick recoveryMaxTick_;
    bool recoveryPending_ = false;
    std::string backupDirectory_;
    bool ownBackupBeforeWrite_ = true;
    std::string lastBackupPath_;
    int lastBackupResult_ = kNoBackup;
    std::string writeBackup_;    // the backup the running write follows, named when it succeeds
    WriteOptions writeOptions_;  // of the running checked write
    cmcEeprom radioRaw_;         // what the first read found, as read
    cmcEeprom radioShown_;       // the same, as the sheets show it
    cmcEeprom written_;          // what the running write sends, normalised for writing
    WriteCheck writeCheck_;
    bool ownVerifyAfterWrite_ = false;
    datClipCh clipboard_;
    bool expert_ = false;
    bool generalCoverage_ = false;
    std::string markText_;
    std::string fileName_;
    std::string lastDirectory_;
    bool modified_ = false;
    cmcTick warningTick_;
    ModelProfile::WarningLists warnings_;
    cmcEnviron* environ_ = nullptr;
    cmcRecent ownRecent_;
    int ownComPort_ = 1;
    std::string portDevice_;
    cmcPathRules pathRules_ = cmcPathRules::Native();
    indCloneMan manager_;
    indCloneCommands clone_{manager_};
    dst_CDrv_Result lastClone_;
    CloneListener listener_ = nullptr;
    void* listenerOwner_ = nullptr;
};
