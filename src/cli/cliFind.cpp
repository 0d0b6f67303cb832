// pqt590-cli find: the cells of a clone file whose shown text matches, sheet by sheet.
#include <QCommandLineParser>

#include <cstdio>

#include "cli/cliSession.h"
#include "cli/cliSheets.h"
#include "ui/table/cuiFind.h"
#include "ui/table/cuiSheetTable.h"

namespace {

// find's statuses, as grep(1) has them: any trouble is 2.
constexpr int kFindMatched = 0;
constexpr int kFindNone = 1;
constexpr int kFindTrouble = 2;

}  // namespace

int cliFind(cliSession& session, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Finds TEXT in the cells of a clone file as the sheets show them (a choice by its shown\n"
        "name, a frequency as \"8291.0\"; \"8291,0\" and \"8291 kHz\" find it too), every sheet "
        "of\n"
        "the tree in tree order, row by row. One line per match:\n"
        "sheet<TAB>row<TAB>column<TAB>text. Exit status 0 when something matched, 1 when\n"
        "nothing did, 2 on any trouble (a file that cannot be read, a usage error).");
    cliSession::AddCommonOptions(parser);
    parser.addOption({"sheet",
                      "Only this sheet: its reference in the tree (GI_Sheet_UserCh) or its "
                      "caption (\"User channels\").",
                      "REF"});
    parser.addOption({"case", "Letter case counts."});
    parser.addOption({"whole", "The whole text of a cell, not a part of it."});
    parser.addPositionalArgument("FILE", "The clone file.");
    parser.addPositionalArgument("TEXT", "What to find.");
    int exitCode = kExitOk;
    QStringList positionals;
    if (!session.Parse(parser, arguments, {2, 2, "FILE and TEXT are required"}, &positionals,
                       &exitCode))
        return exitCode == kExitOk ? kFindMatched : kFindTrouble;
    if (positionals[1].trimmed().isEmpty()) {
        session.Report("TEXT is empty (see --help)");
        return kFindTrouble;
    }
    if (!session.Start(parser, true))
        return kFindTrouble;
    cuiTreeSheet sheet;
    if (parser.isSet("sheet") && !cliTakeSheet(session, parser, &sheet))
        return kFindTrouble;
    if (!session.OpenFile(positionals[0].toLocal8Bit().toStdString()))
        return kFindTrouble;
    cuiFindOptions options;
    options.matchCase = parser.isSet("case");
    options.wholeCell = parser.isSet("whole");
    const cuiFindQuery query(positionals[1].toUtf8().toStdString(), options);
    const std::vector<cuiFindMatch> matches =
        cuiFindInSheets(session.core.Core(), query, sheet.reference);
    for (const cuiFindMatch& m : matches)
        std::printf("%s\n", m.Line().c_str());
    std::fflush(stdout);
    if (matches.empty()) {
        session.Report("nothing matched, status 1");
        return kFindNone;
    }
    session.Report(std::to_string(matches.size()) + (matches.size() == 1 ? " match" : " matches") +
                   ", status 0");
    return kFindMatched;
}
