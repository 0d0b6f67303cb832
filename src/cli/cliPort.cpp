// pqt590-cli port: which serial device a COM number stands for, and keeping another one, as the
// desktop program's Port menu does (settings key "Ports/COMn"). Scripts use it to point the
// program at a cable's device or at the demo radio's pseudo-terminal.
#include <QCommandLineParser>

#include <cstdio>

#include "cli/cliSession.h"
#include "clone/cmcPortArgument.h"
#include "clone/cmcPortName.h"
#include "memory/indEnviron.h"
#include "platform/cmcSettingsStore.h"

namespace {

// "Ports/COM3" as the store's group and value name.
void SplitKey(const std::string& key, std::string* group, std::string* name) {
    const size_t slash = key.find('/');
    *group = key.substr(0, slash);
    *name = key.substr(slash + 1);
}

}  // namespace

int cliPort(cliSession& session, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Shows the serial device that COM port N stands for (on Linux the device kept in the\n"
        "settings, else /dev/ttyUSB(N-1)), or keeps DEVICE for it. --default forgets the kept\n"
        "device, so that the default applies again. The desktop program's Port menu does the\n"
        "same.");
    cliSession::AddCommonOptions(parser);
    parser.addOption({"default", "Forget the device kept for N."});
    parser.addPositionalArgument("N", "The COM port number (1-99, or COMn).");
    parser.addPositionalArgument("DEVICE", "The device to keep for it (/dev/ttyUSB0).", "[DEVICE]");
    int exitCode = kExitOk;
    QStringList positionals;
    if (!session.Parse(parser, arguments, {1, 2, "N and at most one DEVICE are required"},
                       &positionals, &exitCode))
        return exitCode;
    cmcPortArgument port;
    const std::string number = positionals[0].toLocal8Bit().toStdString();
    if (!cmcPortArgument::Parse(number, port) || port.number <= 0) {
        session.Report("'" + number + "' is not a COM port number");
        return kExitUsage;
    }
    if (parser.isSet("default") && positionals.size() == 2) {
        session.Report("--default takes no DEVICE");
        return kExitUsage;
    }

    cmcSettingsStore store(indEnviron::kSettingsKey);
    std::string group;
    std::string name;
    SplitKey(cmcPortSettingKey(port.number), &group, &name);
    if (parser.isSet("default") || positionals.size() == 2) {
        const std::string device =
            parser.isSet("default") ? std::string() : positionals[1].toLocal8Bit().toStdString();
        store.WriteText(group.c_str(), name.c_str(), device);
        if (!store.Flush()) {
            session.Report("the settings cannot be written (" + store.Location() + ")");
            return kExitFile;
        }
    }
    const auto lookup = [&store](const std::string& key) {
        std::string g;
        std::string n;
        SplitKey(key, &g, &n);
        std::string value;
        store.ReadText(g.c_str(), n.c_str(), value);
        return value;
    };
    std::printf("COM%d %s\n", port.number, cmcPortDevice(port.number, lookup).c_str());
    std::fflush(stdout);
    return kExitOk;
}
