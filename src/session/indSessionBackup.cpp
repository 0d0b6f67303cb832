// The backup before a clone write: the radio is read first and what it held saved to a file,
// so that a write that turns out wrong can be taken back on the radio itself.
#include <QDateTime>
#include <QDir>
#include <QFile>

#include "memory/cmcEnviron.h"
#include "session/indSession.h"

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
    StartCheckedWrite(MenuWriteOptions());
}

indSession::CloneStart indSession::StartBackupAndWrite(const std::string& backupPath) {
    WriteOptions options;
    options.backupPath = backupPath;
    return StartCheckedWrite(options);
}
