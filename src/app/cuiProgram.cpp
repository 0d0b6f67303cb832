#include "app/cuiProgram.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QString>
#include <cstdio>

#include "app/TForm1.h"
#include "app/cuiGuiHost.h"
#include "app/cuiInstanceChannel.h"
#include "app/cuiTermination.h"
#include "app/indMain.h"
#include "app/indProgram.h"
#include "events/cmcEvMan.h"
#include "memory/indEnviron.h"
#include "platform/cmcResourceDir.h"
#include "profile/ModelProfile.h"
#include "text/cmcGTex.h"
#include "text/cmcTextUtil.h"

namespace {
// The name of the resource file the program reads its texts and layouts from.
std::string ResourceName() {
    return std::string(ModelProfile::kResourceModel) + ".OVL";
}
}  // namespace

cuiProgram::cuiProgram(cuiGuiHost& host, std::vector<std::string> arguments)
    : host_(host), arguments_(std::move(arguments)) {}

cuiProgram::~cuiProgram() {
    termination_.reset();
    channel_.reset();
    host_.SetWindow(nullptr);
    form_.reset();
    controller_.reset();
    events_.reset();
    environ_.reset();
}

void cuiProgram::TellNotHanded(const QString& path) {
    handFailed_ = true;
    cmcGTex dictionary;
    dictionary.SetFile(cmcResourceDir(ResourceName()) + ResourceName());
    const std::string text =
        FillPlaceholders(dictionary.Text("GI_Mess_NotHanded"), {path.toLocal8Bit().toStdString()});
    // Started from a terminal, the line says it; from the file manager, the box does.
    std::fprintf(stderr, "pqt590: %s\n", text.c_str());
    std::fflush(stderr);
    host_.MessageBox(dictionary.Text("GI_Sys_AppTitle"), text, HostIcon::Warning, HostButtons::Ok);
}

void cuiProgram::NameApplication() {
    QCoreApplication::setOrganizationName(QStringLiteral("Vexa"));
    QCoreApplication::setApplicationName(QStringLiteral("PQ-T590"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PQ_VERSION));
    // The desktop entry's name, so that the window and its icon are the entry's.
    QGuiApplication::setDesktopFileName(QStringLiteral("pqt590"));
}

bool cuiProgram::Start() {
    environ_ = std::make_unique<indEnviron>(indProgram::kMutexName, indProgram::kSettingsKey);
    const QString channelName =
        cuiInstanceChannel::ServerName(indProgram::kMutexName, environ_->InstanceLockPath());
    const std::string file = indProgram::StartFile(arguments_);
    const QString path =
        file.empty() ? QString()
                     : QDir::toNativeSeparators(
                           QFileInfo(QString::fromLocal8Bit(file.c_str())).absoluteFilePath());
    if (!environ_->IsFirstInstance()) {
        // A file the running copy did not take would be lost without a word: say so. Without a
        // file there is only the window to raise, and nothing is lost.
        if (!cuiInstanceChannel::Hand(channelName, path) && !path.isEmpty())
            TellNotHanded(path);
        return false;
    }
    events_ = std::make_unique<cmcEvMan>();
    controller_ = std::make_unique<indMain>(*environ_, cmcResourceDir(ResourceName()));
    controller_->Initialize(arguments_);
    form_ = std::make_unique<TForm1>(*controller_);
    host_.SetWindow(form_.get());
    form_->show();
    TForm1* form = form_.get();
    channel_ = std::make_unique<cuiInstanceChannel>();
    channel_->Listen(channelName, [form](const QString& handed) { form->TakeHandedFile(handed); });
    // Ended by the system: as a close, without questions nobody could answer.
    termination_ = std::make_unique<cuiTermination>([form] { form->EndFromOutside(); });
    // Unsaved changes of an earlier run that did not end cleanly are offered back first.
    controller_->StartRecovery();
    if (!path.isEmpty())
        controller_->OpenFile(path.toLocal8Bit().toStdString());
    return true;
}
