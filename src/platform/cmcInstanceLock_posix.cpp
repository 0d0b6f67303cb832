#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include "platform/cmcInstanceLock.h"
#include "platform/cmcLockFile.h"

struct cmcInstanceLock::Impl {
    explicit Impl(const QString& path) : file(path) {}
    QLockFile file;
};

namespace {

QString LockDirectory(const std::string& directory) {
    if (!directory.empty())
        return QString::fromLocal8Bit(directory);
    // Per user, as the named mutex is per session: in a directory shared between users, one
    // user's running instance would keep every other user's from starting.
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir;
}

// The mutex name made into a file name: path separators would name other directories.
QString LockFileName(const std::string& name) {
    QString n = QString::fromLocal8Bit(name);
    n.replace(QLatin1Char('/'), QLatin1Char('_'));
    n.replace(QLatin1Char('\\'), QLatin1Char('_'));
    return n + QStringLiteral(".lock");
}

}  // namespace

cmcInstanceLock::cmcInstanceLock(const std::string& name, const std::string& directory) {
    const QString path = QDir(LockDirectory(directory)).filePath(LockFileName(name));
    path_ = path.toLocal8Bit().toStdString();
    impl_ = std::make_unique<Impl>(path);
    // Age alone never makes the lock stale: the first instance holds it for days. A lock whose
    // holder process is gone is still taken over.
    impl_->file.setStaleLockTime(0);
    if (cmcTryLockFile(impl_->file)) {
        state_ = State::First;
    } else if (impl_->file.error() == QLockFile::LockFailedError) {
        state_ = State::Other;
    } else {
        state_ = State::Unavailable;
    }
}

cmcInstanceLock::~cmcInstanceLock() {
    if (state_ == State::First)
        cmcUnlockFile(impl_->file);
}
