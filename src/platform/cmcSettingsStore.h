#pragma once

#include <cstdint>
#include <memory>
#include <string>

class QSettings;

// The per-user settings store: named groups of named values, integers and texts. On Windows it is
// the registry key below the current user's root; elsewhere Qt's native settings file of the same
// organisation and application. Reads never fail loudly: a value that is missing or of the wrong
// kind is simply not there. Writes are collected and reach the store at Flush.
class cmcSettingsStore {
public:
    // settingsKey is the key below the user's root, e.g. "Software\Vexa\PQ-T590": its last two
    // parts name the organisation and the application of the native store.
    explicit cmcSettingsStore(const std::string& settingsKey);
    // A store kept in an INI file at path (tests, a portable set-up).
    static std::unique_ptr<cmcSettingsStore> OnFile(const std::string& path);
    ~cmcSettingsStore();

    cmcSettingsStore(const cmcSettingsStore&) = delete;
    cmcSettingsStore& operator=(const cmcSettingsStore&) = delete;

    // A 32-bit integer: a stored integer type, or a text of an optional sign and decimal digits,
    // within 32 bits (unsigned 32-bit values wrap as registry integers do). False otherwise.
    bool ReadInt(const char* group, const char* name, int32_t& value) const;
    // A text value; false when missing or not a text.
    bool ReadText(const char* group, const char* name, std::string& value) const;

    void WriteInt(const char* group, const char* name, int32_t value);
    void WriteText(const char* group, const char* name, const std::string& value);

    // Writes collected values to permanent storage; false when the store could not be written.
    bool Flush();

    // Where the settings live: a file name or a registry path.
    std::string Location() const;

private:
    explicit cmcSettingsStore(std::unique_ptr<QSettings> settings);
    std::unique_ptr<QSettings> settings_;
};
