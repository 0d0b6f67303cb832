#include "cli/cliSession.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

#include "cells/cmcSheetText.h"
#include "clone/cmcPortArgument.h"
#include "platform/cmcResourceDir.h"
#include "profile/FileCommands.h"
#include "profile/ModelProfile.h"
#include "ui/table/cuiImageCompare.h"

HostAnswer cliHost::MessageBox(const std::string& caption, const std::string& text, HostIcon icon,
                               HostButtons buttons) {
    // A command line is its own confirmation: a question is answered Yes (OK) without being
    // shown, so that it neither waits nor clutters the output.
    if (buttons != HostButtons::Ok)
        return buttons == HostButtons::OkCancel ? HostAnswer::Ok : HostAnswer::Yes;
    if (progress_)
        progress_->Interrupt();
    return cmcConsoleHost::MessageBox(caption, text, icon, buttons);
}

void cliViews::ShowCloneInformation() {
    // What the information sheet shows, row by row, from what this identification reported.
    for (const std::string& row : cmcSheetRowTexts(session_.Core(), "GI_Sheet_CloneInfo"))
        std::printf("%s\n", row.c_str());
    std::fflush(stdout);
}

std::vector<std::string> cliViews::DifferingCells(const cmcEeprom& a, const cmcEeprom& b, int limit,
                                                  int* count) {
    const cuiImageComparison comparison = cuiCompareImages(session_.Core(), a, b);
    if (count != nullptr)
        *count = static_cast<int>(comparison.differences.size());
    return comparison.Lines(static_cast<std::size_t>(std::max(limit, 0)));
}

cliSession::cliSession() {
    cmcHost::Install(&host_);
    core.SetViews(&views_);
    core.SetCloneListener(&cliSession::OnCloneEnded, this);
    if (cmcTextProgress::IsTerminal(stderr)) {
        progress_ = std::make_unique<cmcTextProgress>(stderr);
        core.CloneManager().SetProgress(progress_.get());
        host_.SetProgress(progress_.get());
    }
}

cliSession::~cliSession() {
    core.CloneManager().SetProgress(nullptr);
    core.SetCloneListener(nullptr, nullptr);
    core.SetViews(nullptr);
    host_.SetProgress(nullptr);
    cmcHost::Install(nullptr);
}

void cliSession::AddCommonOptions(QCommandLineParser& parser) {
    parser.addOption({"resources",
                      "Where PQT590.OVL and the initial clone file are (default: beside the "
                      "program, else ../share/pqt590 from its folder).",
                      "DIR"});
    parser.addOption({"expert", "Expert mode: expert-only settings count as editable."});
    parser.addOption({"gene", "General-coverage mode: the wide frequency check."});
    parser.addOption({{"h", "help"}, "Shows this help."});
    parser.addOption({"version", "Shows the program's version."});
}

void cliSession::AddPortOption(QCommandLineParser& parser) {
    parser.addOption({"port", "The COM port number or device of the cloning cable.", "P"});
}

bool cliSession::TakePositionals(const QCommandLineParser& parser, std::string* file) const {
    const QStringList positionals = parser.positionalArguments();
    if (!file) {
        if (positionals.isEmpty())
            return true;
        Report("unexpected argument '" + positionals.first().toLocal8Bit().toStdString() +
               "' (see --help)");
        return false;
    }
    if (positionals.size() != 1) {
        Report("one FILE is required (see --help)");
        return false;
    }
    *file = positionals.first().toLocal8Bit().toStdString();
    return true;
}

bool cliSession::OpenFile(const std::string& path) {
    const int opened = core.OpenFile(path);
    if (opened != 0)
        Report("failed, file status " + std::to_string(opened));
    return opened == 0;
}

bool cliSession::Parse(QCommandLineParser& parser, const QStringList& arguments, int* exitCode) {
    if (!ParseOptions(parser, arguments, exitCode))
        return false;
    return TakePositionals(parser, nullptr) || UsageError(exitCode);
}

bool cliSession::Parse(QCommandLineParser& parser, const QStringList& arguments, std::string* file,
                       int* exitCode) {
    if (!ParseOptions(parser, arguments, exitCode))
        return false;
    return TakePositionals(parser, file) || UsageError(exitCode);
}

bool cliSession::Parse(QCommandLineParser& parser, const QStringList& arguments,
                       const Positionals& wanted, QStringList* positionals, int* exitCode) {
    if (!ParseOptions(parser, arguments, exitCode))
        return false;
    *positionals = parser.positionalArguments();
    const int count = static_cast<int>(positionals->size());
    if (count >= wanted.fewest && count <= wanted.most)
        return true;
    Report(std::string(wanted.wrongCount) + " (see --help)");
    return UsageError(exitCode);
}

bool cliSession::UsageError(int* exitCode) {
    *exitCode = kExitUsage;
    return false;
}

bool cliSession::ParseOptions(QCommandLineParser& parser, const QStringList& arguments,
                              int* exitCode) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(arguments)) {
        Report(parser.errorText().toLocal8Bit().toStdString() + " (see --help)");
        return UsageError(exitCode);
    }
    if (parser.isSet("version")) {
        std::printf("pqt590-cli %s\n", PQ_VERSION);
        *exitCode = kExitOk;
        return false;
    }
    if (parser.isSet("help")) {
        // The parser's own usage line knows nothing of subcommands; keep its option list.
        QString help = parser.helpText();
        const int options = help.indexOf(QLatin1String("Options:"));
        std::printf("Usage: pqt590-cli %s\n\n%s\n%s", command.c_str(),
                    parser.applicationDescription().toLocal8Bit().constData(),
                    (options >= 0 ? help.mid(options) : help).toLocal8Bit().constData());
        std::printf("\n%s", kCliHelpTail);
        *exitCode = kExitOk;
        return false;
    }
    return true;
}

bool cliSession::Start(const QCommandLineParser& parser, bool needTemplate) {
    const std::string ovlName = std::string(ModelProfile::kResourceModel) + ".OVL";
    QString dir = parser.isSet("resources")
                      ? parser.value("resources")
                      : QString::fromLocal8Bit(cmcResourceDir(ovlName).c_str());
    if (!dir.endsWith('/') && !dir.endsWith(QDir::separator()))
        dir += QDir::separator();
    const std::string resourceDir = dir.toLocal8Bit().toStdString();

    // Without the resource file no message of the product can be shown, and every lookup would
    // be fatal: say which file is missing instead.
    const std::string ovl = resourceDir + ovlName;
    if (!QFileInfo(QString::fromLocal8Bit(ovl.c_str())).isReadable()) {
        Report("cannot read the resource file '" + ovl + "'");
        return false;
    }
    core.SetResourceDir(resourceDir);
    core.SetModes(parser.isSet("expert"), parser.isSet("gene"));

    if (needTemplate) {
        const std::string initial = FileCommands::TemplatePath(resourceDir);
        if (!QFileInfo(QString::fromLocal8Bit(initial.c_str())).isReadable()) {
            Report("cannot read the initial clone file '" + initial + "'");
            return false;
        }
        core.LoadTemplate();
    }
    return true;
}

bool cliSession::HasOutput(const QCommandLineParser& parser, const char* metaName) const {
    if (parser.isSet("output") && !parser.value("output").isEmpty())
        return true;
    Report(std::string("-o ") + metaName + " is required (see --help)");
    return false;
}

bool cliSession::TakePort(const QCommandLineParser& parser) {
    if (!parser.isSet("port")) {
        Report("--port is required (see --help)");
        return false;
    }
    cmcPortArgument port;
    const std::string text = parser.value("port").toLocal8Bit().toStdString();
    if (!cmcPortArgument::Parse(text, port)) {
        Report("'" + text + "' is neither a COM port number (1-255) nor a device path");
        return false;
    }
    if (port.number > 0) {
        core.SetComPortSetting(port.number);
        core.SetPortDevice(std::string());
    } else {
        core.SetComPortSetting(1);
        core.SetPortDevice(port.device);
    }
    return true;
}

void cliSession::OnCloneEnded(void* self, const dst_CDrv_Result&) {
    static_cast<cliSession*>(self)->cloneEnded_ = true;
}

int cliSession::RunClone(indSession::CloneStart start, int operation) {
    if (start != indSession::CloneStart::Started)
        return kNotStarted;
    while (!cloneEnded_)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // A chain that ended after the identification without the step asked for did not succeed.
    const dst_CDrv_Result& last = core.LastClone();
    if (last.operation != operation && last.status == dst_CDrv_Result::kOk)
        return kNotStarted;
    return last.status;
}

void cliSession::Report(const std::string& text) const {
    std::fprintf(stderr, "pqt590-cli: %s%s%s\n", command.c_str(), command.empty() ? "" : ": ",
                 text.c_str());
    std::fflush(stderr);
}

int cliSession::CloneFailed(int status) const {
    if (status == kNotStarted)
        Report("failed: the clone operation could not be started");
    else
        Report("failed, clone status " + std::to_string(status));
    return kExitClone;
}
