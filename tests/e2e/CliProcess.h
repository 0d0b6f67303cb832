#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <string>

#include "TestPaths.h"

// One run of pqt590-cli: its exit status and what it printed.
struct CliRun {
    int exitCode = -1;
    bool crashed = false;
    std::string out;
    std::string err;
};

inline std::string CliPath() {
    return RuntimePath("pqt590-cli");
}

// Runs the tool with pipes (not a terminal) in an environment and waits for it to end.
inline CliRun RunCli(const QStringList& args, const QProcessEnvironment& environment,
                     int limitMs = 120000) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProgram(QString::fromStdString(CliPath()));
    process.setArguments(args);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start();
    CliRun run;
    if (!process.waitForStarted(30000)) {
        run.err = "pqt590-cli did not start: " + CliPath();
        return run;
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(limitMs)) {
        process.kill();
        process.waitForFinished(2000);
        run.crashed = true;
    }
    run.crashed = run.crashed || process.exitStatus() != QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

// The same in the test's own environment.
inline CliRun RunCli(const QStringList& args, int limitMs = 120000) {
    return RunCli(args, QProcessEnvironment::systemEnvironment(), limitMs);
}

// Runs the tool with its stderr on a pseudo-terminal (stdout on /dev/null) and collects what the
// terminal showed.
CliRun RunCliOnTerminal(const QStringList& args, int limitMs = 120000);

inline std::string ReadWholeFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return std::string();
    return file.readAll().toStdString();
}
