#include "platform/cmcSettingsStore.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>
#include <limits>

namespace {

QString Key(const char* group, const char* name) {
    return QString::fromLatin1(group) + QLatin1Char('/') + QString::fromLatin1(name);
}

std::unique_ptr<QSettings> NativeSettings(const std::string& settingsKey) {
#if defined(Q_OS_WIN)
    return std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\") + QString::fromLocal8Bit(settingsKey),
        QSettings::NativeFormat);
#else
    QStringList parts =
        QString::fromLocal8Bit(settingsKey).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    const QString application = parts.isEmpty() ? QString() : parts.takeLast();
    const QString organisation = parts.isEmpty() ? QString() : parts.takeLast();
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation,
                                       application);
#endif
}

bool IsDecimal(const QString& s) {
    qsizetype i = 0;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
        ++i;
    if (i == s.size())
        return false;
    for (; i < s.size(); ++i) {
        if (s[i] < QLatin1Char('0') || s[i] > QLatin1Char('9'))
            return false;
    }
    return true;
}

bool FitsInt32(qlonglong v) {
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

}  // namespace

cmcSettingsStore::cmcSettingsStore(const std::string& settingsKey)
    : settings_(NativeSettings(settingsKey)) {}

cmcSettingsStore::cmcSettingsStore(std::unique_ptr<QSettings> settings)
    : settings_(std::move(settings)) {}

cmcSettingsStore::~cmcSettingsStore() = default;

std::unique_ptr<cmcSettingsStore> cmcSettingsStore::OnFile(const std::string& path) {
    return std::unique_ptr<cmcSettingsStore>(new cmcSettingsStore(
        std::make_unique<QSettings>(QString::fromLocal8Bit(path), QSettings::IniFormat)));
}

bool cmcSettingsStore::ReadInt(const char* group, const char* name, int32_t& value) const {
    const QVariant v = settings_->value(Key(group, name));
    switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::Short:
        case QMetaType::LongLong: {
            const qlonglong n = v.toLongLong();
            if (!FitsInt32(n))
                return false;
            value = static_cast<int32_t>(n);
            return true;
        }
        case QMetaType::UInt:
        case QMetaType::UShort:
        case QMetaType::ULongLong: {
            const qulonglong n = v.toULongLong();
            if (n > std::numeric_limits<uint32_t>::max())
                return false;
            value = static_cast<int32_t>(static_cast<uint32_t>(n));
            return true;
        }
        case QMetaType::QString:
        case QMetaType::QByteArray: {
            // Files keep every value as text; a number written by hand or by another program
            // counts only when it is plainly a decimal integer.
            const QString s = v.toString();
            if (!IsDecimal(s))
                return false;
            bool ok = false;
            const qlonglong n = s.toLongLong(&ok, 10);
            if (!ok || !FitsInt32(n))
                return false;
            value = static_cast<int32_t>(n);
            return true;
        }
        default:
            return false;  // missing, or a list, a flag, a fraction...
    }
}

bool cmcSettingsStore::ReadText(const char* group, const char* name, std::string& value) const {
    const QVariant v = settings_->value(Key(group, name));
    if (v.typeId() != QMetaType::QString)
        return false;
    value = v.toString().toLocal8Bit().toStdString();
    return true;
}

void cmcSettingsStore::WriteInt(const char* group, const char* name, int32_t value) {
    settings_->setValue(Key(group, name), static_cast<int>(value));
}

void cmcSettingsStore::WriteText(const char* group, const char* name, const std::string& value) {
    settings_->setValue(Key(group, name), QString::fromLocal8Bit(value));
}

bool cmcSettingsStore::Flush() {
    settings_->sync();
    // A format error belongs to the earlier reading of a damaged file, which the write replaces.
    return settings_->status() != QSettings::AccessError;
}

std::string cmcSettingsStore::Location() const {
    return settings_->fileName().toLocal8Bit().toStdString();
}
