// pqt590-cli write: a clone file opened with every check, refused when the warning check finds
// errors, then written to the radio. The radio is touched only when every check passed; with
// --backup it is first read and what it held saved, and written only when that file is saved.
#include <QCommandLineParser>

#include <cstdio>

#include "cli/cliInterruptHold.h"
#include "cli/cliSession.h"
#include "memory/cmcEeprom.h"
#include "ui/table/cuiImageCompare.h"

namespace {

// The dry run's comparison: what the radio holds against what the write would leave there, in
// diff's lines.
void PrintPreview(cliSession& session) {
    cmcEeprom next;
    session.core.ImageAsWritten(next);
    const cuiImageComparison comparison =
        cuiCompareImages(session.core.Core(), session.core.RadioBeforeWrite(), next);
    for (const cuiImageDifference& d : comparison.differences)
        std::printf("%s\n", d.Line().c_str());
    if (!comparison.unshown.empty())
        std::printf("Bytes no sheet shows differ at %s\n", comparison.UnshownText().c_str());
    std::fflush(stdout);
    if (session.core.PreviewDifferingBytes() == 0) {
        session.Report(session.core.Dictionary().Text("GI_Mess_Preview_Same") +
                       "; nothing was written, status 0");
        return;
    }
    const int sheets = comparison.SheetCount();
    session.Report("dry run: " + std::to_string(comparison.differences.size()) +
                   " cells differ in " + std::to_string(sheets) +
                   (sheets == 1 ? " sheet" : " sheets") + "; nothing was written, status 0");
}

std::string Hex(int address) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", address);
    return text;
}

}  // namespace

int cliWrite(cliSession& session, const QStringList& arguments) {
    // Held from the very start: an interrupt that arrives while the write is being set up must
    // not cut the transfer that follows either.
    const cliInterruptHold hold;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Writes a clone file to the radio (clone write). The file must pass every file check\n"
        "and hold no errors. No question is asked: the command line is the confirmation.\n"
        "With --backup the radio is read first and what it held saved to BACKUP; the radio is\n"
        "written only when that file is saved, so the write can be taken back by writing\n"
        "BACKUP to the radio. With --dry-run the radio is only read and what the write would\n"
        "change printed, one line per cell as diff prints them (radio -> file). With --verify\n"
        "the radio is read back after the write and compared byte for byte with what was\n"
        "written; a difference is a failure (status 3).");
    cliSession::AddCommonOptions(parser);
    cliSession::AddPortOption(parser);
    parser.addOption({"backup",
                      "First reads the radio and saves what it held to BACKUP (replaced only "
                      "once wholly written); nothing is written when that fails.",
                      "BACKUP"});
    parser.addOption({"dry-run",
                      "Reads the radio and prints what the write would change there; "
                      "writes nothing."});
    parser.addOption({"verify",
                      "Reads the radio back after the write and compares it with what "
                      "was written."});
    parser.addPositionalArgument("FILE", "The clone file to write to the radio.");
    int exitCode = kExitOk;
    std::string path;
    if (!session.Parse(parser, arguments, &path, &exitCode))
        return exitCode;
    const bool backup = parser.isSet("backup");
    const std::string backupPath = parser.value("backup").toLocal8Bit().toStdString();
    if (backup && backupPath.empty()) {
        session.Report("--backup needs a file name (see --help)");
        return kExitUsage;
    }
    const bool dryRun = parser.isSet("dry-run");
    const bool verify = parser.isSet("verify");
    if (dryRun && verify) {
        session.Report("--dry-run writes nothing for --verify to check (see --help)");
        return kExitUsage;
    }
    if (!session.TakePort(parser))
        return kExitUsage;
    if (!session.Start(parser, true))
        return kExitFile;

    if (!session.OpenFile(path))
        return kExitFile;
    // The session refuses data with errors (with the product's message) before it opens the
    // port, and asks for the confirmation the command line has given.
    indSession::WriteOptions options;
    options.backupPath = backup ? backupPath : std::string();
    options.readOnly = dryRun;
    options.verify = verify;
    const indSession::CloneStart start = session.core.StartCheckedWrite(options);
    if (start == indSession::CloneStart::DataErrors) {
        const int errors = session.ErrorSheets();
        session.Report("refused: the data has errors in " + std::to_string(errors) +
                       (errors == 1 ? " sheet" : " sheets") + " (see check)");
        return kExitDataErrors;
    }
    const int status =
        session.RunClone(start, dryRun ? dst_CDrv_Result::kRead : dst_CDrv_Result::kWrite);
    if (hold.Interrupted())
        session.Report("interrupted: the transfer was let finish first");
    if (backup) {
        const int saved = session.core.LastBackupResult();
        if (saved > 0) {
            session.Report("failed: the backup '" + backupPath + "' could not be saved, file " +
                           "status " + std::to_string(saved) + "; nothing was written");
            return kExitFile;
        }
        if (saved == indSession::kNoBackup && start == indSession::CloneStart::Started)
            session.Report("the radio could not be read for the backup: nothing was written");
        else if (saved == 0)
            session.Report("backup of the radio saved to '" + backupPath + "'");
    }
    if (status != dst_CDrv_Result::kOk) {
        if (dryRun && start == indSession::CloneStart::Started)
            session.Report("the radio could not be read: nothing was written");
        return session.CloneFailed(status);
    }
    if (dryRun) {
        PrintPreview(session);
        return kExitOk;
    }
    using Outcome = indSession::WriteCheck::Outcome;
    const indSession::WriteCheck& check = session.core.LastWriteCheck();
    if (check.outcome == Outcome::ReadFailed) {
        session.Report("written '" + path + "', but the read back failed with clone status " +
                       std::to_string(check.readStatus) + ": not verified, status 3");
        return kExitClone;
    }
    if (check.outcome == Outcome::Differs) {
        session.Report("written '" + path + "', but the radio read back differs in " +
                       std::to_string(check.differingBytes) + " bytes (the first at " +
                       Hex(check.firstDifference) + "), status 3");
        return kExitClone;
    }
    const std::string kept = check.identityKept ? " (the radio kept its own identity)" : "";
    session.Report("written '" + path + "'" +
                   (check.outcome == Outcome::Matched ? ", verified" + kept : std::string()) +
                   ", status 0");
    return kExitOk;
}
