#include "session/indFleetJournal.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "session/indFleet.h"
#include "text/cmcCsv.h"

namespace {

#ifdef _WIN32
int OpenAppend(const char* path) {
    return ::_open(path, _O_WRONLY | _O_APPEND | _O_CREAT | _O_BINARY, _S_IREAD | _S_IWRITE);
}
long long WriteSome(int fd, const char* p, size_t n) {
    return ::_write(fd, p, static_cast<unsigned>(n));
}
int Sync(int fd) {
    return ::_commit(fd);
}
int CloseFd(int fd) {
    return ::_close(fd);
}
long long EndOf(int fd) {
    return ::_lseeki64(fd, 0, SEEK_END);
}
void CutTo(int fd, long long size) {
    (void)::_chsize_s(fd, size);
}
#else
int OpenAppend(const char* path) {
    return ::open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
}
long long WriteSome(int fd, const char* p, size_t n) {
    return ::write(fd, p, n);
}
int Sync(int fd) {
    return ::fsync(fd);
}
int CloseFd(int fd) {
    return ::close(fd);
}
long long EndOf(int fd) {
    return ::lseek(fd, 0, SEEK_END);
}
void CutTo(int fd, long long size) {
    (void)!::ftruncate(fd, static_cast<off_t>(size));
}
#endif

std::string SystemReason() {
    return std::strerror(errno);
}

// The first line of an existing file, without its line end.
std::string FirstLine(const std::string& path, bool& empty) {
    std::string line;
    empty = true;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return line;
    int c;
    while ((c = std::fgetc(f)) != EOF) {
        empty = false;
        if (c == '\r' || c == '\n')
            break;
        line += static_cast<char>(c);
    }
    std::fclose(f);
    return line;
}

// Whether a file's last byte is not a line end: a line cut short by a crash or a power cut.
bool EndsInsideALine(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    const bool cut = std::fseek(f, -1, SEEK_END) == 0 && std::fgetc(f) != '\n';
    std::fclose(f);
    return cut;
}

}  // namespace

indFleetJournal::~indFleetJournal() {
    Close();
}

const std::vector<std::string>& indFleetJournal::Header() {
    static const std::vector<std::string> header = {
        "Time (UTC)",     "Port",           "Device",        "Model",
        "Map revision",   "Comment before", "Comment after", "Own MMSI before",
        "Own MMSI after", "Radio row",      "Clone file",    "SHA-256 written",
        "Backup file",    "Status",         "Status text",   "Verified",
    };
    return header;
}

std::vector<std::string> indFleetJournal::Fields(const indFleetEntry& e) {
    // Texts a spreadsheet would run as a formula are guarded, as in the sheets' tables.
    auto g = [](const std::string& s) { return cmcCsv::Guard(s); };
    return {g(e.timeUtc),
            e.portNumber > 0 ? "COM" + std::to_string(e.portNumber) : std::string(),
            g(e.device),
            g(e.model),
            e.mapRevision >= 0 ? std::to_string(e.mapRevision) : std::string(),
            g(e.commentBefore),
            g(e.commentAfter),
            g(e.mmsiBefore),
            g(e.mmsiAfter),
            g(e.rowText),
            g(e.cloneFile),
            e.sha256,
            g(e.backupFile),
            std::to_string(e.status),
            g(e.statusText),
            e.verified};
}

bool indFleetJournal::Open(const std::string& path, std::string& why) {
    Close();
    bool empty = true;
    const std::string first = FirstLine(path, empty);
    std::string header = cmcCsv::Line(Header());
    header.resize(header.size() - 2);  // without CR LF
    if (!empty && first != header) {
        why = path + ": not a fleet journal (its first line is not the journal's header)";
        return false;
    }
    fd_ = OpenAppend(path.c_str());
    if (fd_ < 0) {
        why = path + ": " + SystemReason();
        return false;
    }
    path_ = path;
    if (empty && !WriteWhole(cmcCsv::Line(Header()), why)) {
        Close();
        return false;
    }
    // The next line starts a line of its own, never the rest of one cut short.
    if (!empty && EndsInsideALine(path) && !WriteWhole("\r\n", why)) {
        Close();
        return false;
    }
    return true;
}

void indFleetJournal::Close() {
    if (fd_ >= 0)
        CloseFd(fd_);
    fd_ = -1;
}

bool indFleetJournal::Append(const indFleetEntry& entry, std::string& why) {
    if (fd_ < 0) {
        why = "the journal is not open";
        return false;
    }
    return WriteWhole(cmcCsv::Line(Fields(entry)), why);
}

bool indFleetJournal::WriteWhole(const std::string& bytes, std::string& why) {
    // One write call per line: with O_APPEND the line lands whole at the end, and a line cut
    // short by a full disk is reported, never followed by another.
    size_t done = 0;
    const long long before = EndOf(fd_);
    while (done < bytes.size()) {
        const long long n = WriteSome(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            why = path_ + ": " + SystemReason();
            // The part that went in is taken out again, so that the file ends with the last
            // whole line and the next run's first line starts a line of its own.
            if (done > 0 && before >= 0)
                CutTo(fd_, before);
            return false;
        }
        done += static_cast<size_t>(n);
    }
    if (Sync(fd_) != 0) {
        why = path_ + ": " + SystemReason();
        return false;
    }
    return true;
}
