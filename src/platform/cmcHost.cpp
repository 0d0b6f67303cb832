#include "platform/cmcHost.h"

#include <cstdlib>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

#include "platform/cmcConsoleHost.h"

namespace {
cmcHost* g_installed = nullptr;
}

std::string cmcHost::ExecutableDir() const {
    QString dir;
    if (QCoreApplication::instance())
        dir = QCoreApplication::applicationDirPath();
    else
        dir = QDir::currentPath();
    return QDir::toNativeSeparators(dir + QLatin1Char('/')).toLocal8Bit().toStdString();
}

std::string cmcHost::ExecutableName() const {
    if (!QCoreApplication::instance())
        return std::string();
    return QFileInfo(QCoreApplication::applicationFilePath())
        .fileName()
        .toLocal8Bit()
        .toStdString();
}

bool cmcHost::AskOpenFileName(const HostFileDialog& dialog, std::string* path) {
    (void)dialog;
    (void)path;
    return false;
}

bool cmcHost::AskSaveFileName(const HostFileDialog& dialog, std::string* path) {
    (void)dialog;
    (void)path;
    return false;
}

HostRect cmcHost::WorkArea() const {
    HostRect r{0, 0, 1024, 768};
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (QScreen* s = QGuiApplication::primaryScreen()) {
            const QRect a = s->availableGeometry();
            r = HostRect{a.left(), a.top(), a.width(), a.height()};
        }
    }
    return r;
}

cmcHost& cmcHost::Instance() {
    if (g_installed)
        return *g_installed;
    static cmcConsoleHost console;
    return console;
}

void cmcHost::Install(cmcHost* host) {
    g_installed = host;
}

void FatalError(const std::string& text) {
    cmcHost::Instance().Fatal(text);
    std::abort();  // a host whose Fatal returned must still not let the caller go on
}
