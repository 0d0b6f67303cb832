#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "memory/cmcRecent.h"

class cmcInstanceLock;
class cmcSettingsStore;

// The settings remembered between runs, held for the life of the process: read when the object
// is created and written back when it is destroyed. The same object holds the single-instance
// lock; a second instance neither reads nor writes the settings. The other parts of the program
// read and change the fields directly.
class cmcEnviron {
public:
    static constexpr int32_t kStamp = 753951;  // stored as "BBT": the settings are ours and valid
    static constexpr int kRecentCapacity = 10;
    static constexpr int32_t kComPortMin = 1, kComPortMax = 99;
    static constexpr int32_t kFontSizeMin = 25, kFontSizeMax = 1000;

    // The settings under settingsKey (e.g. "Software\Vexa\PQ-T590") and the lock named mutexName
    // in the user's runtime directory.
    cmcEnviron(const std::string& mutexName, const std::string& settingsKey);
    // The same on a given store, with the lock file in lockDirectory (empty: the runtime
    // directory).
    cmcEnviron(const std::string& mutexName, std::unique_ptr<cmcSettingsStore> store,
               const std::string& lockDirectory);
    // Saves the settings (first instance with valid settings only), then releases the lock.
    virtual ~cmcEnviron();

    cmcEnviron(const cmcEnviron&) = delete;
    cmcEnviron& operator=(const cmcEnviron&) = delete;

    // The program's settings object (the first one created that still lives), or nullptr.
    static cmcEnviron* Global();

    // False when another instance is running: the program then ends at once, silently.
    bool IsFirstInstance() const { return firstInstance_; }
    // The single-instance lock's file (empty where the lock is no file, or there is none).
    std::string InstanceLockPath() const;

    // Stamp, COM port 1, font 100 %, tool bar shown, backup before write on, verify after write
    // off, an empty recent list, splitter 200 and a window of at most 800 x 600 (90 % of a
    // smaller work area) centred across and at three tenths down the work area.
    void ApplyDefaults();

    cmcRecent recent{kRecentCapacity};
    int32_t stamp = 0;
    int32_t fontSizePercentage = 100;
    bool toolBarVisible = true;
    int32_t comPort = 1;
    int32_t windowLeft = 0;
    int32_t windowTop = 0;
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    int32_t splitterV = 200;
    // The window's bounds and the splitter above were read from the store. False after the
    // defaults (a first start, or settings that could not be read): the window then fits what
    // it shows instead.
    bool boundsStored = false;
    // Ours ("Global/BackupBeforeWrite", 1 or 0): a clone write first reads the radio and saves
    // what it held. Optional in the store: settings written before it existed keep everything
    // else and read it as on.
    bool backupBeforeWrite = true;
    // Ours ("Global/VerifyAfterWrite", 1 or 0): after a good clone write the radio is read back
    // and compared with what was written. Optional like the backup's; off unless it says 1.
    bool verifyAfterWrite = false;

private:
    void Start(const std::string& mutexName, const std::string& lockDirectory);
    bool Load();
    void Save();

    std::unique_ptr<cmcSettingsStore> store_;
    std::unique_ptr<cmcInstanceLock> lock_;
    bool firstInstance_ = false;
};
