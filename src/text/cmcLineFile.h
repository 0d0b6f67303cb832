#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// A read-only file read line by line at byte offsets, for the text dictionary. Opened in binary
// mode so that offsets are plain byte offsets on every platform; a carriage return before a line
// feed is dropped here, as the text mode of the original platform did. The buffer is small on
// purpose: the dictionary seeks about the file constantly.
class cmcLineFile {
public:
    cmcLineFile() = default;
    ~cmcLineFile();
    cmcLineFile(const cmcLineFile&) = delete;
    cmcLineFile& operator=(const cmcLineFile&) = delete;

    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

    // Moves to a byte offset. Fails on a closed file or a negative offset.
    bool Seek(std::int64_t offset);
    std::int64_t Tell() const { return bufStart_ + static_cast<std::int64_t>(pos_); }

    // Reads one line of at most maxBytes bytes into out, without its line end. A line end right
    // after maxBytes bytes belongs to that line; a longer line goes on as the next line.
    // Returns false at the end of the file (nothing left to read). ended tells whether a line
    // feed ended the line.
    bool ReadLine(std::string& out, std::size_t maxBytes, bool& ended);

private:
    // Makes at least n bytes available from pos_ if the file has them; returns how many are.
    std::size_t Fill(std::size_t n);

    std::FILE* file_ = nullptr;
    std::vector<char> buf_;
    std::int64_t bufStart_ = 0;  // file offset of buf_[0]
    std::size_t len_ = 0;        // valid bytes in buf_
    std::size_t pos_ = 0;        // read position within buf_
};
