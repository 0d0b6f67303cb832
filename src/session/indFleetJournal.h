#pragma once

#include <string>
#include <vector>

struct indFleetEntry;

// The journal of a fleet run: a CSV file (RFC 4180, UTF-8, CR LF) with a header line and one
// line per attempt, appended and flushed to the disk (fsync) line by line, so that a crash or a
// power cut loses no line already reported. Lines are written whole, one at a time.
class indFleetJournal {
public:
    indFleetJournal() = default;
    ~indFleetJournal();
    indFleetJournal(const indFleetJournal&) = delete;
    indFleetJournal& operator=(const indFleetJournal&) = delete;

    // Opens path for appending; a new or empty file gets the header line first. An existing
    // journal must begin with the same header. False with why otherwise.
    bool Open(const std::string& path, std::string& why);
    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }
    void Close();

    // Appends one attempt; false with why when the line could not be written and synced (the
    // run must then stop before the next radio).
    bool Append(const indFleetEntry& entry, std::string& why);

    // The column names: a file format read by scripts and spreadsheets, the same in every
    // language.
    static const std::vector<std::string>& Header();
    static std::vector<std::string> Fields(const indFleetEntry& entry);

private:
    bool WriteWhole(const std::string& bytes, std::string& why);

    int fd_ = -1;
    std::string path_;
};
