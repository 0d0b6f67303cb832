// pqt590-cli export: one sheet of a clone file as a CSV table, every row as the sheet shows it.
#include <QCommandLineParser>
#include <QSaveFile>

#include <cstdio>

#include "cli/cliSession.h"
#include "cli/cliSheets.h"
#include "ui/table/cuiSheetTable.h"

int cliExport(cliSession& session, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Writes one sheet of a clone file as a CSV table (RFC 4180, UTF-8): the header row with\n"
        "the column captions, then every row with each cell's text as the sheet shows it. A\n"
        "text that begins with =, +, -, @ or ' is written with a ' in front, so that no\n"
        "spreadsheet takes it for a formula; import takes the ' off again. OUT is replaced only\n"
        "once wholly written; '-o -' writes to stdout.");
    cliSession::AddCommonOptions(parser);
    cliAddSheetOption(parser);
    parser.addOption({{"o", "output"}, "The CSV file to write.", "OUT"});
    parser.addPositionalArgument("FILE", "The clone file.");
    int exitCode = kExitOk;
    std::string path;
    if (!session.Parse(parser, arguments, &path, &exitCode))
        return exitCode;
    if (!session.HasOutput(parser, "OUT"))
        return kExitUsage;
    if (!session.Start(parser, true))
        return kExitFile;
    cuiTreeSheet sheet;
    if (!cliTakeSheet(session, parser, &sheet))
        return kExitUsage;

    if (!session.OpenFile(path))
        return kExitFile;
    cuiSheetTable table(session.core.Core(), sheet.reference);
    const std::string csv = table.ExportCsv();

    const QString out = parser.value("output");
    if (out == QLatin1String("-")) {
        std::fwrite(csv.data(), 1, csv.size(), stdout);
        std::fflush(stdout);
    } else {
        QSaveFile file(out);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(csv.data(), qint64(csv.size())) != qint64(csv.size()) || !file.commit()) {
            session.Report("cannot write '" + out.toLocal8Bit().toStdString() +
                           "': " + file.errorString().toLocal8Bit().toStdString());
            return kExitFile;
        }
    }
    session.Report(sheet.caption + ": " + std::to_string(table.Rows()) + " rows written to '" +
                   out.toLocal8Bit().toStdString() + "', status 0");
    return kExitOk;
}
