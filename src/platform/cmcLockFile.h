#pragma once

class QLockFile;

// Lock files held for the life of a process (the single-instance lock, the recovery directory).
// QLockFile takes over the lock of a holder that died, unless the process number written in it
// is in use again by a process of the same name: after a restart of the machine (or container)
// that can be this very process, which would then never get its own lock and start without it.
// These two take over such a lock, and keep a lock this process holds itself apart.

// Tries the lock once, without waiting; true when it is held now.
bool cmcTryLockFile(QLockFile& lock);
// Releases a lock taken with cmcTryLockFile.
void cmcUnlockFile(QLockFile& lock);
