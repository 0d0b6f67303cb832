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

std::string cmcPortLabel(int portNumber, const std::string& device) {
    if (portNumber <= 0)
        return device;
    const std::string port = "COM" + std::to_string(portNumber);
    const bool itself = device.size() >= port.size() &&
                        device.compare(device.size() - port.size(), port.size(), port) == 0;
    return device.empty() || itself ? port : port + " (" + device + ")";
}
