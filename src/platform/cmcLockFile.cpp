#include "platform/cmcLockFile.h"

#include <QCoreApplication>
#include <QLockFile>
#include <QMutex>
#include <QSet>
#include <QSysInfo>

namespace {

// The lock files this process holds through cmcTryLockFile.
QMutex heldMutex;
QSet<QString> held;

QString Key(const QLockFile& lock) {
    return lock.fileName();
}

}  // namespace

bool cmcTryLockFile(QLockFile& lock) {
    const QString key = Key(lock);
    bool locked = lock.tryLock(0);
    bool ours = false;  // held by another part of this process
    {
        QMutexLocker guard(&heldMutex);
        ours = held.contains(key);
    }
    if (!locked && !ours && lock.error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString hostName;
        QString appName;
        // Our own process number on this machine, in a lock none of our parts holds: an
        // earlier run's, whose number we were given again. The file's native lock still keeps
        // a live holder's file from being removed.
        if (lock.getLockInfo(&pid, &hostName, &appName) &&
            pid == QCoreApplication::applicationPid() &&
            (hostName.isEmpty() || hostName == QSysInfo::machineHostName()) &&
            lock.removeStaleLockFile())
            locked = lock.tryLock(0);
    }
    if (locked) {
        QMutexLocker guard(&heldMutex);
        held.insert(key);
    }
    return locked;
}

void cmcUnlockFile(QLockFile& lock) {
    {
        QMutexLocker guard(&heldMutex);
        held.remove(Key(lock));
    }
    lock.unlock();
}
