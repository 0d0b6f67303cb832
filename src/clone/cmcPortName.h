#pragma once

#include <functional>
#include <string>

// Which device a COM port number means on this platform. Windows: the port itself (with the
// "\\.\" prefix that ports above COM9 need). POSIX: the device path stored under the settings
// key "Ports/COMn", else /dev/ttyUSB(n-1).
using cmcSettingLookup = std::function<std::string(const std::string& key)>;

// The lookup reads the program's settings store; pass one to resolve against other settings.
std::string cmcPortDevice(int portNumber, const cmcSettingLookup& lookup = cmcSettingLookup());

// The settings key that names the device of COM port n on POSIX systems.
std::string cmcPortSettingKey(int portNumber);

// How a port is named to the user: "COM3", with the device it stands for when that is not the
// port itself ("COM3 (/dev/ttyUSB2)", but "COM3" for \\.\COM3); a device alone (number 0) as it
// stands; "COM3" when the device is not known (empty).
std::string cmcPortLabel(int portNumber, const std::string& device);
