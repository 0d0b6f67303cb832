// The backup before a clone write: the radio is read first and what it held saved to a file,
// so that a write that turns out wrong can be taken back on the radio itself.
#include <QDateTime>
#include <QDir>
#include <QFile>

#include "memory/cmcEnviron.h"
#include "profile/FileCommands.h"
#include "session/indSession.h"
#include "session/indSessionUtil.h"

using R = dst_CDrv_Result;

bool indSession::BackupBeforeWriteSetting() const {
    return environ_ != nullptr ? environ_->backupBeforeWrite : ownBackupBeforeWrite_;
}

void indSession::SetBackupBeforeWriteSetting(bool on) {
    if (environ_ != nullptr)
        environ_->backupBeforeWrite = on;
    else
        ownBackupBeforeWrite_ = on;
}

std::string indSession::NewBackupPath() const {
    const QDir dir(QString::fromLocal8Bit(backupDirectory_.c_str()));
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HHmmss"));
    // Two writes within one second keep both backups.
    QString path = dir.filePath(QStringLiteral("T590 backup %1.t590").arg(stamp));
    for (int n = 2; QFile::exists(path); ++n)
        path = dir.filePath(QStringLiteral("T590 backup %1 (%2).t590").arg(stamp).arg(n));
    return path.toLocal8Bit().toStdString();
}

void indSession::CloneWrite() {
    if (BackupBeforeWriteSetting() && !backupDirectory_.empty()) {
        // A missing directory is made; one that cannot be made fails the backup's save, which
        // says so, and nothing is written.
        QDir().mkpath(QString::fromLocal8Bit(backupDirectory_.c_str()));
        StartBackupAndWrite(NewBackupPath());
        return;
    }
    StartCloneWrite();
}

indSession::CloneStart indSession::StartBackupAndWrite(const std::string& backupPath) {
    SendFinishEditing();
    // Data that cannot be written is refused before the radio is even read.
    if (RefuseDataErrors())
        return CloneStart::DataErrors;
    if (manager_.IsBusy())
        return CloneStart::Busy;
    lastBackupPath_ = backupPath;
    lastBackupResult_ = kNoBackup;
    PreparePort();
    if (!clone_.StartRead(working_.GetSize(), &indSession::OnBackupReadDone, this))
        return CloneStart::Refused;
    return CloneStart::Started;
}

void indSession::OnBackupReadDone(void* self, R& result) {
    auto* session = static_cast<indSession*>(self);
    // A failed read has been reported by the clone manager: without a backup nothing is written.
    if (result.operation != R::kRead || result.status != R::kOk) {
        session->CloneEnded(result);
        return;
    }
    {
        const BusyCursor busy;
        // What the radio held, as it held it (the file is replaced only once wholly written).
        session->lastBackupResult_ =
            FileCommands::SaveCloneFile(session->lastBackupPath_, result.image);
    }
    if (session->lastBackupResult_ != 0) {
        session->CloneEnded(result);  // the writer has shown why
        return;
    }
    session->writeBackup_ = session->lastBackupPath_;
    if (session->StartCloneWrite() != CloneStart::Started) {
        session->writeBackup_.clear();
        session->CloneEnded(result);
    }
}
