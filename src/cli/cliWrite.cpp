// pqt590-cli write: a clone file opened with every check, refused when the warning check finds
// errors, then written to the radio. The radio is touched only when every check passed.
#include <QCommandLineParser>

#include "cli/cliInterruptHold.h"
#include "cli/cliSession.h"
#include "memory/FileCommands.h"

namespace {

void BeforeWrite(void* owner, cmcEeprom& image) {
    static_cast<cliSession*>(owner)->NormalizeForWriting(image);
}

}  // namespace

int cliWrite(cliSession& session, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Writes a clone file to the radio (clone write). The file must pass every file check\n"
        "and hold no errors. No question is asked: the command line is the confirmation.");
    cliSession::AddCommonOptions(parser);
    cliSession::AddPortOption(parser);
    parser.addPositionalArgument("FILE", "The clone file to write to the radio.");
    int exitCode = kExitOk;
    if (!session.Parse(parser, arguments, &exitCode))
        return exitCode;
    std::string path;
    if (!session.TakePositionals(parser, &path))
        return kExitUsage;
    if (!session.TakePort(parser))
        return kExitUsage;
    if (!session.Start(parser, true))
        return kExitFile;

    const int opened = session.OpenFile(path);
    if (opened != 0) {
        session.Report("failed, file status " + std::to_string(opened));
        return kExitFile;
    }
    const int errors = session.WarningCheck(nullptr);
    if (errors > 0) {
        session.ShowMessage("GI_Mess_DataError", HostIcon::Error);
        session.Report("refused: the data has errors in " + std::to_string(errors) +
                       (errors == 1 ? " sheet" : " sheets") + " (see check)");
        return kExitDataErrors;
    }

    const cliInterruptHold hold;
    const bool started =
        session.clone.StartWrite(session.working, &BeforeWrite, &cliSession::OnCloneDone, &session);
    const int status = session.RunClone(started, dst_CDrv_Result::kWrite);
    if (hold.Interrupted())
        session.Report("interrupted: the transfer was let finish first");
    if (status != dst_CDrv_Result::kOk)
        return session.CloneFailed(status);
    session.ShowMessage("GI_Mess_CloneWrite_Succeeded", HostIcon::Information);
    session.Report("written '" + path + "', status 0");
    return kExitOk;
}
