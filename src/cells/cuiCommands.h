#pragma once

#include <string>

// The file, clone and port commands that menu, tool-bar and tree cells run. The cells decide
// (which command, which state); the session carries out.
class cuiCommands {
public:
    virtual ~cuiCommands() = default;

    // File commands; the results are those of the commands themselves.
    virtual bool FileNew() = 0;
    virtual bool FileOpen() = 0;
    virtual int OpenFile(const std::string& path) = 0;
    virtual int FileSaveAs() = 0;
    virtual int SaveFile(const std::string& path) = 0;
    // The document has no file name yet; the current file name ("<dir>/Untitled" when untitled).
    virtual bool IsUntitled() const = 0;
    virtual std::string CurrentFileName() const = 0;
    // Recent file n (from 0): as the menu shows it (files of the current file's directory by
    // name only) or as the full path; empty when the slot holds no file.
    virtual std::string RecentFileText(int n, bool fullPath) const = 0;
    // Clone commands.
    virtual void CloneRead() = 0;
    virtual void CloneWrite() = 0;
    virtual void CloneInformation() = 0;
    // The COM port the clone commands use.
    virtual int ComPortSetting() const = 0;
    virtual void SetComPortSetting(int port) = 0;
};
