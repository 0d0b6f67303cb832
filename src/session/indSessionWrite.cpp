// The clone write with its reads: the radio read first (one read for the backup and the preview
// of what the write changes), the question, the write, and the read back that proves what the
// radio holds afterwards.
#include <QDir>
#include <cstdio>

#include "memory/MemoryMap.h"
#include "memory/cmcEnviron.h"
#include "profile/FileCommands.h"
#include "session/indSession.h"
#include "session/indSessionUtil.h"
#include "session/indWriteCheck.h"
#include "text/cmcTextFormat.h"
#include "text/cmcTextUtil.h"

using R = dst_CDrv_Result;

namespace {

std::string Hex(int address) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", address);
    return text;
}

}  // namespace

bool indSession::VerifyAfterWriteSetting() const {
    return environ_ != nullptr ? environ_->verifyAfterWrite : ownVerifyAfterWrite_;
}

void indSession::SetVerifyAfterWriteSetting(bool on) {
    if (environ_ != nullptr)
        environ_->verifyAfterWrite = on;
    else
        ownVerifyAfterWrite_ = on;
}

indSession::WriteOptions indSession::MenuWriteOptions() const {
    WriteOptions options;
    options.preview = true;
    options.verify = VerifyAfterWriteSetting();
    if (BackupBeforeWriteSetting() && !backupDirectory_.empty()) {
        // A missing directory is made; one that cannot be made fails the backup's save, which
        // says so, and nothing is written.
        QDir().mkpath(QString::fromLocal8Bit(backupDirectory_.c_str()));
        options.backupPath = NewBackupPath();
    }
    return options;
}

void indSession::ImageAsWritten(cmcEeprom& out) {
    out.CopyFrom(working_);
    NormalizeImage(out, true);
    ImageLoaded(out);
}

int indSession::PreviewDifferingBytes() {
    if (radioRaw_.GetSize() == 0)
        return -1;
    cmcEeprom next;
    next.CopyFrom(working_);
    NormalizeImage(next, true);
    return indWriteCheck::DifferingBytes(radioRaw_, next);
}

indSession::CloneStart indSession::StartCheckedWrite(const WriteOptions& options) {
    SendFinishEditing();
    // Data that cannot be written is refused before the radio is even read.
    if (RefuseDataErrors())
        return CloneStart::DataErrors;
    if (manager_.IsBusy())
        return CloneStart::Busy;
    writeOptions_ = options;
    writeCheck_ = WriteCheck();
    radioRaw_.SetSize(0);
    radioShown_.SetSize(0);
    lastBackupPath_ = options.backupPath;
    lastBackupResult_ = kNoBackup;
    const bool readFirst = options.preview || options.readOnly || !options.backupPath.empty();
    if (!readFirst) {
        const HostAnswer answer =
            cmcHost::Instance().MessageBox(dictionary_.Text("GI_Sys_AppTitle"),
                                           ReadTextBlock(dictionary_, "GI_Mess_Confirm_CloneWrite"),
                                           HostIcon::Warning, HostButtons::OkCancel);
        if (answer != HostAnswer::Ok)
            return CloneStart::Cancelled;
        return StartWriteNow() ? CloneStart::Started : CloneStart::Refused;
    }
    PreparePort();
    manager_.SetReadBeforeWrite(true);
    if (!clone_.StartRead(working_.GetSize(), &indSession::OnFirstReadDone, this)) {
        manager_.SetReadBeforeWrite(false);
        return CloneStart::Refused;
    }
    return CloneStart::Started;
}

bool indSession::StartWriteNow() {
    PreparePort();
    return clone_.StartWrite(working_, &indSession::BeforeWrite, &indSession::OnWriteDone, this);
}

void indSession::OnFirstReadDone(void* self, R& result) {
    auto* session = static_cast<indSession*>(self);
    session->manager_.SetReadBeforeWrite(false);
    if (result.operation == R::kRead && result.status == R::kOk)
        session->FirstReadSucceeded(result);
    else
        session->FirstReadFailed(result);
}

void indSession::FirstReadFailed(R& result) {
    // The clone manager has said why, and that nothing was written. Only a preview may be done
    // without; a backup that could not be made stops the write.
    const WriteOptions& o = writeOptions_;
    if (!o.preview || o.readOnly || !o.backupPath.empty()) {
        CloneEnded(result);
        return;
    }
    const HostAnswer answer = cmcHost::Instance().MessageBox(
        dictionary_.Text("GI_Sys_AppTitle"),
        ReadTextBlock(dictionary_, "GI_Mess_Confirm_WriteWithoutPreview"), HostIcon::Warning,
        HostButtons::OkCancel);
    if (answer != HostAnswer::Ok || !StartWriteNow())
        CloneEnded(result);
}

void indSession::FirstReadSucceeded(R& result) {
    radioRaw_.CopyFrom(result.image);
    radioShown_.CopyFrom(result.image);
    ImageLoaded(radioShown_);
    if (!writeOptions_.backupPath.empty()) {
        {
            const BusyCursor busy;
            // What the radio held, as it held it (the file is replaced only once wholly written).
            lastBackupResult_ = FileCommands::SaveCloneFile(lastBackupPath_, result.image);
        }
        if (lastBackupResult_ != 0) {
            // The file's writer has shown why the backup failed; the technician is also told
            // that the radio was not touched, so the failure is not taken for a partial write.
            PostStatus(dictionary_.Text("GI_Mess_CloneErr_NothingWritten"), true);
            CloneEnded(result);
            return;
        }
    }
    if (writeOptions_.readOnly) {
        CloneEnded(result);
        return;
    }
    cmcEeprom next;
    ImageAsWritten(next);
    int answer = views_->ConfirmWritePreview(radioShown_, next);
    if (answer == cuiViews::kPreviewNotShown) {
        std::string text = ReadTextBlock(dictionary_, "GI_Mess_Confirm_PreviewWrite");
        if (PreviewDifferingBytes() == 0)
            text = dictionary_.Text("GI_Mess_Preview_Same") + "\n\n" + text;
        answer = cmcHost::Instance().MessageBox(dictionary_.Text("GI_Sys_AppTitle"), text,
                                                HostIcon::Warning,
                                                HostButtons::OkCancel) == HostAnswer::Ok
                     ? cuiViews::kPreviewWrite
                     : cuiViews::kPreviewCancel;
    }
    if (answer != cuiViews::kPreviewWrite) {
        CloneEnded(result);  // the radio stays as the read found it
        return;
    }
    if (!lastBackupPath_.empty())
        writeBackup_ = lastBackupPath_;
    if (!StartWriteNow()) {
        writeBackup_.clear();
        CloneEnded(result);
    }
}

// ---- After the write.

void indSession::ReportWritten() {
    std::string text = ReadTextBlock(dictionary_, "GI_Mess_CloneWrite_Succeeded");
    const std::string check = WriteCheckText();
    if (!check.empty())
        text += "\n\n" + check;
    // Where the radio's former memory is, so that the write can be taken back.
    if (!writeBackup_.empty())
        text += "\n\n" + WithFileName(dictionary_.Text("GI_Mess_CloneWrite_Backup"), writeBackup_);
    const bool failed = writeCheck_.outcome == WriteCheck::Outcome::Differs ||
                        writeCheck_.outcome == WriteCheck::Outcome::ReadFailed;
    cmcHost::Instance().MessageBox(dictionary_.Text("GI_Sys_AppTitle"), text,
                                   failed ? HostIcon::Error : HostIcon::Information,
                                   HostButtons::Ok);
    if (!failed)
        Announce(kDoneWrite, {GroupedNumber(MemoryMap::kCloneLength), PortName()});
}

void indSession::OnCheckReadDone(void* self, R& result) {
    auto* session = static_cast<indSession*>(self);
    session->CheckWritten(result);
    session->ReportWritten();
    session->writeBackup_.clear();
    // The chain ends with the write's own success; the check's outcome is LastWriteCheck.
    R written;
    written.operation = R::kWrite;
    written.status = R::kOk;
    session->CloneEnded(written);
}

void indSession::CheckWritten(const R& result) {
    cmcEeprom expected;
    writeCheck_ = indWriteCheck::Judge(result, written_, radioRaw_, &expected);
    if (writeCheck_.outcome != WriteCheck::Outcome::Differs)
        return;
    // The cells that show the difference, for the message.
    cmcEeprom shownExpected, shownBack;
    shownExpected.CopyFrom(expected);
    ImageLoaded(shownExpected);
    shownBack.CopyFrom(result.image);
    ImageLoaded(shownBack);
    writeCheck_.cells =
        views_->DifferingCells(shownExpected, shownBack, kWriteCheckCells, &writeCheck_.cellCount);
}

std::string indSession::WriteCheckText() const {
    const WriteCheck& check = writeCheck_;
    std::string text;
    switch (check.outcome) {
        case WriteCheck::Outcome::NotRun:
            return std::string();
        case WriteCheck::Outcome::Matched:
            text = dictionary_.Text("GI_Mess_WriteCheck_Matched");
            break;
        case WriteCheck::Outcome::ReadFailed:
            text = ReadTextBlock(dictionary_, "GI_Mess_WriteCheck_ReadFailed");
            break;
        case WriteCheck::Outcome::Differs: {
            text = FormatText(dictionary_.Line("GI_Mess_WriteCheck_Differs", 0),
                              {std::to_string(check.differingBytes)});
            if (!check.cells.empty()) {
                text += "\n" + dictionary_.Line("GI_Mess_WriteCheck_Differs", 1);
                for (const std::string& cell : check.cells)
                    text += "\n" + cell;
                if (check.cellCount > static_cast<int>(check.cells.size()))
                    text += "\n...";
            } else {
                // No sheet shows them: the address tells a technician where to look.
                text += "\n" + FormatText(dictionary_.Line("GI_Mess_WriteCheck_Differs", 2),
                                          {Hex(check.firstDifference)});
            }
            text += "\n" + dictionary_.Line("GI_Mess_WriteCheck_Differs", 3);
            break;
        }
    }
    if (check.identityKept)
        text += "\n" + dictionary_.Text("GI_Mess_WriteCheck_IdentityKept");
    return text;
}
