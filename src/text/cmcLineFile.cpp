#include "text/cmcLineFile.h"

#include <cstring>

namespace {
constexpr std::size_t kBufferSize = 16384;  // must exceed the longest line plus its line end
constexpr std::size_t kBlock = 2048;        // read size: lines are short, seeks are many
}  // namespace

cmcLineFile::~cmcLineFile() {
    Close();
}

bool cmcLineFile::Open(const std::string& path) {
    Close();
    if (path.empty())
        return false;
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_)
        return false;
    std::setvbuf(file_, nullptr, _IONBF, 0);  // our buffer is the only one
    buf_.resize(kBufferSize);
    bufStart_ = 0;
    len_ = pos_ = 0;
    return true;
}

void cmcLineFile::Close() {
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
    bufStart_ = 0;
    len_ = pos_ = 0;
}

bool cmcLineFile::Seek(std::int64_t offset) {
    if (!file_ || offset < 0)
        return false;
    if (offset >= bufStart_ && offset <= bufStart_ + static_cast<std::int64_t>(len_)) {
        pos_ = static_cast<std::size_t>(offset - bufStart_);
        return true;
    }
    // Offsets up to 2 GB: the resource file is far smaller.
    if (offset > 0x7FFFFFFF || std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0)
        return false;
    bufStart_ = offset;
    len_ = pos_ = 0;
    return true;
}

std::size_t cmcLineFile::Fill(std::size_t n) {
    if (len_ - pos_ >= n)
        return len_ - pos_;
    if (pos_ > 0) {
        std::memmove(buf_.data(), buf_.data() + pos_, len_ - pos_);
        bufStart_ += static_cast<std::int64_t>(pos_);
        len_ -= pos_;
        pos_ = 0;
    }
    while (len_ < n) {
        std::size_t want = n - len_ < kBlock ? kBlock : n - len_;
        if (want > buf_.size() - len_)
            want = buf_.size() - len_;
        const std::size_t got = std::fread(buf_.data() + len_, 1, want, file_);
        if (got == 0)
            break;
        len_ += got;
    }
    return len_ - pos_;
}

bool cmcLineFile::ReadLine(std::string& out, std::size_t maxBytes, bool& ended) {
    out.clear();
    ended = false;
    if (!file_)
        return false;
    // Look for the line feed in what is buffered, reading more only while it is missing: the
    // line, its CR LF and one byte more are all that may be needed.
    std::size_t avail = Fill(1);
    if (avail == 0)
        return false;
    const char* lf = nullptr;
    std::size_t searched = 0;
    for (;;) {
        const std::size_t limit = avail < maxBytes ? avail : maxBytes;
        lf = static_cast<const char*>(
            std::memchr(buf_.data() + pos_ + searched, '\n', limit - searched));
        searched = limit;
        if (lf || avail >= maxBytes + 2)
            break;
        const std::size_t more =
            Fill(avail + kBlock < maxBytes + 2 ? avail + kBlock : maxBytes + 2);
        if (more == avail)
            break;  // end of file
        avail = more;
    }
    const char* start = buf_.data() + pos_;
    const std::size_t scan = searched;
    std::size_t take;
    std::size_t consumed;
    if (lf) {
        take = static_cast<std::size_t>(lf - start);
        consumed = take + 1;
        ended = true;
    } else {
        take = scan;
        consumed = scan;
        if (scan == maxBytes && avail > scan) {
            // A line end right at the limit still belongs to this line.
            if (start[scan] == '\n') {
                consumed = scan + 1;
                ended = true;
            } else if (start[scan] == '\r' && avail > scan + 1 && start[scan + 1] == '\n') {
                consumed = scan + 2;
                ended = true;
            }
        }
    }
    if (ended && take > 0 && start[take - 1] == '\r')
        --take;
    out.assign(start, take);
    pos_ += consumed;
    return true;
}
