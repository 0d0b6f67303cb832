// pqt590: the desktop program: the Qt application, the GUI host, and the program's global objects
// (cuiProgram) in their order.
#include <QApplication>
#include <QStringList>

#include <exception>
#include <string>
#include <vector>

#include "app/cuiGuiHost.h"
#include "app/cuiProgram.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    cuiProgram::NameApplication();

    cuiGuiHost host;
    cmcHost::Install(&host);

    std::vector<std::string> arguments;
    for (const QString& a : QCoreApplication::arguments())
        arguments.push_back(a.toLocal8Bit().toStdString());

    int status = 0;
    try {
        cuiProgram program(host, arguments);
        // Another copy runs: this one ends at once, silently, and changes nothing.
        if (!program.Start())
            return 0;
        status = app.exec();
    } catch (const std::exception& e) {
        // Whatever escapes start-up or the event loop is shown, and then the program ends.
        host.Fatal(e.what());
    }
    cmcHost::Install(nullptr);
    return status;
}
