// pqt590-cli check: a clone file opened with every check, then the warning check, listed per
// sheet of the tree.
#include <QCommandLineParser>

#include <cstdio>

#include "cli/cliSession.h"

int cliCheck(cliSession& session, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Opens a clone file with every file check and the model check, then runs the warning\n"
        "check and lists, per sheet, whether it holds errors or notices. Exit status 0 when the\n"
        "file is valid and holds no errors.");
    cliSession::AddCommonOptions(parser);
    parser.addPositionalArgument("FILE", "The clone file to check.");
    int exitCode = kExitOk;
    std::string path;
    if (!session.Parse(parser, arguments, &path, &exitCode))
        return exitCode;
    if (!session.Start(parser, true))
        return kExitFile;

    const int opened = session.core.OpenFile(path);
    if (opened != 0) {
        std::printf("%s: invalid clone file (file status %d)\n", path.c_str(), opened);
        session.Report("failed, file status " + std::to_string(opened));
        return kExitFile;
    }
    std::printf("%s: valid clone file\n", path.c_str());

    int errors = 0;
    session.core.RunWarningCheck(&errors);
    for (const indSession::SheetMark& m : session.core.SheetMarks())
        std::printf("  %-32s %s\n", m.caption.c_str(),
                    m.errors    ? "errors"
                    : m.notices ? "notices"
                                : "ok");
    std::fflush(stdout);
    if (errors > 0) {
        session.Report("the data has errors in " + std::to_string(errors) +
                       (errors == 1 ? " sheet" : " sheets") + ", status 4");
        return kExitDataErrors;
    }
    session.Report("status 0");
    return kExitOk;
}
