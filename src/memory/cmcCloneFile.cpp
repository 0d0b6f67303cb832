#include "memory/cmcCloneFile.h"

#include <QSaveFile>
#include <QString>

#include <algorithm>
#include <iterator>

#include "memory/MemoryMap.h"
#include "memory/cmcEeprom.h"
#include "platform/cmcHost.h"
#include "text/cmcGTex.h"

namespace {

const char kHex[] = "0123456789ABCDEF";

char* PutHex(char* out, unsigned value, int digits) {
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        *out++ = kHex[(value >> shift) & 0xF];
    return out;
}

void AppendHex(std::string& out, unsigned value, int digits) {
    char buffer[8];
    out.append(buffer, static_cast<std::size_t>(PutHex(buffer, value, digits) - buffer));
}

}  // namespace

void cmcCloneFile::AttachImage(cmcEeprom& image) {
    image_ = &image;
    required_.SizeFor(image.GetSize());
    loaded_.SizeFor(image.GetSize());
    if (image.GetSize() > 0)
        required_.Mark(0, image.GetSize() - 1);
}

std::string cmcCloneFile::IdentificationLine() const {
    // Four digits each: the codes are 16-bit values, wider bits would lengthen the line.
    std::string line;
    AppendHex(line, static_cast<unsigned>(modelCode_) & 0xFFFF, 4);
    AppendHex(line, static_cast<unsigned>(extraCode_) & 0xFFFF, 4);
    return line;
}

std::string cmcCloneFile::BuildText(const cmcRange* ranges) const {
    std::string text;
    text.reserve(64 + comment_.size() + MemoryMap::kCloneLength / kLineLength * 40);
    text += IdentificationLine();
    text += "\r\n#Comment=";
    // A line end inside the comment would break the file into lines the reader refuses.
    std::string comment = comment_.substr(0, kMaxCommentLength);
    for (char& c : comment)
        if (c == '\r' || c == '\n')
            c = ' ';
    text += comment;
    text += "\r\n";
    // The reader must take each for a "#" line it passes over, never for data or a long line;
    // the map revision line comes after them, so that none can stand in for it.
    for (std::string line : extraHeader_) {
        if (line.empty() || line[0] != '#')
            line.insert(0, 1, '#');
        line.resize(std::min<std::size_t>(line.size(), kMaxLineLength));
        for (char& c : line)
            if (c == '\r' || c == '\n')
                c = ' ';
        text += line;
        text += "\r\n";
    }
    text += "#MapRev=";
    text += std::to_string(mapRevision_);
    text += "\r\n";

    const std::uint8_t* bytes = image_->Bytes();
    for (const cmcRange* r = ranges; r != nullptr && !r->IsEndMark(); ++r) {
        // A range outside the image ends the list quietly, as the reader's coverage check does.
        if (!image_->IsValidAddress(r->first) || !image_->IsValidAddress(r->last))
            break;
        int a = r->first;
        while (a <= r->last) {
            const int n = std::min(kLineLength - a % kLineLength, r->last - a + 1);
            char line[6 + 2 * kLineLength + 2];
            char* p = line;
            p = PutHex(p, static_cast<unsigned>(a), 4);
            p = PutHex(p, static_cast<unsigned>(n), 2);
            for (int i = 0; i < n; ++i)
                p = PutHex(p, bytes[a + i], 2);
            *p++ = '\r';
            *p++ = '\n';
            text.append(line, static_cast<std::size_t>(p - line));
            a += n;
        }
    }
    return text;
}

int cmcCloneFile::WriteFile(const std::string& path, const cmcRange* ranges) {
    if (image_ == nullptr)
        FatalError("Clone file written without an image.");
    const std::string text = BuildText(ranges);

    // Written to a temporary file and renamed over the target only when complete, so a failed
    // save never destroys the file that was there.
    QSaveFile file(QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size())));
    if (!file.open(QIODevice::WriteOnly))
        return FileOpen;
    const qint64 size = static_cast<qint64>(text.size());
    if (file.write(text.data(), size) != size) {
        file.cancelWriting();
        return FileAccess;
    }
    if (!file.commit())
        return FileAccess;
    return Ok;
}

int cmcCloneFile::Write(const std::string& path, const cmcRange* ranges) {
    const int result = WriteFile(path, ranges);
    ShowFileError(result);
    return result;
}

int cmcCloneFile::WriteSilently(const std::string& path, const cmcRange* ranges) {
    return WriteFile(path, ranges);
}

int cmcCloneFile::CheckCoverage(const cmcRange* ranges) {
    if (ranges == nullptr || image_ == nullptr || required_.IsEmpty() || loaded_.IsEmpty())
        return Coverage;
    required_.Clear();
    required_.MarkRanges(ranges, *image_);
    if (loaded_ == required_)
        return Ok;
    if (loaded_.HasMarksOutside(required_))
        return Data;
    return Coverage;
}

void cmcCloneFile::ShowFileError(int result) const {
    const char* key = MessageKey(result);
    if (key == nullptr)
        return;
    // Without the program's dictionary every lookup fails the way it does for an unreadable
    // resource file: fatally, naming the key.
    cmcGTex none;
    cmcGTex& texts = cmcGTex::Main() != nullptr ? *cmcGTex::Main() : none;
    // Resource texts are joined as they stand, never used as a format.
    std::string text = texts.Text("GI_Mess_FileErr_Headline");
    text += "\n\n";
    text += texts.Text(key);
    const std::string caption = texts.Text("GI_Sys_AppTitle");
    cmcHost::Instance().MessageBox(caption, text, HostIcon::Warning, HostButtons::Ok);
}

const char* cmcCloneFile::MessageKey(int result) {
    switch (result) {
        case FileOpen:
            return "GI_Mess_FileErr_FileOpen";
        case FileAccess:
            return "GI_Mess_FileErr_FileAccess";
        case Model:
            return "GI_Mess_FileErr_Model";
        case Extra:
            return "GI_Mess_FileErr_Extra";
        case MapRev:
            return "GI_Mess_FileErr_MapRev";
        case Format:
            return "GI_Mess_FileErr_Format";
        case Coverage:
            return "GI_Mess_FileErr_Coverage";
        case Data:
            return "GI_Mess_FileErr_Data";
        case Newer:
            return "GI_Mess_FileErr_Newer";
        default:
            return nullptr;
    }
}

std::string cmcCloneFile::ImageComment(const cmcEeprom& image) {
    std::uint8_t raw[MemoryMap::kCommentLength];
    std::fill(std::begin(raw), std::end(raw), std::uint8_t{' '});
    image.ReadBlock(MemoryMap::kComment, raw, MemoryMap::kCommentLength);
    std::string comment;
    for (std::uint8_t b : raw)
        comment += (b >= 0x20 && b <= 0x7E) ? static_cast<char>(b) : ' ';
    const std::size_t end = comment.find_last_not_of(' ');
    comment.erase(end == std::string::npos ? 0 : end + 1);
    return comment;
}
