// pqt590-cli sort: the rows of one sheet of a clone file put in order by one column, through
// the row edits the sheets use, and the result saved.
#include <QCommandLineParser>

#include "cli/cliSession.h"
#include "cli/cliSheets.h"
#include "ui/table/cuiSheetTable.h"
#include "ui/table/cuiSortRows.h"

namespace {

// A caption on one line, its blanks run together: "Receive\nkHz" and "receive kHz" are one.
QString Simplified(const QString& caption) {
    return caption.simplified();
}

// The column whose caption (as the CSV export's header row has it) is caption; -1 when none.
int ColumnOf(cuiSheetTable& table, const QString& caption) {
    for (int c = 0; c < table.Columns(); ++c) {
        const std::string own = table.ColumnCaption(c);
        if (Simplified(QString::fromUtf8(own.data(), qsizetype(own.size())))
                .compare(Simplified(caption), Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

}  // namespace

int cliSort(cliSession& session, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Sorts the rows of one sheet of a clone file by one column and saves the result: the\n"
        "rows in use by what the column shows (numbers and frequencies by value, texts without\n"
        "regard to letter case, equal ones kept in their order), the unused rows after them.\n"
        "Records move whole, with everything that belongs to them, as the sheet's row edits\n"
        "move them. The sheet's rows must be records (channels, address book, DSC pairs).");
    cliSession::AddCommonOptions(parser);
    cliAddSheetOption(parser);
    parser.addOption({"column",
                      "The column to sort by, its caption as the CSV export's header row has it "
                      "(a line break in it may be given as a blank: \"Receive kHz\").",
                      "CAPTION"});
    parser.addOption({"descending", "Largest first."});
    parser.addOption({{"o", "output"}, "The clone file to write.", "OUT"});
    parser.addPositionalArgument("FILE", "The clone file.");
    int exitCode = kExitOk;
    std::string path;
    if (!session.Parse(parser, arguments, &path, &exitCode))
        return exitCode;
    if (!session.HasOutput(parser, "OUT.t590"))
        return kExitUsage;
    if (!parser.isSet("column") || parser.value("column").trimmed().isEmpty()) {
        session.Report("--column CAPTION is required (see --help)");
        return kExitUsage;
    }
    if (!session.Start(parser, true))
        return kExitFile;
    cuiTreeSheet sheet;
    if (!cliTakeSheet(session, parser, &sheet))
        return kExitUsage;
    if (!session.OpenFile(path))
        return kExitFile;
    int col = -1;
    {
        cuiSheetTable table(session.core.Core(), sheet.reference);
        col = ColumnOf(table, parser.value("column"));
        if (col < 0) {
            std::string list;
            for (int c = 0; c < table.Columns(); ++c)
                list += "\n  " + table.ColumnCaption(c);
            session.Report("no column '" + parser.value("column").toLocal8Bit().toStdString() +
                           "' in " + sheet.caption + "; its columns are:" + list);
            return kExitUsage;
        }
    }
    const cuiSortResult result =
        cuiSortRows(session.core.Core(), sheet.reference, col, parser.isSet("descending"));
    if (result.outcome == cuiSortResult::kNotARowTable) {
        session.Report(sheet.caption +
                       ": its rows are not records that can be moved; nothing "
                       "written");
        return kExitUsage;
    }
    if (result.outcome == cuiSortResult::kNoColumn) {
        session.Report("the column '" + parser.value("column").toLocal8Bit().toStdString() +
                       "' shows nothing to sort by; nothing written");
        return kExitUsage;
    }
    session.core.CommitChange(indSession::UndoStep::Sort, sheet.caption);
    const std::string out = parser.value("output").toLocal8Bit().toStdString();
    const int saved = session.core.SaveFile(out);
    if (saved != 0) {
        session.Report("failed, file status " + std::to_string(saved));
        return kExitFile;
    }
    std::string counts = sheet.caption + ": " + std::to_string(result.rows) + " rows sorted";
    if (result.refused > 0)
        counts += ", " + std::to_string(result.refused) + " rows the radio does not use left " +
                  "where they are";
    session.Report(counts + (result.moved ? "" : " (they were in order already)") + "; saved '" +
                   out + "', status 0");
    return kExitOk;
}
