#include "clone/cmcPortName.h"

#include <QSettings>

std::string cmcPortSettingKey(int portNumber) {
    return "Ports/COM" + std::to_string(portNumber);
}

std::string cmcPortDevice(int portNumber, const cmcSettingLookup& lookup) {
#ifdef _WIN32
    (void)lookup;
    return "\\\\.\\COM" + std::to_string(portNumber);
#else
    const std::string key = cmcPortSettingKey(portNumber);
    std::string stored;
    if (lookup) {
        stored = lookup(key);
    } else {
        QSettings settings(QStringLiteral("Vexa"), QStringLiteral("PQ-T590"));
        stored = settings.value(QString::fromStdString(key)).toString().toLocal8Bit().toStdString();
    }
    if (!stored.empty())
        return stored;
    return "/dev/ttyUSB" + std::to_string(portNumber - 1);
#endif
}
