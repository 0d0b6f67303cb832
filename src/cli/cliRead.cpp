// pqt590-cli read: clone read, then the image saved as a clone file. The file is written only
// after the read succeeded, and replaced at once (never left half written).
#include <QCommandLineParser>

#include "cli/cliSession.h"

int cliRead(cliSession& session, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Reads the radio's memory (clone read) and saves it as a clone file. An existing FILE\n"
        "is replaced only after the read succeeded.");
    cliSession::AddCommonOptions(parser);
    cliSession::AddPortOption(parser);
    parser.addOption({{"o", "output"}, "The clone file to write.", "FILE"});
    int exitCode = kExitOk;
    if (!session.Parse(parser, arguments, &exitCode))
        return exitCode;
    if (!session.HasOutput(parser, "FILE"))
        return kExitUsage;
    const std::string path = parser.value("output").toLocal8Bit().toStdString();
    if (!session.TakePort(parser))
        return kExitUsage;
    if (!session.Start(parser, true))
        return kExitFile;

    // The clone read command makes the image the working one; then Save writes it.
    const int status = session.RunClone(session.core.StartCloneRead(), dst_CDrv_Result::kRead);
    if (status != dst_CDrv_Result::kOk)
        return session.CloneFailed(status);
    const int saved = session.core.SaveFile(path);
    if (saved != 0) {
        session.Report("failed, file status " + std::to_string(saved));
        return kExitFile;
    }
    session.Report("saved '" + path + "', status 0");
    return kExitOk;
}
