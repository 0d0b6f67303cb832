// Runs after the journeys: starts the program (in expert mode, so that the Debug menu is there
// too) in a scratch home, lists every item of its main menu and every tool-bar button, reads the
// notes the journeys left (one file each, in the folder given), and fails naming every item no
// journey reached.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <set>
#include <string>

#include "JourneyItems.h"
#include "app/TForm1.h"
#include "app/cuiGuiHost.h"
#include "app/cuiProgram.h"
#include "app/indMain.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc < 2) {
        std::fprintf(stderr, "usage: journey_coverage NOTES_DIR\n");
        return 2;
    }
    QTemporaryDir home;
    for (const char* v :
         {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const QString dir = home.filePath(QString::fromLatin1(v));
        QDir().mkpath(dir);
        QFile::setPermissions(
            dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv(v, QFile::encodeName(dir));
    }
    QApplication app(argc, argv);
    cuiProgram::NameApplication();

    std::set<std::string> reached;
    const QDir notes(QString::fromLocal8Bit(argv[1]));
    int files = 0;
    for (const QString& name : notes.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
        QFile file(notes.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        ++files;
        for (const QByteArray& line : file.readAll().split('\n'))
            if (!line.isEmpty())
                reached.insert(line.toStdString());
    }

    std::set<std::string> items;
    {
        cuiGuiHost host;
        cmcHost::Install(&host);
        cuiProgram program(host, {"pqt590", "/expert"});
        if (!program.Start()) {
            std::fprintf(stderr, "journey_coverage: the program did not start\n");
            return 2;
        }
        for (const QAction* a : journey::MenuItems(*program.Form()->menuBar()))
            items.insert(journey::ItemName(a));
        const cuiToolBar& bar = *program.Controller()->ToolBar();
        for (int i = 0; i < bar.ButtonCount(); ++i)
            if (bar.ButtonCell(i) != nullptr)  // a gap between buttons is nothing to press
                items.insert(journey::ButtonName(bar, i));
    }
    cmcHost::Install(nullptr);

    int missing = 0;
    for (const std::string& item : items) {
        if (reached.count(item) == 0) {
            std::printf("not reached by any journey: %s\n", item.c_str());
            ++missing;
        }
    }
    std::printf("%zu items, %d reached by the %d journeys' notes, %d not reached\n", items.size(),
                int(items.size()) - missing, files, missing);
    return missing == 0 && files > 0 ? 0 : 1;
}
