// Reading a clone file: the line reader, the header and data line checks, and the rollback of
// the image on any failure.
#include <QFile>
#include <QString>

#include <climits>
#include <cstring>

#include "memory/cmcCloneFile.h"
#include "memory/cmcEeprom.h"
#include "platform/cmcHost.h"

namespace {

// Splits a device into lines ended by LF or CR LF (or the end of the file). A physical line
// longer than the limit is reported as such and ends the reading: it is never cut into pieces
// that could pass for lines of their own, and the rest of it is not even read (so a line without
// end, such as a device of zeros, cannot hold the reader). Only the first limit + 1 characters
// of such a line are kept.
class cmcLineReader {
public:
    enum Status { Line, LongLine, End, Error };

    cmcLineReader(QIODevice& device, int limit) : device_(device), limit_(limit) {}

    Status Next(std::string& line) {
        line.clear();
        hadLineEnd_ = false;
        bool any = false;
        const std::size_t keep = static_cast<std::size_t>(limit_) + 1;
        for (;;) {
            if (pos_ == len_) {
                const qint64 got = device_.read(buffer_, sizeof buffer_);
                if (got < 0)
                    return Error;
                pos_ = 0;
                len_ = static_cast<std::size_t>(got);
                if (got == 0)
                    break;  // end of file
            }
            any = true;
            const char* start = buffer_ + pos_;
            const void* lf = std::memchr(start, '\n', len_ - pos_);
            const std::size_t take =
                lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - start) : len_ - pos_;
            // Room for one character beyond the limit and a CR before the line end.
            const std::size_t room = keep + 1 - line.size();
            if (take > room) {
                line.append(start, room);
                line.resize(keep);
                return LongLine;
            }
            line.append(start, take);
            pos_ += take;
            if (lf) {
                ++pos_;
                hadLineEnd_ = true;
                break;
            }
        }
        if (!any)
            return End;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > static_cast<std::size_t>(limit_)) {
            line.resize(keep);
            return LongLine;
        }
        return Line;
    }

    // Whether the last line ended with a line end rather than with the end of the file.
    bool HadLineEnd() const { return hadLineEnd_; }

private:
    QIODevice& device_;
    int limit_;
    bool hadLineEnd_ = false;
    char buffer_[16384];
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
};

// Value of every byte as a hexadecimal digit of either case, -1 for any other byte.
struct cmcHexTable {
    signed char value[256];
    constexpr cmcHexTable() : value() {
        for (int c = 0; c < 256; ++c)
            value[c] = -1;
        for (int d = 0; d < 10; ++d)
            value['0' + d] = static_cast<signed char>(d);
        for (int d = 0; d < 6; ++d) {
            value['A' + d] = static_cast<signed char>(10 + d);
            value['a' + d] = static_cast<signed char>(10 + d);
        }
    }
};
constexpr cmcHexTable kHexTable;

int HexValue(char c) {
    return kHexTable.value[static_cast<unsigned char>(c)];
}

// The revision of a map revision line: the signed decimal number from the ninth character on,
// leading blanks skipped, digits up to the first non-digit, 0 without digits. Clamped rather
// than overflowing.
int ParseMapRevision(const std::string& line) {
    std::size_t i = 8;
    auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < line.size() && blank(line[i]))
        ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-'))
        negative = line[i++] == '-';
    long long value = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        value = value * 10 + (line[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(value);
}

}  // namespace

int cmcCloneFile::ParseDataLine(const std::string& line) {
    const std::size_t length = line.size();
    if (length < 8 || length > 516)
        return Format;
    for (char c : line)
        if (HexValue(c) < 0)
            return Format;
    auto hexAt = [&line](std::size_t at, int digits) {
        int value = 0;
        for (int i = 0; i < digits; ++i)
            value = value * 16 + HexValue(line[at + i]);
        return value;
    };
    const int address = hexAt(0, 4);
    const int count = hexAt(4, 2);
    if (length != 6 + 2 * static_cast<std::size_t>(count))
        return Format;
    // The whole line is checked before anything is stored.
    if (!image_->IsValidAddress(address) || !image_->IsValidAddress(address + count - 1))
        return Data;
    std::uint8_t bytes[255];
    for (int i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>(hexAt(6 + 2 * i, 2));
    image_->WriteBlock(address, bytes, count);
    loaded_.Mark(address, address + count - 1);
    return Ok;
}

int cmcCloneFile::ReadFile(const std::string& path, const cmcRange* ranges) {
    QFile file(QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size())));
    if (!file.open(QIODevice::ReadOnly))
        return FileOpen;
    cmcLineReader reader(file, kMaxLineLength);
    std::string line;

    const cmcLineReader::Status first = reader.Next(line);
    if (first == cmcLineReader::Error)
        return FileAccess;
    // The identification line must be complete: a file that ends within it is cut short.
    if (first != cmcLineReader::Line || line.size() != 8 || !reader.HadLineEnd())
        return Format;
    const std::string expected = IdentificationLine();
    for (int i = 0; i < 8; ++i) {
        if (line[i] < '0' || line[i] > '9')
            return Format;
        if (line[i] != expected[i])
            return i < 4 ? Model : Extra;
    }

    bool checked = false;
    for (;;) {
        const cmcLineReader::Status status = reader.Next(line);
        if (status == cmcLineReader::End)
            break;
        if (status == cmcLineReader::Error)
            return FileAccess;
        if (!line.empty() && line[0] == '#') {
            if (status == cmcLineReader::LongLine)
                return Format;
            if (line.find("MapRev=", 1) != std::string::npos)
                mapRevision_ = ParseMapRevision(line);
            continue;
        }
        if (!checked) {
            checked = true;
            if (mapRevisionCheck_ == nullptr || !mapRevisionCheck_(mapRevisionOwner_, mapRevision_))
                return MapRev;
        }
        if (status == cmcLineReader::LongLine)
            return Format;
        const int result = ParseDataLine(line);
        if (result != Ok)
            return result;
    }
    return ranges != nullptr ? CheckCoverage(ranges) : Ok;
}

int cmcCloneFile::Read(const std::string& path, const cmcRange* ranges) {
    if (image_ == nullptr)
        FatalError("Clone file read without an image.");
    // The maps follow the image should it have been resized since it was attached.
    if (loaded_.ByteLength() != (image_->GetSize() + 7) / 8)
        AttachImage(*image_);
    cmcEeprom backup;
    backup.CopyFrom(*image_);
    loaded_.Clear();
    // A revision set for writing must not stand in for a file that names none.
    mapRevision_ = -1;

    const int result = ReadFile(path, ranges);
    if (result != Ok) {
        // Nothing of a refused file counts as loaded.
        image_->CopyFrom(backup);
        loaded_.Clear();
    }
    ShowFileError(result);
    return result;
}
