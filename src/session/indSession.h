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
#include "text/cmcGTex.h"

class cmcEnviron;

// The main controller without views, shared by the desktop program and the command-line tool:
// the dictionary and the section cache, the four images (working, template, saved, reference),
// the file name, the last directory, the modified flag, the clipboard, the clone manager with
// the model's hooks, the modes, the warning check, and every file and clone command with its
// questions. Questions, file dialogs and messages go through the host; what a command asks of a
// view goes through the views it is given (none: nothing happens). The session is the document
// and the commands of the core's roles; the views are the front end's.
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
    bool CheckModified() override;
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
    std::string CurrentFileName() const override;
    std::string RecentFileText(int n, bool fullPath) const override;
    cmcRecent& RecentFiles();

    void CloneRead() override { StartCloneRead(); }
    void CloneWrite() override { StartCloneWrite(); }
    void CloneInformation() override { StartCloneInfo(); }
    CloneStart StartCloneRead();
    CloneStart StartCloneWrite();
    CloneStart StartCloneInfo();
    int ComPortSetting() const override;
    void SetComPortSetting(int port) override;

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
    static void OnInfoDone(void* self, dst_CDrv_Result& result);
    static void OnReadDone(void* self, dst_CDrv_Result& result);
    static void OnWriteDone(void* self, dst_CDrv_Result& result);
    static void BeforeWrite(void* self, cmcEeprom& image);
    void CloneEnded(const dst_CDrv_Result& result);
    void PreparePort();
    void SendFinishEditing();
    HostFileDialog Dialog() const;
    void ShowMessage(const char* key, HostIcon icon);

    cuiViews noViews_;
    cuiViews* views_ = &noViews_;
    mutable cmcGTex dictionary_;  // its lookups cache, whatever the caller's constness
    cmcFCache sectionCache_{&dictionary_};
    std::string resourceDir_;
    cmcEeprom working_;
    cmcEeprom template_;
    cmcEeprom saved_;
    cmcEeprom reference_;
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
