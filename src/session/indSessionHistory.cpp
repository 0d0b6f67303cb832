// The session's safety nets for the working image: the undo history (one step per committed
// change) and the recovery file of unsaved changes.
#include "cells/cmcCellCapsule.h"
#include "events/cmcEvMan.h"
#include "memory/cmcCloneFile.h"
#include "session/indSession.h"
#include "session/indSessionUtil.h"
#include "text/cmcTextFormat.h"

namespace {

constexpr const char* kUndoStepsKey = "GI_AppMess_UndoSteps";
constexpr int kUndoLine = 0;
constexpr int kRedoLine = 1;
constexpr int kPlaceLine = 2;
constexpr int kFirstStepLine = 3;

// What an edit was, from the request that made it.
indSession::UndoStep StepOf(const cmcCellCapsule& capsule) {
    using S = indSession::UndoStep;
    switch (capsule.command) {
        case CL_PMenu_Paste:
            return S::Paste;
        case CL_PMenu_CarryUp:
            return S::MoveUp;
        case CL_PMenu_CarryDown:
            return S::MoveDown;
        case CL_PMenu_Clear:
            return S::Clear;
        case CL_PMenu_Delete:
            return S::Delete;
        case CL_PMenu_Insert:
            return S::Insert;
        default:
            break;
    }
    if (capsule.inputKind == kInputText)
        return S::Typing;
    // A choice list answers with its chosen entry, the bit-field editor with a value only.
    if (capsule.inputKind == kInputChoice)
        return capsule.parent != nullptr ? S::Choice : S::BitEdit;
    return S::Change;
}

}  // namespace

// ---- Undo and redo.

std::string indSession::UndoStepName(UndoStep step, const std::string& place) const {
    // Without the resource file there are no texts (and no menu to show them).
    if (resourceDir_.empty())
        return std::string();
    const std::string name = dictionary_.Line(kUndoStepsKey, kFirstStepLine + int(step));
    if (place.empty())
        return name;
    return FormatText(dictionary_.Line(kUndoStepsKey, kPlaceLine), {name, place});
}

std::string indSession::UndoText() const {
    if (!history_.CanUndo() || resourceDir_.empty())
        return std::string();
    return FormatText(dictionary_.Line(kUndoStepsKey, kUndoLine), {history_.UndoName()});
}

std::string indSession::RedoText() const {
    if (!history_.CanRedo() || resourceDir_.empty())
        return std::string();
    return FormatText(dictionary_.Line(kUndoStepsKey, kRedoLine), {history_.RedoName()});
}

void indSession::DescribeEdit(const cmcCellCapsule& capsule) {
    // Only an edit that changed something becomes a step; the others need no name.
    if (history_.HasUncommitted())
        pendingStep_ = UndoStepName(StepOf(capsule), views_->EditPlace(capsule));
}

bool indSession::CommitPendingStep() {
    if (!history_.HasUncommitted()) {
        pendingStep_.clear();
        return false;
    }
    // A change no cell described (none should be left) is still a step of its own.
    const std::string name =
        pendingStep_.empty() ? UndoStepName(UndoStep::Change, std::string()) : pendingStep_;
    pendingStep_.clear();
    return history_.Commit(name);
}

bool indSession::CommitChange(UndoStep step, const std::string& place) {
    if (!history_.HasUncommitted())
        return false;
    pendingStep_ = UndoStepName(step, place);
    ScheduleWarningCheck();
    CheckModified();
    return true;
}

bool indSession::Undo() {
    if (manager_.IsBusy())
        return false;
    SendFinishEditing();
    // What is not yet a step becomes one, so that Undo takes back exactly the latest change.
    CheckModified();
    return history_.Undo();
}

bool indSession::Redo() {
    if (manager_.IsBusy())
        return false;
    SendFinishEditing();
    // An edit made since the undo is the newest step: nothing is left to redo after it.
    CheckModified();
    return history_.Redo();
}

void indSession::OnHistoryStep(void* self) {
    static_cast<indSession*>(self)->AfterHistoryStep();
}

void indSession::AfterHistoryStep() {
    pendingStep_.clear();
    // Undo may lead back to the saved image, or away from it.
    modified_ = working_.IsDifferent(saved_);
    UpdateTitle();
    ScheduleWarningCheck();
    AnnounceImageChange();
    FollowRecovery();
}

void indSession::AnnounceImageChange() {
    if (cmcEvMan* events = cmcEvMan::Global()) {
        events->PostEvent(cmcEvKind::RepaintAll, 0, 0);
        events->PostEvent(cmcEvKind::MemoryDebugRefresh, 0, 0);
    }
    views_->WorkingImageChanged();
}

// ---- Recovery.

bool indSession::EnableRecovery(const std::string& dir) {
    if (!recovery_.Claim(dir))
        return false;
    FollowRecovery();
    return true;
}

void indSession::EndRecovery() {
    recovery_.Remove();
    recovery_.Release();
    recoveryPending_ = false;
}

void indSession::KeepRecoveryForNextRun() {
    if (!modified_) {
        EndRecovery();
        return;
    }
    // Not written: an older copy stays, better than none.
    WriteRecoveryNow();
    recovery_.Release();
    recoveryPending_ = false;
}

void indSession::FollowRecovery() {
    if (!recovery_.IsActive())
        return;
    if (!modified_) {
        // Saved, or its changes discarded: nothing is left to recover.
        recovery_.Remove();
        recoveryPending_ = false;
        return;
    }
    recoveryTick_.Start(kRecoveryDelayMs);
    if (!recoveryPending_) {
        recoveryPending_ = true;
        recoveryMaxTick_.Start(kRecoveryMaxDelayMs);
    }
}

bool indSession::RunDueRecoveryWrite() {
    if (!recoveryPending_)
        return false;
    // Remaining() is 0 once a countdown has run out.
    if (recoveryTick_.Remaining() != 0 && recoveryMaxTick_.Remaining() != 0)
        return false;
    return WriteRecoveryNow();
}

bool indSession::WriteRecoveryNow() {
    recoveryPending_ = false;
    if (!recovery_.IsActive() || !modified_)
        return false;
    // Written as Save would write it, so that restoring it is opening it: bytes beyond the clone
    // range (the DSC pairs' use values) reach the file through the normalisation for writing.
    cmcEeprom copy;
    copy.CopyFrom(working_);
    NormalizeImage(copy, true);
    if (recovery_.Write(copy, fileName_))
        return true;
    // A full or vanished disk may come back: try again later, without bothering the user.
    recoveryPending_ = true;
    recoveryTick_.Start(kRecoveryDelayMs);
    recoveryMaxTick_.Start(kRecoveryMaxDelayMs);
    return false;
}

int indSession::RestoreRecovery() {
    if (!recovery_.HasEarlier())
        return cmcCloneFile::FileOpen;
    if (ConfirmDiscard(false) == kAnswerCancel)
        return kOpenCancelled;
    const BusyCursor busy;
    cmcEeprom scratch;
    std::string name;
    const int result = recovery_.ReadEarlier(scratch, &name);
    if (result != 0)
        return result;  // shown to the user; the working image is untouched
    // As the file was written: opened like any saved file.
    working_.CopyFrom(scratch);
    history_.Clear();
    pendingStep_.clear();
    ImageLoaded(working_);
    // Nothing of the restored image is saved: it stays modified until it is.
    saved_.SetSize(0);
    if (!name.empty())
        lastDirectory_ = DirectoryOf(name, pathRules_);
    SetFileName(name);
    MarkModified();
    // This run's own copy first; only then may the earlier one go.
    if (WriteRecoveryNow())
        recovery_.RemoveEarlier();
    ScheduleWarningCheck();
    views_->CloseSheet();
    AnnounceImageChange();
    return 0;
}
