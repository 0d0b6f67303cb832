// The desktop program itself: a second start while one runs ends at once, silently, with 0, and
// changes nothing.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "TestPaths.h"
#include "app/indProgram.h"
#include "platform/cmcInstanceLock.h"

namespace {

TEST(DesktopProgram, ASecondStartEndsSilentlyWithZeroAndChangesNothing) {
    QTemporaryDir runtime;
    QTemporaryDir config;
    ASSERT_TRUE(runtime.isValid() && config.isValid());
    // The first instance holds the lock in the user's runtime directory.
    cmcInstanceLock first(indProgram::kMutexName, runtime.path().toStdString());
    ASSERT_EQ(first.GetState(), cmcInstanceLock::State::First);

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(env);
    second.setProcessChannelMode(QProcess::MergedChannels);
    second.start(QString::fromStdString(RuntimePath("pqt590")),
                 {QString::fromStdString(ResourcePath("PQT590_Default.t590"))});
    ASSERT_TRUE(second.waitForStarted(10000));
    // A program that did not end would be showing its window: the wait fails.
    const bool ended = second.waitForFinished(30000);
    if (!ended)
        second.kill();
    ASSERT_TRUE(ended);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAll().isEmpty());
    // No settings were written.
    EXPECT_TRUE(QDir(config.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

// The program started as a user would on a machine without a display: no display, no platform
// chosen, its own runtime and settings folders.
struct ProgramRun {
    int exitCode = -1;
    bool ended = false;
    QByteArray out;
    QByteArray err;
};

ProgramRun RunWithoutDisplay(const QStringList& args, const QString& runtime,
                             const QString& config) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QString::fromStdString(RuntimePath("pqt590")), args);
    ProgramRun run;
    if (!program.waitForStarted(10000))
        return run;
    run.ended = program.waitForFinished(30000);
    if (!run.ended) {
        program.kill();
        program.waitForFinished(5000);
        return run;
    }
    run.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    run.out = program.readAllStandardOutput();
    run.err = program.readAllStandardError();
    return run;
}

struct AnswerCase {
    const char* name;
    const char* argument;
    const char* firstLine;
};

class DesktopProgramAnswers : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(DesktopProgramAnswers, WithoutADisplayAndWithZero) {
    QTemporaryDir runtime;
    QTemporaryDir config;
    ASSERT_TRUE(runtime.isValid() && config.isValid());
    const ProgramRun run = RunWithoutDisplay({QString::fromLatin1(GetParam().argument)},
                                             runtime.path(), config.path());
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(GetParam().firstLine)) << run.out.toStdString();
    EXPECT_TRUE(QDir(config.path()).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Table, DesktopProgramAnswers,
                         ::testing::Values(AnswerCase{"help", "--help", "Usage: pqt590 "},
                                           AnswerCase{"h", "-h", "Usage: pqt590 "},
                                           AnswerCase{"version", "--version",
                                                      "pqt590 " PQ_VERSION "\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DesktopProgram, WithoutADisplaySaysSoInOneLineAndNamesTheCommandLineTool) {
    QTemporaryDir runtime;
    QTemporaryDir config;
    ASSERT_TRUE(runtime.isValid() && config.isValid());
    const ProgramRun run =
        RunWithoutDisplay({QString::fromStdString(ResourcePath("PQT590_Default.t590"))},
                          runtime.path(), config.path());
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith('\n'));
    EXPECT_TRUE(run.err.contains("display")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("pqt590-cli")) << run.err.toStdString();
    // Nothing was started: no settings, no lock.
    EXPECT_TRUE(QDir(config.path()).isEmpty());
    EXPECT_TRUE(QDir(runtime.path()).isEmpty());
}

}  // namespace

#endif  // _WIN32
