#include "ui/chrome/cuiShortcut.h"

#include <QString>

namespace {

struct NamedKey {
    const char* name;
    int key;
};

// The key names of the original conversion, and the Qt keys they mean.
const NamedKey kNamedKeys[] = {
    {"BkSp", Qt::Key_Backspace}, {"Tab", Qt::Key_Tab},     {"Esc", Qt::Key_Escape},
    {"Enter", Qt::Key_Return},   {"Space", Qt::Key_Space}, {"PgUp", Qt::Key_PageUp},
    {"PgDn", Qt::Key_PageDown},  {"End", Qt::Key_End},     {"Home", Qt::Key_Home},
    {"Left", Qt::Key_Left},      {"Up", Qt::Key_Up},       {"Right", Qt::Key_Right},
    {"Down", Qt::Key_Down},      {"Ins", Qt::Key_Insert},  {"Del", Qt::Key_Delete},
};

bool TakePrefix(QString& text, const char* prefix) {
    if (!text.startsWith(QLatin1String(prefix), Qt::CaseInsensitive))
        return false;
    text.remove(0, int(qstrlen(prefix)));
    return true;
}

// The Qt key of a key name, or 0.
int KeyOfName(const QString& name) {
    if (name.size() == 1) {
        const QChar c = name.at(0).toUpper();
        if (c.unicode() > 32 && c.unicode() < 127)
            return c.unicode();
        return 0;
    }
    for (const NamedKey& k : kNamedKeys) {
        if (name.compare(QLatin1String(k.name), Qt::CaseInsensitive) == 0)
            return k.key;
    }
    if (name.size() >= 2 && (name.at(0) == QLatin1Char('F') || name.at(0) == QLatin1Char('f'))) {
        bool ok = false;
        const int n = name.mid(1).toInt(&ok);
        if (ok && n >= 1 && n <= 12 && name.mid(1) == QString::number(n))
            return Qt::Key_F1 + (n - 1);
    }
    return 0;
}

}  // namespace

QList<QKeySequence> cuiShortcutsFromText(const std::string& text) {
    QString rest = QString::fromLocal8Bit(text.c_str()).trimmed();
    int modifiers = 0;
    for (;;) {
        if (TakePrefix(rest, "Shift+"))
            modifiers |= Qt::ShiftModifier;
        else if (TakePrefix(rest, "Ctrl+"))
            modifiers |= Qt::ControlModifier;
        else if (TakePrefix(rest, "Alt+"))
            modifiers |= Qt::AltModifier;
        else
            break;
    }
    const int key = KeyOfName(rest);
    if (key == 0)
        return {};
    if (key == Qt::Key_Return)
        return {QKeySequence(modifiers | Qt::Key_Enter), QKeySequence(modifiers | Qt::Key_Return),
                QKeySequence(modifiers | Qt::Key_Enter | Qt::KeypadModifier)};
    return {QKeySequence(modifiers | key)};
}

QKeySequence cuiShortcutFromText(const std::string& text) {
    const QList<QKeySequence> all = cuiShortcutsFromText(text);
    return all.isEmpty() ? QKeySequence() : all.first();
}
