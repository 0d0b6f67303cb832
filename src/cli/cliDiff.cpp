// pqt590-cli diff: two clone files compared sheet by sheet and cell by cell.
#include <QCommandLineParser>

#include <cstdio>

#include "cli/cliSession.h"
#include "memory/cmcEeprom.h"
#include "profile/FileCommands.h"
#include "ui/table/cuiImageCompare.h"

namespace {

// diff's statuses, as diff(1) has them: any trouble is 2.
constexpr int kDiffEqual = 0;
constexpr int kDiffDifferent = 1;
constexpr int kDiffTrouble = 2;

}  // namespace

int cliDiff(cliSession& session, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Compares two clone files as the sheets show them: one line for every cell that shows\n"
        "differently, \"[sheet] row / column: \\\"text in A\\\" -> \\\"text in B\\\"\", and a "
        "last\n"
        "line with the addresses of bytes that differ but that no sheet shows. Exit status 0\n"
        "when the files hold the same image, 1 when they differ, 2 on any trouble (a file that\n"
        "cannot be read, a usage error). Both files are opened as the desktop program opens\n"
        "them, so the lines are those of its File > Compare with file.");
    cliSession::AddCommonOptions(parser);
    parser.addPositionalArgument("A", "The first clone file.");
    parser.addPositionalArgument("B", "The second clone file.");
    int exitCode = kExitOk;
    QStringList positionals;
    if (!session.Parse(parser, arguments, {2, 2, "two files A and B are required"}, &positionals,
                       &exitCode))
        return exitCode == kExitOk ? kDiffEqual : kDiffTrouble;
    // The files are opened as the desktop program opens them (the template is needed for
    // that), so that the tool and File > Compare with file list the very same cells.
    if (!session.Start(parser, true))
        return kDiffTrouble;

    cmcEeprom images[2];
    for (int i = 0; i < 2; ++i) {
        const std::string path = positionals[i].toLocal8Bit().toStdString();
        const int status = session.core.ReadImageFile(path, images[i]);
        if (status != 0) {
            session.Report("'" + path + "' cannot be read, file status " + std::to_string(status) +
                           ", status 2");
            return kDiffTrouble;
        }
    }
    const cuiImageComparison result = cuiCompareImages(session.core.Core(), images[0], images[1]);
    for (const cuiImageDifference& d : result.differences)
        std::printf("%s\n", d.Line().c_str());
    if (!result.unshown.empty())
        std::printf("Bytes no sheet shows differ at %s\n", result.UnshownText().c_str());
    std::fflush(stdout);
    if (result.Equal()) {
        session.Report("the files hold the same image, status 0");
        return kDiffEqual;
    }
    const int sheets = result.SheetCount();
    session.Report(std::to_string(result.differences.size()) + " cells differ in " +
                   std::to_string(sheets) + (sheets == 1 ? " sheet" : " sheets") + ", " +
                   std::to_string(result.differentBytes) + " bytes, status 1");
    return kDiffDifferent;
}
