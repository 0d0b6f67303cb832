#include "cli/cliSession.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>

#include <unistd.h>
#include <algorithm>
#include <cstdio>

#include "cells/cmcSheetText.h"
#include "cells/cmcTreeBody.h"
#include "memory/FileCommands.h"
#include "memory/ModelProfile.h"
#include "text/cmcTextUtil.h"

HostAnswer cliHost::MessageBox(const std::string& caption, const std::string& text, HostIcon icon,
                               HostButtons buttons) {
    if (progress_)
        progress_->Interrupt();
    return cmcConsoleHost::MessageBox(caption, text, icon, buttons);
}

cliSession::cliSession()
    : working(controller.WorkingImage()), templateImage(controller.TemplateImage()) {
    cmcHost::Install(&host_);
    // A command line is its own confirmation: no question waits for an answer.
    host_.SetAnswer(HostAnswer::Yes);
    cuiMainCore::Install(&controller);
    clone.InstallHooks();
    templateImage.SetSize(ModelProfile::kImageSize);
    if (isatty(fileno(stderr))) {
        progress_ = std::make_unique<cmcTextProgress>(stderr);
        manager.SetProgress(progress_.get());
        host_.SetProgress(progress_.get());
    }
}

cliSession::~cliSession() {
    manager.SetProgress(nullptr);
    host_.SetProgress(nullptr);
    if (dictionaryInstalled_)
        cmcGTex::SetMain(nullptr);
    cuiMainCore::Install(nullptr);
    cmcHost::Install(nullptr);
}

void cliSession::AddCommonOptions(QCommandLineParser& parser) {
    parser.addOption({"resources",
                      "Where PQT590.OVL and the initial clone file are (default: beside the "
                      "program).",
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

bool cliSession::Parse(QCommandLineParser& parser, const QStringList& arguments, int* exitCode) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(arguments)) {
        Report(parser.errorText().toLocal8Bit().toStdString() + " (see --help)");
        *exitCode = kExitUsage;
        return false;
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
    QString dir = parser.isSet("resources")
                      ? parser.value("resources")
                      : QString::fromLocal8Bit(cmcHost::Instance().ExecutableDir().c_str());
    if (!dir.endsWith('/') && !dir.endsWith(QDir::separator()))
        dir += QDir::separator();
    resourceDir = dir.toLocal8Bit().toStdString();

    // Without the resource file no message of the product can be shown, and every lookup would
    // be fatal: say which file is missing instead.
    const std::string ovl = resourceDir + ModelProfile::kResourceModel + ".OVL";
    if (!QFileInfo(QString::fromLocal8Bit(ovl.c_str())).isReadable()) {
        Report("cannot read the resource file '" + ovl + "'");
        return false;
    }
    dictionary.SetFile(ovl);
    cmcGTex::SetMain(&dictionary);
    dictionaryInstalled_ = true;
    controller.SetDictionary(&dictionary);
    controller.SetSectionCache(&sectionCache);
    controller.SetExpertMode(parser.isSet("expert"));
    controller.SetGeneralCoverageMode(parser.isSet("gene"));

    if (needTemplate) {
        const std::string initial = FileCommands::TemplatePath(resourceDir);
        if (!QFileInfo(QString::fromLocal8Bit(initial.c_str())).isReadable()) {
            Report("cannot read the initial clone file '" + initial + "'");
            return false;
        }
        FileCommands::LoadTemplate(resourceDir, templateImage);
        ImageLoaded(templateImage);
    }
    return true;
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
        manager.SetPort(port.number);
        manager.SetPortDevice(std::string());
    } else {
        manager.SetPort(1);
        manager.SetPortDevice(port.device);
    }
    return true;
}

void cliSession::OnCloneDone(void* self, dst_CDrv_Result& result) {
    auto* session = static_cast<cliSession*>(self);
    dst_CDrv_Result& last = session->last;
    last.operation = result.operation;
    last.status = result.status;
    last.modelCode = result.modelCode;
    last.extraCode = result.extraCode;
    last.infoBytes = result.infoBytes;
    last.portError = result.portError;
    if (result.operation == dst_CDrv_Result::kRead && result.status == dst_CDrv_Result::kOk)
        last.image.CopyFrom(result.image);
    session->cloneEnded = true;
}

int cliSession::RunClone(bool started, int operation) {
    if (!started)
        return kNotStarted;
    while (!cloneEnded)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // A chain that ended after the identification without the step asked for did not succeed.
    if (last.operation != operation && last.status == dst_CDrv_Result::kOk)
        return kNotStarted;
    return last.status;
}

void cliSession::ImageLoaded(cmcEeprom& image) {
    ModelProfile::NormalizeImage(image, templateImage, false);
}

void cliSession::NormalizeForWriting(cmcEeprom& image) {
    ModelProfile::NormalizeImage(image, templateImage, true);
}

void cliSession::Report(const std::string& text) const {
    std::fprintf(stderr, "pqt590-cli: %s%s%s\n", command.c_str(), command.empty() ? "" : ": ",
                 text.c_str());
    std::fflush(stderr);
}

void cliSession::ShowMessage(const char* key, HostIcon icon) {
    cmcHost::Instance().MessageBox(dictionary.Text("GI_Sys_AppTitle"),
                                   ReadTextBlock(dictionary, key), icon, HostButtons::Ok);
}

int cliSession::CloneFailed(int status) const {
    if (status == kNotStarted)
        Report("failed: the clone operation could not be started");
    else
        Report("failed, clone status " + std::to_string(status));
    return kExitClone;
}

void cliSession::SetWorking(const cmcEeprom& image) {
    working.CopyFrom(image);
}

int cliSession::OpenFile(const std::string& path) {
    cmcEeprom scratch;
    const int result = FileCommands::OpenCloneFile(path, scratch);
    if (result != 0)
        return result;
    SetWorking(scratch);
    ImageLoaded(working);
    return 0;
}

int cliSession::WarningCheck(std::vector<SheetMark>* marks) {
    const ModelProfile::WarningLists check = ModelProfile::RunWarningCheck(dictionary);
    if (marks) {
        // Every sheet of the tree by its caption, marked as the tree would mark it.
        cmcTreeBody tree;
        tree.Read(dictionary, "GI_Tree_Main");
        auto listed = [](const std::vector<std::string>& list, const std::string& sheet) {
            return std::find(list.begin(), list.end(), sheet) != list.end();
        };
        for (const cmcTreeBody::Node& node : tree.Nodes()) {
            const std::string sheet = node.SheetReference();
            if (sheet.empty())
                continue;
            marks->push_back(
                {node.Caption(), sheet, listed(check.errors, sheet), listed(check.notices, sheet)});
        }
    }
    return static_cast<int>(check.errors.size());
}

void cliSession::PrintCloneInfo() {
    // What the information sheet shows, row by row, from what this identification reported.
    controller.SetCloneInfo(clone.Identity().info, cuiMainCore::kCloneInfoLength);
    for (const std::string& row : cmcSheetRowTexts(dictionary, "GI_Sheet_CloneInfo"))
        std::printf("%s\n", row.c_str());
    std::fflush(stdout);
}
