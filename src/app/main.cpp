// pqt590: the desktop program: the Qt application, the GUI host, and the program's global objects
// (cuiProgram) in their order.
#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/cuiGuiHost.h"
#include "app/cuiProgram.h"

namespace {

// The help that --help prints (and that the manual page is made from). The program reads no
// resource file for it: it must answer on a machine without a display, before Qt starts.
const char kHelp[] =
    "Usage: pqt590 [/expert] [/gene] [FILE.t590]\n"
    "\n"
    "The PQ-T590 programmer: reads the memory of a T590 marine HF transceiver over its serial\n"
    "cloning cable, edits its channels, band edges, modes, DSC address book and settings in\n"
    "spreadsheet-like sheets, checks and prints them, writes them back to the radio and keeps\n"
    "them in clone files (.t590).\n"
    "\n"
    "Options:\n"
    "  FILE.t590      opens this clone file (as the file manager does with a double-click)\n"
    "  /expert        expert mode: the expert-only settings can be edited\n"
    "  /gene          general-coverage mode: the wide frequency check\n"
    "  -h, --help     shows this help and exits\n"
    "  --version      shows the program's version and exits\n"
    "\n"
    "Only one copy runs at a time: a second start ends at once. The desktop program needs a\n"
    "display ($DISPLAY or $WAYLAND_DISPLAY); pqt590-cli reads, writes, checks, prints and\n"
    "exports clone files without one (pqt590-cli --help).\n"
    "\n"
    "First connection: plug the cloning cable into the PC and the radio, choose its port in the\n"
    "Port menu and use Clone > Read from radio. On Linux the serial ports belong to the group\n"
    "dialout: a user outside it cannot open them. Join it once with\n"
    "  sudo usermod -aG dialout $USER\n"
    "and log out and in again.\n"
    "\n"
    "Files:\n"
    "  PQT590.OVL, PQT590_Default.t590, PQT590_Help.html\n"
    "                 the texts and layouts, the initial clone file and the help: beside the\n"
    "                 program, else in ../share/pqt590/ from its folder (/usr/share/pqt590/)\n"
    "  ~/.config/Vexa/PQ-T590.conf\n"
    "                 the remembered settings (port devices, recent files, window places)\n";

bool Asked(int argc, char** argv, std::initializer_list<const char*> names) {
    for (int i = 1; i < argc; ++i)
        for (const char* name : names)
            if (std::strcmp(argv[i], name) == 0)
                return true;
    return false;
}

// Without a display Qt's platform plugin ends the program with a page about plugins; say in one
// line what is wrong and what works instead. An explicit platform (QT_QPA_PLATFORM or
// -platform) is taken as asked for.
bool DisplayMissing(int argc, char** argv) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        Asked(argc, argv, {"-platform", "--platform"}))
        return false;
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    (void)argc;
    (void)argv;
    return false;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (Asked(argc, argv, {"-h", "--help"})) {
        std::fputs(kHelp, stdout);
        return EXIT_SUCCESS;
    }
    if (Asked(argc, argv, {"--version"})) {
        std::printf("pqt590 %s\n", PQ_VERSION);
        return EXIT_SUCCESS;
    }
    if (DisplayMissing(argc, argv)) {
        std::fputs(
            "pqt590: no display (neither DISPLAY nor WAYLAND_DISPLAY is set): the desktop "
            "program needs one; pqt590-cli works without.\n",
            stderr);
        return EXIT_FAILURE;
    }

    QApplication app(argc, argv);
    cuiProgram::NameApplication();

    cuiGuiHost host;
    cmcHost::Install(&host);

    std::vector<std::string> arguments;
    for (const QString& a : QCoreApplication::arguments())
        arguments.push_back(a.toLocal8Bit().toStdString());

    int status = 0;
    try {
        cuiProgram program(host, arguments);
        // Another copy runs: this one ends at once and changes nothing; silently when the copy
        // took its file (or there was none), with 1 when a file could not be handed.
        if (!program.Start())
            return program.HandFailed() ? 1 : 0;
        status = app.exec();
    } catch (const std::exception& e) {
        // Whatever escapes start-up or the event loop is shown, and then the program ends.
        host.Fatal(e.what());
    }
    cmcHost::Install(nullptr);
    return status;
}
