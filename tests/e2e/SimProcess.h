#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <string>

#include "TestPaths.h"

// t590-sim started for one test: the device it offers, stopped (and its saved image written)
// when the test ends or asks.
class SimProcess {
public:
    explicit SimProcess(const QStringList& args) {
        process_.setProgram(QString::fromStdString(RuntimePath("t590-sim")));
        process_.setArguments(args);
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start();
        if (!process_.waitForStarted(30000))
            return;
        QElapsedTimer timer;
        timer.start();
        while (!process_.canReadLine() && timer.elapsed() < 30000)
            process_.waitForReadyRead(100);
        device_ = QString::fromLocal8Bit(process_.readLine()).trimmed().toStdString();
    }
    ~SimProcess() { Stop(); }

    const std::string& Device() const { return device_; }
    bool Running() const { return process_.state() == QProcess::Running; }
    std::string Errors() {
        errors_ += process_.readAllStandardError().toStdString();
        return errors_;
    }
    // Waits until the emulator has written text on stderr (it must run with --verbose for its
    // progress lines), for at most limitMs.
    bool WaitForError(const std::string& text, int limitMs = 30000) {
        QElapsedTimer timer;
        timer.start();
        while (Errors().find(text) == std::string::npos) {
            if (timer.elapsed() > limitMs || process_.state() != QProcess::Running)
                return false;
            process_.waitForReadyRead(50);
        }
        return true;
    }

    // Stops the emulator (it saves on the way out) and returns its exit code.
    int Stop() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(30000)) {
                process_.kill();
                process_.waitForFinished(2000);
            }
        }
        return process_.exitCode();
    }

private:
    QProcess process_;
    std::string device_;
    std::string errors_;
};

// Runs the event loop (the clone driver's timers) while busy() holds, for at most limitMs.
template <typename Busy>
bool RunWhile(Busy busy, int limitMs = 90000) {
    QElapsedTimer timer;
    timer.start();
    while (busy()) {
        if (timer.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}
