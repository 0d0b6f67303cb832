#pragma once

#include <string>

// A port as a user names it on a command line: a COM number ("3", "COM3", "com3") or a device
// path ("/dev/ttyUSB0", "\\.\COM12"). A number is resolved like the desktop program's port
// setting (cmcPortDevice); a path is opened as it stands.
struct cmcPortArgument {
    int number = 0;      // 1..255 for a COM number, 0 for a device path
    std::string device;  // the device path, empty for a COM number

    static constexpr int kMaxPortNumber = 255;

    // False (and nothing usable) for an empty text, a number outside 1..255 or "COM" followed
    // by anything but digits.
    static bool Parse(const std::string& text, cmcPortArgument& port);
};
