#include "session/indRecovery.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>

#include "memory/cmcEeprom.h"
#include "platform/cmcLockFile.h"
#include "profile/FileCommands.h"

namespace {

// Encoded text per header line: well within the clone file reader's line limit.
constexpr int kNameChunk = 600;
// Header lines are short; a longer one is no header line of ours.
constexpr qint64 kMaxHeaderLine = 1024;

QString Q(const std::string& s) {
    return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size()));
}

std::string Local(const QString& s) {
    return s.toLocal8Bit().toStdString();
}

}  // namespace

indRecovery::indRecovery() = default;

indRecovery::~indRecovery() {
    Release();
}

bool indRecovery::Claim(const std::string& dir) {
    Release();
    if (dir.empty() || !QDir().mkpath(Q(dir)))
        return false;
    auto lock = std::make_unique<QLockFile>(QDir(Q(dir)).filePath(kLockFileName));
    // Age never makes the lock stale (a session runs for days); a dead holder's lock is taken.
    lock->setStaleLockTime(0);
    if (!cmcTryLockFile(*lock))
        return false;
    lock_ = std::move(lock);
    dir_ = dir;
    if (HasFile()) {
        const QString earlier = Q(EarlierFilePath());
        // A newer leftover replaces an older one that was never restored or discarded.
        if (QFile::exists(earlier))
            QFile::remove(earlier);
        QFile::rename(Q(FilePath()), earlier);
    }
    return true;
}

void indRecovery::Release() {
    if (lock_)
        cmcUnlockFile(*lock_);
    lock_.reset();
    dir_.clear();
}

std::string indRecovery::FilePath() const {
    return Local(QDir(Q(dir_)).filePath(kFileName));
}

std::string indRecovery::EarlierFilePath() const {
    return Local(QDir(Q(dir_)).filePath(kEarlierFileName));
}

bool indRecovery::Write(const cmcEeprom& image, const std::string& fileName) {
    if (!IsActive())
        return false;
    return FileCommands::SaveCloneFileSilently(FilePath(), image, FileNameLines(fileName)) == 0;
}

bool indRecovery::HasFile() const {
    return IsActive() && QFile::exists(Q(FilePath()));
}

void indRecovery::Remove() {
    if (IsActive())
        QFile::remove(Q(FilePath()));
}

bool indRecovery::HasEarlier() const {
    return IsActive() && QFile::exists(Q(EarlierFilePath()));
}

int indRecovery::ReadEarlier(cmcEeprom& image, std::string* fileName) const {
    const int result = FileCommands::OpenCloneFile(EarlierFilePath(), image);
    if (result == 0 && fileName != nullptr)
        *fileName = FileNameIn(EarlierFilePath());
    return result;
}

void indRecovery::RemoveEarlier() {
    if (IsActive())
        QFile::remove(Q(EarlierFilePath()));
}

std::vector<std::string> indRecovery::FileNameLines(const std::string& fileName) {
    // Any bytes and any length survive: encoded, a name holds neither line ends nor a "#"
    // line's limit.
    const QByteArray encoded = Q(fileName).toUtf8().toPercentEncoding("/\\:.");
    std::vector<std::string> lines;
    qsizetype at = 0;
    do {
        lines.push_back(kFileNameTag + encoded.mid(at, kNameChunk).toStdString());
        at += kNameChunk;
    } while (at < encoded.size());
    return lines;
}

std::string indRecovery::FileNameIn(const std::string& path) {
    QFile file(Q(path));
    if (!file.open(QIODevice::ReadOnly))
        return std::string();
    file.readLine(kMaxHeaderLine);  // the identification line
    QByteArray encoded;
    while (!file.atEnd()) {
        QByteArray line = file.readLine(kMaxHeaderLine);
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        if (!line.startsWith('#'))
            break;  // the data lines begin
        if (line.startsWith(kFileNameTag))
            encoded += line.mid(static_cast<qsizetype>(sizeof kFileNameTag - 1));
    }
    return Local(QString::fromUtf8(QByteArray::fromPercentEncoding(encoded)));
}

std::string indRecovery::StandardDirectory() {
    return Local(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}
