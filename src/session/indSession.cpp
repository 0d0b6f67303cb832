#include "session/indSession.h"

#include <QDir>

#include <algorithm>

#include "cells/cmcTreeBody.h"
#include "events/cmcEvMan.h"
#include "memory/MemoryMap.h"
#include "memory/cmcEnviron.h"
#include "platform/cmcHost.h"
#include "profile/FileCommands.h"
#include "session/indSessionUtil.h"
#include "text/cmcTextUtil.h"

using R = dst_CDrv_Result;

indSession::indSession() : ownRecent_(cmcEnviron::kRecentCapacity) {
    working_.SetSize(MemoryMap::kImageSize);
    template_.CopyFrom(working_);
    lastDirectory_ = QDir::toNativeSeparators(QDir::currentPath()).toLocal8Bit().toStdString();
    // The behaviours below the cells read the main dictionary; it is this session's.
    cmcGTex::SetMain(&dictionary_);
    clone_.InstallHooks();
    history_.Clear();
    history_.SetAppliedHandler(&indSession::OnHistoryStep, this);
}

indSession::~indSession() {
    EndRecovery();
    if (cmcGTex::Main() == &dictionary_)
        cmcGTex::SetMain(nullptr);
}

void indSession::SetViews(cuiViews* views) {
    views_ = views != nullptr ? views : &noViews_;
}

cuiMainCore indSession::Core() {
    return cuiMainCore{*this, *views_, *this};
}

void indSession::SetResourceDir(const std::string& dir) {
    resourceDir_ = dir;
    dictionary_.SetFile(ResourceFilePath());
}

std::string indSession::ResourceFilePath() const {
    return resourceDir_ + ModelProfile::kResourceModel + ".OVL";
}

void indSession::LoadTemplate() {
    FileCommands::LoadTemplate(resourceDir_, template_);
    ImageLoaded(template_);
    working_.CopyFrom(template_);
    history_.Clear();
    MarkSaved();
    views_->CloseSheet();
    reference_.CopyFrom(template_);
}

void indSession::ReadCommandLine(const std::vector<std::string>& arguments) {
    const ModelProfile::CommandLineModes modes =
        ModelProfile::ReadCommandLine(arguments, dictionary_);
    expert_ = modes.expert;
    generalCoverage_ = modes.generalCoverage;
    markText_ = modes.markText;
}

void indSession::SetModes(bool expert, bool generalCoverage) {
    expert_ = expert;
    generalCoverage_ = generalCoverage;
}

void indSession::SetEnvironment(cmcEnviron* environ) {
    environ_ = environ;
}

// ---- The document.

void indSession::ScheduleWarningCheck() {
    warningTick_.Start(kWarningCheckDelayMs);
}

bool indSession::CheckModified() {
    const bool stepped = CommitPendingStep();
    const bool was = modified_;
    if (!modified_ && working_.IsDifferent(saved_)) {
        modified_ = true;
        UpdateTitle();
    }
    if (stepped || modified_ != was)
        FollowRecovery();
    return modified_;
}

void indSession::MarkSaved() {
    saved_.CopyFrom(working_);
    modified_ = false;
    UpdateTitle();
    FollowRecovery();
}

void indSession::MarkModified() {
    modified_ = true;
    UpdateTitle();
    FollowRecovery();
}

void indSession::SetFileName(const std::string& path) {
    fileName_ = path;
    UpdateTitle();
    // The recovery file names the file too.
    if (modified_)
        FollowRecovery();
}

std::string indSession::CurrentFileName() const {
    if (!fileName_.empty())
        return fileName_;
    std::string dir = lastDirectory_;
    if (dir.empty() || std::string(pathRules_.separators).find(dir.back()) == std::string::npos)
        dir += QDir::separator().toLatin1();
    return dir + "Untitled";
}

std::string indSession::Title() const {
    return cmcPathFileName(CurrentFileName(), pathRules_) + " - " +
           dictionary_.Text("GI_Sys_AppTitle");
}

std::string indSession::WindowTitle() const {
    return cmcPathFileName(CurrentFileName(), pathRules_) + "[*] - " +
           dictionary_.Text("GI_Sys_AppTitle");
}

void indSession::UpdateTitle() {
    // Before the resource file is known there is no title to show.
    if (resourceDir_.empty())
        return;
    views_->UpdateTitle(Title());
}

int indSession::CheckImage(const cmcEeprom& image, bool strict) const {
    return ModelProfile::CheckImage(image, strict);
}

void indSession::ImageLoaded(cmcEeprom& image) {
    NormalizeImage(image, false);
}

void indSession::NormalizeImage(cmcEeprom& image, bool forWriting) {
    const bool working = &image == &working_;
    if (working)
        CommitPendingStep();  // the user's edits stay steps of their own
    ModelProfile::NormalizeImage(Core(), image, template_, forWriting);
    // Normalising is the program's own rewrite, not an edit to be undone on its own.
    if (working)
        history_.AbsorbRewrite();
}

// ---- The warning check.

void indSession::RunWarningCheck(int* errors, int* notices) {
    warnings_ = ModelProfile::RunWarningCheck(Core());
    if (errors != nullptr)
        *errors = static_cast<int>(warnings_.errors.size());
    if (notices != nullptr)
        *notices = static_cast<int>(warnings_.notices.size());
    if (warnings_.marksTree)
        views_->ShowWarningMarks(warnings_.errors, warnings_.notices);
}

bool indSession::RunDueWarningCheck() {
    if (!warningTick_.IsRunning() || warningTick_.Remaining() != 0)
        return false;
    RunWarningCheck();
    return true;
}

std::vector<indSession::SheetMark> indSession::SheetMarks() const {
    std::vector<SheetMark> marks;
    cmcTreeBody tree;
    tree.Read(dictionary_, "GI_Tree_Main");
    auto listed = [](const std::vector<std::string>& list, const std::string& sheet) {
        return std::find(list.begin(), list.end(), sheet) != list.end();
    };
    for (const cmcTreeBody::Node& node : tree.Nodes()) {
        const std::string sheet = node.SheetReference();
        if (sheet.empty())
            continue;
        marks.push_back({node.Caption(), sheet, listed(warnings_.errors, sheet),
                         listed(warnings_.notices, sheet)});
    }
    return marks;
}

// ---- The file commands.

void indSession::Announce(DoneLine line, const std::vector<std::string>& texts) {
    PostStatus(FillPlaceholders(dictionary_.Line("GI_AppMess_Done", line), texts), false);
}

void indSession::PostStatus(const std::string& text, bool alert) {
    cmcEvMan* events = cmcEvMan::Global();
    if (events == nullptr)
        return;
    events->PostEventText(cmcEvKind::StatusMessage, alert ? kStatusTextAlert : kStatusTextNormal,
                          static_cast<int32_t>(alert ? kStatusBackAlert : kStatusBackNormal),
                          text.c_str());
}

std::string indSession::PortName() const {
    return portDevice_.empty() ? "COM" + std::to_string(ComPortSetting()) : portDevice_;
}

void indSession::SendFinishEditing() {
    // An open in-place editor commits its value first, so that it is compared and written too.
    if (cmcEvMan* events = cmcEvMan::Global())
        events->SendEvent(cmcEvKind::FinishEditing);
}

HostFileDialog indSession::Dialog() const {
    HostFileDialog dialog;
    dialog.defaultExtension = dictionary_.Line("GI_Sys_Dialog_FOpen", 0);
    dialog.filter = dictionary_.Line("GI_Sys_Dialog_FOpen", 1);
    dialog.initialDir = lastDirectory_;
    return dialog;
}

int indSession::ConfirmDiscard(bool another) {
    SendFinishEditing();
    // Data never saved has no file to name: the question is whether to save it at all.
    std::string question;
    if (another)
        question = dictionary_.Text("GI_Mess_Confirm_WriteAnother");
    else if (IsUntitled())
        question = dictionary_.Text("GI_Mess_Confirm_SaveChanges");
    else
        question = WithFileName(dictionary_.Text("GI_Mess_Confirm_WriteFile"),
                                cmcPathFileName(CurrentFileName(), pathRules_));
    if (!modified_)
        return kAnswerYes;
    const HostAnswer answer = cmcHost::Instance().MessageBox(
        dictionary_.Text("GI_Sys_AppTitle"), question, HostIcon::Warning, HostButtons::YesNoCancel);
    if (answer == HostAnswer::Yes) {
        const int saved = (IsUntitled() || another) ? FileSaveAs() : SaveFile(fileName_);
        return saved == 0 ? kAnswerYes : kAnswerCancel;
    }
    return answer == HostAnswer::No ? kAnswerNo : kAnswerCancel;
}

bool indSession::FileNew() {
    if (ConfirmDiscard(false) == kAnswerCancel)
        return false;
    working_.CopyFrom(template_);
    history_.Clear();
    MarkSaved();
    SetFileName(std::string());
    views_->CloseSheet();
    return true;
}

bool indSession::FileOpen() {
    SendFinishEditing();
    std::string path;
    if (!cmcHost::Instance().AskOpenFileName(Dialog(), &path))
        return false;
    return OpenFile(path) == 0;
}

int indSession::OpenFile(const std::string& path) {
    const bool another = cmcSamePath(path, CurrentFileName(), pathRules_);
    if (ConfirmDiscard(another) == kAnswerCancel)
        return kOpenCancelled;
    const BusyCursor busy;
    cmcEeprom scratch;
    const int result = FileCommands::OpenCloneFile(path, scratch);
    if (result != 0)
        return result;  // shown to the user; the working image is untouched
    lastDirectory_ = DirectoryOf(path, pathRules_);
    SetFileName(path);
    RecentFiles().AddFirst(path);
    working_.CopyFrom(scratch);
    history_.Clear();
    ImageLoaded(working_);
    MarkSaved();
    views_->CloseSheet();
    return 0;
}

int indSession::ReadImageFile(const std::string& path, cmcEeprom& image) {
    const BusyCursor busy;
    const int result = FileCommands::OpenCloneFile(path, image);
    if (result == 0)
        ImageLoaded(image);
    return result;
}

void indSession::FileSave() {
    if (IsUntitled())
        FileSaveAs();
    else
        SaveFile(fileName_);
}

int indSession::FileSaveAs() {
    HostFileDialog dialog = Dialog();
    dialog.presetName = cmcPathFileName(CurrentFileName(), pathRules_);
    std::string path;
    if (!cmcHost::Instance().AskSaveFileName(dialog, &path))
        return 1;
    return SaveFile(path) == 0 ? 0 : 1;
}

int indSession::SaveFile(const std::string& path) {
    SendFinishEditing();
    NormalizeImage(working_, true);
    const BusyCursor busy;
    const int result = FileCommands::SaveCloneFile(path, working_);
    if (result != 0)
        return result;  // the writer has shown it; name and modified flag stay as they were
    lastDirectory_ = DirectoryOf(path, pathRules_);
    SetFileName(path);
    RecentFiles().AddFirst(path);
    MarkSaved();
    Announce(kDoneSave, {cmcPathFileName(path, pathRules_)});
    return 0;
}

cmcRecent& indSession::RecentFiles() {
    return environ_ != nullptr ? environ_->recent : ownRecent_;
}

std::string indSession::RecentFileText(int n, bool fullPath) const {
    cmcRecent& recent = const_cast<indSession*>(this)->RecentFiles();
    // Files of the current file's directory show by name only.
    return recent.EntryText(
        n, fullPath ? std::string() : cmcPathDirectory(CurrentFileName(), pathRules_));
}

int indSession::ComPortSetting() const {
    return environ_ != nullptr ? environ_->comPort : ownComPort_;
}

void indSession::SetComPortSetting(int port) {
    if (environ_ != nullptr)
        environ_->comPort = port;
    else
        ownComPort_ = port;
}

// ---- The clone commands.

void indSession::SetCloneListener(CloneListener listener, void* owner) {
    listener_ = listener;
    listenerOwner_ = owner;
}

void indSession::PreparePort() {
    // The port setting is read at every start: the Port menu may have changed it since.
    manager_.SetPort(ComPortSetting());
    manager_.SetPortDevice(portDevice_);
}

indSession::CloneStart indSession::StartCloneRead() {
    if (ConfirmDiscard(false) == kAnswerCancel)
        return CloneStart::Cancelled;
    if (manager_.IsBusy())
        return CloneStart::Busy;
    PreparePort();
    if (!clone_.StartRead(working_.GetSize(), &indSession::OnReadDone, this))
        return CloneStart::Refused;
    return CloneStart::Started;
}

bool indSession::RefuseDataErrors() {
    int errors = 0;
    int notices = 0;
    RunWarningCheck(&errors, &notices);
    if (errors == 0)
        return false;
    cmcHost::Instance().MessageBox(dictionary_.Text("GI_Sys_AppTitle"),
                                   ReadTextBlock(dictionary_, "GI_Mess_DataError"), HostIcon::Error,
                                   HostButtons::Ok);
    return true;
}

indSession::CloneStart indSession::StartCloneWrite() {
    return StartCheckedWrite(WriteOptions());
}

indSession::CloneStart indSession::StartCloneInfo() {
    if (manager_.IsBusy())
        return CloneStart::Busy;
    PreparePort();
    if (!clone_.StartInfo(&indSession::OnInfoDone, this))
        return CloneStart::Refused;
    return CloneStart::Started;
}

void indSession::BeforeWrite(void* self, cmcEeprom& image) {
    auto* session = static_cast<indSession*>(self);
    // Normalising alone never marks an image modified: one without unsaved changes stays so.
    const bool modified = session->CheckModified();
    session->NormalizeImage(image, true);
    if (!modified)
        session->MarkSaved();
    session->written_.CopyFrom(image);  // what the radio should hold afterwards
}

void indSession::OnInfoDone(void* self, R& result) {
    auto* session = static_cast<indSession*>(self);
    if (result.operation == R::kInfo && result.status == R::kOk)
        session->views_->ShowCloneInformation();
    session->CloneEnded(result);
}

void indSession::OnReadDone(void* self, R& result) {
    auto* session = static_cast<indSession*>(self);
    if (result.operation == R::kRead && result.status == R::kOk) {
        session->working_.CopyFrom(result.image);
        session->history_.Clear();
        session->ImageLoaded(session->working_);
        // A freshly read image counts as unsaved, and has no file yet.
        session->MarkModified();
        session->SetFileName(std::string());
        session->views_->CloseSheet();
        session->Announce(kDoneRead, {GroupedNumber(MemoryMap::kCloneLength), session->PortName()});
    }
    session->CloneEnded(result);
}

void indSession::OnWriteDone(void* self, R& result) {
    auto* session = static_cast<indSession*>(self);
    if (result.operation == R::kWrite && result.status == R::kOk) {
        session->views_->CloseSheet();
        // The read back reports the write with its own outcome.
        if (session->writeOptions_.verify &&
            session->clone_.StartRead(session->working_.GetSize(), &indSession::OnCheckReadDone,
                                      session))
            return;
        session->ReportWritten();
    }
    session->writeBackup_.clear();
    session->CloneEnded(result);
}

void indSession::CloneEnded(const R& result) {
    lastClone_.operation = result.operation;
    lastClone_.status = result.status;
    lastClone_.modelCode = result.modelCode;
    lastClone_.extraCode = result.extraCode;
    lastClone_.infoBytes = result.infoBytes;
    lastClone_.portError = result.portError;
    lastClone_.portGroup = result.portGroup;
    if (result.operation == R::kRead && result.status == R::kOk)
        lastClone_.image.CopyFrom(result.image);
    if (listener_ != nullptr)
        listener_(listenerOwner_, lastClone_);
}
