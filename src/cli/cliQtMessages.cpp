#include "cli/cliQtMessages.h"

#include <QString>
#include <QtGlobal>

namespace {

QtMessageHandler g_previous = nullptr;

void Filter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtCriticalMsg && type != QtFatalMsg &&
        message.startsWith(QLatin1String("QStandardPaths: ")))
        return;
    if (g_previous)
        g_previous(type, context, message);
}

}  // namespace

void cliDropQtFolderRemarks() {
    g_previous = qInstallMessageHandler(&Filter);
}
