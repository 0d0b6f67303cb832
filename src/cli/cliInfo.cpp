// pqt590-cli info: the clone information exchange, and what the clone information sheet shows.
#include <QCommandLineParser>

#include <cstdio>

#include "cli/cliSession.h"

int cliInfo(cliSession& session, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Asks the radio who it is (clone information) and shows its model, revision and comment.");
    cliSession::AddCommonOptions(parser);
    cliSession::AddPortOption(parser);
    int exitCode = kExitOk;
    if (!session.Parse(parser, arguments, &exitCode))
        return exitCode;
    if (!session.TakePort(parser))
        return kExitUsage;
    if (!session.Start(parser, false))
        return kExitFile;

    // On success the session shows the clone information: printed on stdout.
    const int status = session.RunClone(session.core.StartCloneInfo(), dst_CDrv_Result::kInfo);
    if (status != dst_CDrv_Result::kOk)
        return session.CloneFailed(status);
    session.Report("status 0");
    return kExitOk;
}
