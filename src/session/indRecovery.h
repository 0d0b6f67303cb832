#pragma once

#include <memory>
#include <string>
#include <vector>

class QLockFile;
class cmcEeprom;

// The recovery file: while the working image has unsaved changes, the session keeps a copy of it
// in the user's data directory, so that a crash or a killed process loses nothing. It is an
// ordinary clone file (it opens like any other) with the open file's name in header lines of its
// own, written atomically.
//
// One process at a time owns the directory: a lock file there names it, and a lock left by a
// process that died is taken over. (The desktop program's single-instance rule already ends a
// second instance before it has a session; the lock keeps two sessions apart even where that
// rule could not be set up.) A recovery file found when the directory is claimed was left by a
// run that ended without removing it: it is moved aside as the earlier run's file, which waits
// to be restored or discarded, so that nothing this run writes or removes can touch it.
class indRecovery {
public:
    static constexpr char kFileName[] = "recovery.t590";
    static constexpr char kEarlierFileName[] = "recovery-earlier.t590";
    static constexpr char kLockFileName[] = "recovery.lock";
    // The header line that carries the file name (several when it is long), percent-encoded
    // UTF-8.
    static constexpr char kFileNameTag[] = "#Recovery-File=";

    indRecovery();
    // Releases the directory; the files stay.
    ~indRecovery();
    indRecovery(const indRecovery&) = delete;
    indRecovery& operator=(const indRecovery&) = delete;

    // Claims dir (made when missing) for this process and moves a recovery file found there
    // aside. False when another live process holds it or no lock can be made there: recovery
    // is then off.
    bool Claim(const std::string& dir);
    void Release();
    bool IsActive() const { return lock_ != nullptr; }
    const std::string& Directory() const { return dir_; }
    std::string FilePath() const;
    std::string EarlierFilePath() const;

    // Writes this run's recovery file: the image (normalised for writing, as a save would have
    // it) and the name of its file (empty: untitled), without any message. False when it could
    // not be written (the old one then stays).
    bool Write(const cmcEeprom& image, const std::string& fileName);
    bool HasFile() const;
    void Remove();

    // The earlier run's file.
    bool HasEarlier() const;
    // Reads it with every check of an opened file (a failure is shown to the user) and gives
    // the file name it names; returns the file result, 0 for success.
    int ReadEarlier(cmcEeprom& image, std::string* fileName) const;
    void RemoveEarlier();

    // The header lines that carry a file name, and the name the lines of a file carry.
    static std::vector<std::string> FileNameLines(const std::string& fileName);
    static std::string FileNameIn(const std::string& path);
    // The user's data directory (QStandardPaths::AppDataLocation), where the desktop program
    // keeps its recovery file.
    static std::string StandardDirectory();

private:
    std::string dir_;
    std::unique_ptr<QLockFile> lock_;
};
