// pqt590-cli import: a CSV table handed to one sheet of a clone file cell by cell, through the
// cells' own behaviours, and the result saved as another clone file.
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

#include "cli/cliSession.h"
#include "cli/cliSheets.h"
#include "ui/table/cuiSheetTable.h"

int cliImport(cliSession& session, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Reads a CSV table of one sheet (as export writes it) into a clone file and saves the\n"
        "result as OUT. Each text that differs from what its cell shows is given to the cell as\n"
        "typed input (or, for a cell with a list, as the choice with that text); a text the cell\n"
        "refuses or would show otherwise leaves the cell as it was and is listed on stdout, as\n"
        "is a row whose fixed cells (numbers, captions) are not the sheet's. Texts that begin\n"
        "with =, +, -, @ must carry a ' in front as export writes them. OUT is written, at once\n"
        "and whole, only when every text was taken, or with --partial with the texts that were.");
    cliSession::AddCommonOptions(parser);
    cliAddSheetOption(parser);
    parser.addOption({{"o", "output"}, "The clone file to write.", "OUT"});
    parser.addOption({"partial",
                      "Writes OUT with the texts that were taken even when others "
                      "were refused (the status is still 4)."});
    parser.addPositionalArgument("FILE", "The clone file to start from.");
    parser.addPositionalArgument("IN", "The CSV table.");
    int exitCode = kExitOk;
    QStringList positionals;
    if (!session.Parse(parser, arguments, {2, 2, "FILE and IN are required"}, &positionals,
                       &exitCode))
        return exitCode;
    if (!session.HasOutput(parser, "OUT"))
        return kExitUsage;
    const std::string path = positionals[0].toLocal8Bit().toStdString();
    const QString in = positionals[1];
    const std::string inName = in.toLocal8Bit().toStdString();
    const std::string out = parser.value("output").toLocal8Bit().toStdString();
    if (!session.Start(parser, true))
        return kExitFile;
    cuiTreeSheet sheet;
    if (!cliTakeSheet(session, parser, &sheet))
        return kExitUsage;

    // Nothing near a sheet's table is this large; do not read it all to find out.
    QFile file(in);
    if (QFileInfo(in).size() > qint64(cuiSheetTable::kMaxFileBytes)) {
        session.Report("'" + inName + "' is larger than " +
                       std::to_string(cuiSheetTable::kMaxFileBytes >> 20) +
                       " MB: not a sheet's table");
        return kExitFile;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        session.Report("cannot read '" + inName +
                       "': " + file.errorString().toLocal8Bit().toStdString());
        return kExitFile;
    }
    const QByteArray csv = file.read(qint64(cuiSheetTable::kMaxFileBytes) + 1);

    if (!session.OpenFile(path))
        return kExitFile;
    cuiSheetTable table(session.core.Core(), sheet.reference);
    const cuiTableImport result =
        table.ImportCsv(std::string_view(csv.constData(), std::size_t(csv.size())),
                        cuiSheetTable::Apply::kWhatWasTaken);
    if (result.fileRefused) {
        session.Report("'" + inName + "': " + result.fileError + "; nothing written");
        return kExitFile;
    }
    for (const cuiTableIssue& issue : result.issues)
        std::printf("%s: %s\n", inName.c_str(), issue.Describe().c_str());
    std::fflush(stdout);

    const std::string counts = sheet.caption + ": " + std::to_string(result.taken) +
                               " cells taken, " + std::to_string(result.unchanged) +
                               " unchanged, " + std::to_string(result.issues.size()) + " refused";
    const bool partial = parser.isSet("partial");
    if (!result.Complete() && !partial) {
        session.Report(counts + "; '" + out + "' not written (--partial writes what was taken)" +
                       ", status 4");
        return kExitDataErrors;
    }
    const int saved = session.core.SaveFile(out);
    if (saved != 0) {
        session.Report("failed, file status " + std::to_string(saved));
        return kExitFile;
    }
    if (!result.Complete()) {
        session.Report(counts + "; '" + out + "' written with what was taken, status 4");
        return kExitDataErrors;
    }
    session.Report(counts + "; saved '" + out + "', status 0");
    return kExitOk;
}
