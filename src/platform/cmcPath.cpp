#include "platform/cmcPath.h"

#include <QString>

cmcPathRules cmcPathRules::Windows() {
    return cmcPathRules{true, "\\/:"};
}
cmcPathRules cmcPathRules::MacOS() {
    return cmcPathRules{true, "/"};
}
cmcPathRules cmcPathRules::Posix() {
    return cmcPathRules{false, "/"};
}

cmcPathRules cmcPathRules::Native() {
#if defined(Q_OS_WIN)
    return Windows();
#elif defined(Q_OS_MACOS)
    return MacOS();
#else
    return Posix();
#endif
}

bool cmcSamePath(const std::string& a, const std::string& b, const cmcPathRules& rules) {
    if (!rules.ignoreCase)
        return a == b;
    if (a == b)
        return true;
    return QString::compare(QString::fromLocal8Bit(a), QString::fromLocal8Bit(b),
                            Qt::CaseInsensitive) == 0;
}

// The byte position just past the last separator, 0 when there is none.
static size_t SplitAt(const std::string& path, const cmcPathRules& rules) {
#if defined(Q_OS_WIN)
    // In a double-byte code page a trailing byte can equal '\'; scan decoded characters and map
    // the position back to bytes (code-page text round-trips exactly there).
    const QString p = QString::fromLocal8Bit(path);
    const QString seps = QString::fromLatin1(rules.separators);
    for (qsizetype i = p.size(); i > 0; --i) {
        if (seps.contains(p[i - 1]))
            return size_t(p.left(i).toLocal8Bit().size());
    }
    return 0;
#else
    // UTF-8 never uses a separator byte inside a multi-byte character, and a byte scan keeps
    // names that are not valid UTF-8 intact.
    const size_t pos = path.find_last_of(rules.separators);
    return pos == std::string::npos ? 0 : pos + 1;
#endif
}

std::string cmcPathDirectory(const std::string& path, const cmcPathRules& rules) {
    return path.substr(0, SplitAt(path, rules));
}

std::string cmcPathFileName(const std::string& path, const cmcPathRules& rules) {
    return path.substr(SplitAt(path, rules));
}
