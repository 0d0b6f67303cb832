#pragma once

#include <string>
#include <vector>

#include "memory/cmcBitMap.h"
#include "memory/cmcRange.h"

class cmcEeprom;

// A clone file: the clone range of a memory image as a line-oriented text file of hexadecimal
// data lines after an identification line, a comment line and a map revision line. Writes an
// image to such a file and reads one back with every check of the format, reporting each outcome
// as a result code and showing the matching message itself.
//
// Calling order: AttachImage, SetModelCode, SetExtraCode; then SetMapRevision, SetComment and
// Write; or SetMapRevisionCheck and Read (and, when Read had no range list, the caller's own
// checks, CheckCoverage and ShowFileError).
class cmcCloneFile {
public:
    // Result codes; each but Ok has its own message.
    enum Result {
        Ok = 0,
        FileOpen = 1,    // the file cannot be opened
        FileAccess = 2,  // writing (or reading) the file failed
        Model = 3,       // another model code on the identification line
        Extra = 4,       // the model matches, the extra code differs
        MapRev = 5,      // map revision missing or not accepted
        Format = 6,      // a line breaks the syntax
        Coverage = 7,    // required addresses are missing
        Data = 8,        // data outside the image or outside the range list
        Newer = 9,       // used by the open command for an image of a newer layout
    };

    // Decides whether a file's map revision is acceptable; owner is passed back unchanged.
    using MapRevisionCheck = bool (*)(void* owner, int mapRevision);

    // Data bytes per full data line.
    static constexpr int kLineLength = 16;
    // Longest line the reader takes, without its line end; a longer line is a format error.
    static constexpr int kMaxLineLength = 767;
    // Longest comment written: the comment line must stay readable.
    static constexpr int kMaxCommentLength = kMaxLineLength - 9;  // after "#Comment="

    cmcCloneFile() = default;
    cmcCloneFile(const cmcCloneFile&) = delete;
    cmcCloneFile& operator=(const cmcCloneFile&) = delete;

    // Remembers the image (not owned) and sizes both address maps for it; every address of the
    // image counts as required until CheckCoverage rebuilds the map from a range list.
    void AttachImage(cmcEeprom& image);
    void SetModelCode(int code) { modelCode_ = code; }
    void SetExtraCode(int code) { extraCode_ = code; }
    void SetComment(const std::string& text) { comment_ = text; }
    // A line of the writer's own between the comment and the map revision line, e.g.
    // "#Recovery-File=..." (the reader passes over "#" lines it does not know): "#" is put before
    // a line without it, line ends become blanks and the line is cut to the reader's limit.
    void AddHeaderLine(const std::string& line) { extraHeader_.push_back(line); }
    void SetMapRevision(int revision) { mapRevision_ = revision; }
    void SetMapRevisionCheck(MapRevisionCheck check, void* owner) {
        mapRevisionCheck_ = check;
        mapRevisionOwner_ = owner;
    }
    // The revision Write writes, or after Read the one the file named (-1 for none).
    int GetMapRevision() const { return mapRevision_; }

    // Writes the ranges of the image to path (bytes in the local code page), replacing the file
    // only once it is wholly written; shows the message for the result and returns it.
    int Write(const std::string& path, const cmcRange* ranges);
    // The same without any message: for files the program keeps of its own accord (a recovery
    // file written in the background must not interrupt the user).
    int WriteSilently(const std::string& path, const cmcRange* ranges);
    // Reads path into the image; with a range list the file must cover it exactly. On any
    // failure the image is left byte for byte as it was. Shows the message; returns the result.
    int Read(const std::string& path, const cmcRange* ranges);
    // Compares the addresses the last Read set with the ranges; shows nothing.
    int CheckCoverage(const cmcRange* ranges);
    // The message box for a result code, its texts from the program's dictionary (caption
    // "GI_Sys_AppTitle"; the headline, a blank line and the code's text); warning icon. Nothing
    // for Ok or an unknown code.
    void ShowFileError(int result) const;

    // The resource key of a result code's message, or nullptr for Ok or an unknown code.
    static const char* MessageKey(int result);
    // The comment Save writes: the image's comment text, bytes outside 0x20-0x7E as blanks,
    // trailing blanks removed.
    static std::string ImageComment(const cmcEeprom& image);

    // The addresses the last Read set, and the addresses the last coverage check required.
    const cmcBitMap& LoadedMap() const { return loaded_; }
    const cmcBitMap& RequiredMap() const { return required_; }

private:
    std::string IdentificationLine() const;
    std::string BuildText(const cmcRange* ranges) const;
    int WriteFile(const std::string& path, const cmcRange* ranges);
    int ReadFile(const std::string& path, const cmcRange* ranges);
    int ParseDataLine(const std::string& line);

    cmcEeprom* image_ = nullptr;
    int modelCode_ = 0;
    int extraCode_ = 0;
    std::string comment_;
    std::vector<std::string> extraHeader_;
    int mapRevision_ = -1;
    cmcBitMap required_;
    cmcBitMap loaded_;
    MapRevisionCheck mapRevisionCheck_ = nullptr;
    void* mapRevisionOwner_ = nullptr;
};
