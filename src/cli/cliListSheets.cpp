// pqt590-cli sheets: the sheets that --sheet can name, one line each, for people and for the
// shell's completion.
#include <QCommandLineParser>

#include <cstdio>

#include "cli/cliSession.h"
#include "ui/table/cuiSheetTable.h"

int cliListSheets(cliSession& session, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Lists the sheets of the tree in tree order, one line each: the reference that --sheet\n"
        "takes, a tab and the sheet's caption (which --sheet takes too).");
    cliSession::AddCommonOptions(parser);
    int exitCode = kExitOk;
    if (!session.Parse(parser, arguments, &exitCode))
        return exitCode;
    if (!session.TakePositionals(parser, nullptr))
        return kExitUsage;
    if (!session.Start(parser, false))
        return kExitFile;
    for (const cuiTreeSheet& sheet : cuiTreeSheets(session.core.Dictionary()))
        std::printf("%s\t%s\n", sheet.reference.c_str(), sheet.caption.c_str());
    std::fflush(stdout);
    return kExitOk;
}
