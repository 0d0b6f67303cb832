// pqt590-cli info: the clone information exchange, and what the clone information sheet shows.
#include <QCommandLineParser>

#include <cstdio>

#include "cli/cliSession.h"

int cliInfo(cliSession& session, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Asks the radio who it is (clone information) and shows its model, revision and comment.");
    cliSession::AddCommonOptions(parser);
    parser.addOption({"port", "The COM port number or device of the cloning cable.", "P"});
    int exitCode = kExitOk;
    if (!session.Parse(parser, arguments, &exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty()) {
        session.Report("unexpected argument '" +
                       parser.positionalArguments().first().toLocal8Bit().toStdString() +
                       "' (see --help)");
        return kExitUsage;
    }
    if (!session.TakePort(parser))
        return kExitUsage;
    if (!session.Start(parser, false))
        return kExitFile;

    const bool started = session.clone.StartInfo(&cliSession::OnCloneDone, &session);
    const int status = session.RunClone(started, dst_CDrv_Result::kInfo);
    if (status != dst_CDrv_Result::kOk)
        return session.CloneFailed(status);
    session.PrintCloneInfo();
    session.Report("status 0");
    return kExitOk;
}
