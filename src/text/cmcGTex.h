#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <vector>

#include "text/cmcLineFile.h"

// The text dictionary: answers lookups of resource sections ("#Name" headers followed by body
// lines) from a resource file or from an array of lines in memory. The source is indexed lazily,
// one line per scan step and only as far as lookups need; sections found far down the list move
// to its front; each section keeps a cursor so that reading a body line by line costs one read
// per line; the last 64 body lines read from a file are cached by offset.
//
// A key that cannot be answered is an error of the program or its resource file: FatalError
// with "GTEX Error !\nThe index '<key>' was not found.". Not thread-safe, even for lookups.
class cmcGTex {
public:
    // Longest line returned. A longer line of a file reads as several lines; a longer string of
    // a memory source is cut.
    static constexpr std::size_t kMaxLine = 8191;
    static constexpr int kCacheSize = 64;
    // A section found after more than this many entries of the list moves to its front.
    static constexpr int kMoveToFrontAfter = 10;

    cmcGTex();
    ~cmcGTex();
    cmcGTex(const cmcGTex&) = delete;
    cmcGTex& operator=(const cmcGTex&) = delete;

    // Makes the named file the source. Refused (false, nothing changed) once a source is set.
    // The file is opened on the first lookup.
    bool SetFile(const std::string& path);
    // Makes an array of lines (without line ends, not owned, kept alive by the caller) the
    // source. With a count, reading past the last line acts as the end of a file; without one
    // the array must hold the "#End_Of_Ovl" line. A null entry also ends the source.
    bool SetLines(const char* const* lines);
    bool SetLines(const char* const* lines, std::size_t count);

    // Line 0 of the section named key.
    std::string Text(std::string_view key);
    // Body line n (from 0) of the section named key, without its line end. Past the body this
    // is whatever line follows in the source (the next header, a lone "#", ...).
    std::string Line(std::string_view key, int n);

    // The program's dictionary (not owned; null until the main controller sets it). Cell models
    // and selection lists are always read from it, whichever dictionary a view was built from.
    static cmcGTex* Main();
    static void SetMain(cmcGTex* dictionary);

    // Introspection for tests and diagnostics.
    int SectionCount() const { return sectionCount_; }
    bool FullyIndexed() const { return moreToScan_ == 0; }
    std::vector<std::string> SectionNamesInListOrder() const;
    int CachedLineCount() const { return static_cast<int>(cache_.size()); }
    // Lines read from the source itself (not answered by the line cache).
    std::uint64_t SourceReads() const { return sourceReads_; }

private:
    enum SourceKind { kNoSource = 0, kMemory = 1, kFile = 2 };

    struct Section {
        std::string name;
        std::int64_t bodyOffset = 0;
        int cursorLine = 0;
        std::int64_t cursorOffset = 0;
    };
    // The section list is kept as links between indexes, with each entry's name hash beside its
    // link, so that a walk down the list stays within two small arrays.
    struct Link {
        std::uint32_t nameHash = 0;
        int next = -1;
    };

    struct CachedLine {
        std::int64_t start = 0;
        std::int64_t length = 0;  // bytes the position advanced when the line was read
        std::string text;
        bool ended = false;
    };

    bool Open();
    bool Seek(std::int64_t position);
    bool ReadLine(bool useCache);
    bool ReadSourceLine();
    // Index of the section added by one scan step, or -1.
    int ScanOneLine();
    // The section named key, or null. Valid until the next scan step.
    Section* FindSection(std::string_view key);
    static std::uint32_t NameHash(std::string_view name);
    [[noreturn]] void NotFound(std::string_view key) const;

    SourceKind kind_ = kNoSource;
    bool open_ = false;
    cmcLineFile file_;
    const char* const* lines_ = nullptr;
    std::size_t lineCount_ = 0;
    bool lineCountKnown_ = false;
    std::int64_t position_ = 0;
    std::string fileName_;

    std::string lineBuf_;  // the last line read, without its line end
    bool lineEnded_ = false;

    std::int64_t scanOffset_ = 0;
    std::list<CachedLine> cache_;  // most recently used first
    int sectionCount_ = 0;
    std::vector<Section> sections_;  // in the order found
    std::vector<Link> links_;        // links_[i] belongs to sections_[i]
    int head_ = -1;
    int tail_ = -1;
    int moreToScan_ = 1;
    std::uint64_t sourceReads_ = 0;
};
