// pqt590-cli: clone information, clone read, clone write, file checks, printing, sheet tables
// and compare without a window, for scripts. Each subcommand lives in its own file; this one
// picks it.
#include <QApplication>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <memory>

#include "cli/cliQtMessages.h"
#include "cli/cliSession.h"

const char kCliHelpTail[] =
    "Commands:\n"
    "  info  --port P              shows the radio's model, revision and comment\n"
    "  read  --port P -o FILE      reads the radio into a clone file (replaced only after a\n"
    "                              successful read)\n"
    "  write --port P FILE         writes a clone file to the radio (no question: the command\n"
    "                              line is the confirmation)\n"
    "        [--backup BACKUP]     first reads the radio and saves what it held to BACKUP;\n"
    "                              nothing is written when that fails\n"
    "        [--dry-run]           only reads the radio and prints what the write would\n"
    "                              change there, as diff prints it (radio -> file)\n"
    "        [--verify]            reads the radio back after the write and compares it\n"
    "                              byte for byte with what was written\n"
    "  check FILE                  checks a clone file and lists the sheets with errors or\n"
    "                              notices\n"
    "  print FILE -o OUT.pdf       prints every sheet of a clone file (or one: --sheet REF)\n"
    "                              to a PDF file (--page-size A4|Letter|...)\n"
    "  export FILE --sheet REF -o OUT.csv\n"
    "                              writes one sheet as a CSV table\n"
    "  import FILE --sheet REF IN.csv -o OUT.t590 [--partial]\n"
    "                              reads a CSV table into one sheet, cell by cell, and saves\n"
    "                              the result (only when every text was taken, without\n"
    "                              --partial); refused texts are listed\n"
    "  diff A.t590 B.t590          lists every cell that shows differently, by sheet, row and\n"
    "                              column (exit status 0 equal, 1 different, 2 trouble)\n"
    "  find FILE TEXT [--sheet REF] [--case] [--whole]\n"
    "                              lists the cells whose shown text matches, one line each:\n"
    "                              sheet, row, column, text (exit status 0 found, 1 none)\n"
    "  sort FILE --sheet REF --column CAPTION [--descending] -o OUT.t590\n"
    "                              sorts a sheet's rows by one column and saves the result\n"
    "  port  N [DEVICE]            shows (or keeps) the device COM port N stands for\n"
    "  sheets                      lists the sheets --sheet names: reference, tab, caption\n"
    "  fleet --port P FILE --journal J.csv [--radios R.csv] [--count N] [--no-backup]\n"
    "        [--backup-dir DIR] [--no-verify] [--wait]\n"
    "                              writes FILE to radio after radio (several ports: 1,2,3),\n"
    "                              each backed up, given its own values, verified and\n"
    "                              journaled; exit status 3 when a radio failed\n"
    "  Each takes --help.\n"
    "\n"
    "Ports: a COM number (3 or COM3; on Linux the device stored for it in the settings, else\n"
    "/dev/ttyUSB2) or a device path (/dev/ttyUSB0, /dev/pts/4).\n"
    "\n"
    "Messages (the program's own texts) and a result line with the status go to stderr. On a\n"
    "terminal, read and write show a progress bar. An interrupt (Ctrl-C) during a write waits\n"
    "until the transfer has ended: a radio written half-way would hold part old, part new\n"
    "memory.\n"
    "\n"
    "Exit status:\n"
    "  0  success\n"
    "  1  usage error\n"
    "  2  file error (a clone file, a CSV table, a resource file or the file written)\n"
    "  3  clone error (the radio or the cable)\n"
    "  4  the data has errors (check, write), or texts were refused (import)\n";

namespace {

void PrintUsage(std::FILE* out) {
    std::fprintf(out,
                 "Usage: pqt590-cli COMMAND [options]\n\n"
                 "The T590 programmer on the command line.\n\n"
                 "Options of every command:\n"
                 "  --resources DIR  where PQT590.OVL and the initial clone file are\n"
                 "                   (default: beside the program, else ../share/pqt590\n"
                 "                   from its folder: /usr/share/pqt590 for /usr/bin)\n"
                 "  --expert         expert mode\n"
                 "  --gene           general-coverage mode\n"
                 "  -h, --help       help (of a command: pqt590-cli COMMAND --help)\n"
                 "  --version        the program's version\n\n%s",
                 kCliHelpTail);
}

// The subcommands that build sheets need widgets; they never show one, so they run on the
// offscreen platform unless another is asked for.
bool NeedsWidgets(const char* command) {
    for (const char* name : {"print", "export", "import", "diff", "fleet", "find", "sort", "write"})
        if (std::strcmp(command, name) == 0)
            return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    cliDropQtFolderRemarks();
    const bool widgets = argc > 1 && NeedsWidgets(argv[1]);
    if (widgets && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        widgets ? std::make_unique<QApplication>(argc, argv)
                : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pqt590-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PQ_VERSION));

    QStringList arguments = QCoreApplication::arguments();
    const QString command = arguments.size() > 1 ? arguments.at(1) : QString();
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        PrintUsage(stdout);
        return kExitOk;
    }
    if (command == QLatin1String("--version")) {
        std::printf("pqt590-cli %s\n", PQ_VERSION);
        return kExitOk;
    }
    using Run = int (*)(cliSession&, const QStringList&);
    Run run = nullptr;
    if (command == QLatin1String("info"))
        run = &cliInfo;
    else if (command == QLatin1String("read"))
        run = &cliRead;
    else if (command == QLatin1String("write"))
        run = &cliWrite;
    else if (command == QLatin1String("check"))
        run = &cliCheck;
    else if (command == QLatin1String("print"))
        run = &cliPrint;
    else if (command == QLatin1String("export"))
        run = &cliExport;
    else if (command == QLatin1String("import"))
        run = &cliImport;
    else if (command == QLatin1String("diff"))
        run = &cliDiff;
    else if (command == QLatin1String("find"))
        run = &cliFind;
    else if (command == QLatin1String("sort"))
        run = &cliSort;
    else if (command == QLatin1String("port"))
        run = &cliPort;
    else if (command == QLatin1String("sheets"))
        run = &cliListSheets;
    else if (command == QLatin1String("fleet"))
        run = &cliFleet;
    if (run == nullptr) {
        if (command.isEmpty())
            std::fprintf(stderr, "pqt590-cli: a command is required\n\n");
        else
            std::fprintf(stderr, "pqt590-cli: unknown command '%s'\n\n",
                         command.toLocal8Bit().constData());
        PrintUsage(stderr);
        return kExitUsage;
    }
    arguments.removeAt(1);
    cliSession session;
    session.command = command.toStdString();
    return run(session, arguments);
}
