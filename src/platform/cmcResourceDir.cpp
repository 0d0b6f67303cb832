#include "platform/cmcResourceDir.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include "platform/cmcHost.h"

#ifndef PQ_DATA_SUBDIR
#define PQ_DATA_SUBDIR ""
#endif

namespace {

std::string WithSeparator(const QString& dir) {
    return QDir::toNativeSeparators(dir + QLatin1Char('/')).toLocal8Bit().toStdString();
}

}  // namespace

std::vector<std::string> cmcResourceDirCandidates(const std::string& executableDir) {
    std::vector<std::string> dirs{executableDir};
    const QString sub = QStringLiteral(PQ_DATA_SUBDIR);
    if (!sub.isEmpty() && !executableDir.empty()) {
        const QString data =
            QDir::cleanPath(QString::fromLocal8Bit(executableDir.c_str()) + QLatin1Char('/') + sub);
        const std::string dir = WithSeparator(data);
        if (dir != executableDir)
            dirs.push_back(dir);
    }
    return dirs;
}

std::string cmcFindResourceDir(const std::string& executableDir, const std::string& fileName) {
    for (const std::string& dir : cmcResourceDirCandidates(executableDir)) {
        if (QFileInfo(QString::fromLocal8Bit((dir + fileName).c_str())).isFile())
            return dir;
    }
    return executableDir;
}

std::string cmcResourceDir(const std::string& fileName) {
    return cmcFindResourceDir(cmcHost::Instance().ExecutableDir(), fileName);
}
