// pqt590: the desktop program. The global objects come to life in their order (the settings
// with the single-instance lock, the event manager, the main controller with its session and
// dictionary) and go in the reverse order, the settings written last.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <exception>
#include <string>
#include <vector>

#include "app/TForm1.h"
#include "app/cuiGuiHost.h"
#include "app/cuiInstanceChannel.h"
#include "app/cuiTermination.h"
#include "app/indMain.h"
#include "app/indProgram.h"
#include "events/cmcEvMan.h"
#include "memory/indEnviron.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Vexa"));
    QApplication::setApplicationName(QStringLiteral("PQ-T590"));
    QApplication::setApplicationVersion(QStringLiteral(PQ_VERSION));
    // The desktop entry's name, so that the window and its icon are the entry's.
    QGuiApplication::setDesktopFileName(QStringLiteral("pqt590"));

    cuiGuiHost host;
    cmcHost::Install(&host);

    std::vector<std::string> arguments;
    for (const QString& a : QCoreApplication::arguments())
        arguments.push_back(a.toLocal8Bit().toStdString());

    int status = 0;
    try {
        indEnviron environ(indProgram::kMutexName, indProgram::kSettingsKey);
        const QString channelName =
            cuiInstanceChannel::ServerName(indProgram::kMutexName, environ.InstanceLockPath());
        const std::string file = indProgram::StartFile(arguments);
        const QString path =
            file.empty() ? QString()
                         : QDir::toNativeSeparators(
                               QFileInfo(QString::fromLocal8Bit(file.c_str())).absoluteFilePath());
        // Another copy runs: this one hands it the file (or just has its window raised) and
        // ends, changing nothing itself.
        if (!environ.IsFirstInstance()) {
            cuiInstanceChannel::Hand(channelName, path);
            return 0;
        }
        cmcEvMan events;
        indMain controller(environ, host.ExecutableDir());
        controller.Initialize(arguments);
        TForm1 form(controller);
        host.SetWindow(&form);
        form.show();
        cuiInstanceChannel channel;
        channel.Listen(channelName,
                       [&form](const QString& handed) { form.TakeHandedFile(handed); });
        // Ended by the system: as a close, without questions nobody could answer.
        cuiTermination termination([&form] { form.EndFromOutside(); });
        // Unsaved changes of an earlier run that did not end cleanly are offered back first.
        controller.StartRecovery();

        if (!path.isEmpty())
            controller.OpenFile(path.toLocal8Bit().toStdString());
        status = app.exec();
        host.SetWindow(nullptr);
    } catch (const std::exception& e) {
        // Whatever escapes start-up or the event loop is shown, and then the program ends.
        host.Fatal(e.what());
    }
    cmcHost::Install(nullptr);
    return status;
}
