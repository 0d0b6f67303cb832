// pqt590-cli write: a clone file opened with every check, refused when the warning check finds
// errors, then written to the radio. The radio is touched only when every check passed; with
// --backup it is first read and what it held saved, and written only when that file is saved.
#include <QCommandLineParser>

#include "cli/cliInterruptHold.h"
#include "cli/cliSession.h"

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
        "BACKUP to the radio.");
    cliSession::AddCommonOptions(parser);
    cliSession::AddPortOption(parser);
    parser.addOption({"backup",
                      "First reads the radio and saves what it held to BACKUP (replaced only "
                      "once wholly written); nothing is written when that fails.",
                      "BACKUP"});
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
    if (!session.TakePort(parser))
        return kExitUsage;
    if (!session.Start(parser, true))
        return kExitFile;

    const int opened = session.core.OpenFile(path);
    if (opened != 0) {
        session.Report("failed, file status " + std::to_string(opened));
        return kExitFile;
    }
    // The session refuses data with errors (with the product's message) before it opens the
    // port, and asks for the confirmation the command line has given.
    const indSession::CloneStart start =
        backup ? session.core.StartBackupAndWrite(backupPath) : session.core.StartCloneWrite();
    if (start == indSession::CloneStart::DataErrors) {
        const int errors = session.ErrorSheets();
        session.Report("refused: the data has errors in " + std::to_string(errors) +
                       (errors == 1 ? " sheet" : " sheets") + " (see check)");
        return kExitDataErrors;
    }
    const int status = session.RunClone(start, dst_CDrv_Result::kWrite);
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
    if (status != dst_CDrv_Result::kOk)
        return session.CloneFailed(status);
    session.Report("written '" + path + "', status 0");
    return kExitOk;
}
