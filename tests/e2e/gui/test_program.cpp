// The desktop program itself: a second start while one runs changes nothing, and says so when
// the file it was given could not be handed over; without a display it says that in one line.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <memory>

#include "TestPaths.h"
#include "app/cuiInstanceChannel.h"
#include "app/indProgram.h"
#include "platform/cmcInstanceLock.h"

namespace {

// A second start while the first copy holds the lock but does not answer on its channel (hung,
// or still starting beyond the wait): without a file it ends silently with 0; with one it says
// on stderr (and in a box, which the journeys answer) that the file was not opened. Either way
// it changes nothing.
struct SecondStart {
    QTemporaryDir runtime;
    QTemporaryDir config;
    std::unique_ptr<cmcInstanceLock> first;
    QProcess second;

    explicit SecondStart(const QStringList& args) {
        EXPECT_TRUE(runtime.isValid() && config.isValid());
        // The first instance holds the lock in the user's runtime directory.
        first =
            std::make_unique<cmcInstanceLock>(indProgram::kMutexName, runtime.path().toStdString());
        EXPECT_EQ(first->GetState(), cmcInstanceLock::State::First);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        second.setProcessEnvironment(env);
        second.start(QString::fromStdString(RuntimePath("pqt590")), args);
        EXPECT_TRUE(second.waitForStarted(10000));
    }
    ~SecondStart() {
        if (second.state() != QProcess::NotRunning) {
            second.kill();
            second.waitForFinished(5000);
        }
    }
    bool NoSettingsWritten() const {
        return QDir(config.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty();
    }
};

TEST(DesktopProgram, ASecondStartWithoutAFileEndsSilentlyWithZeroAndChangesNothing) {
    SecondStart start({});
    // A program that did not end would be showing its window: the wait fails.
    ASSERT_TRUE(start.second.waitForFinished(30000));
    EXPECT_EQ(start.second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(start.second.exitCode(), 0);
    EXPECT_TRUE(start.second.readAllStandardOutput().isEmpty());
    EXPECT_TRUE(start.second.readAllStandardError().isEmpty());
    EXPECT_TRUE(start.NoSettingsWritten());
}

TEST(DesktopProgram, ASecondStartWhoseFileIsNotTakenSaysSoAndOpensNoWindow) {
    const QString file = QString::fromStdString(ResourcePath("PQT590_Default.t590"));
    SecondStart start({file});
    // The program's own line; the platform plugin may add notes of its own.
    QByteArray err, line;
    const auto said = [&] {
        err += start.second.readAllStandardError();
        const qsizetype at = err.indexOf("pqt590: ");
        const qsizetype end = at < 0 ? -1 : err.indexOf('\n', at);
        if (end >= 0)
            line = err.mid(at, end - at);
        return end >= 0;
    };
    while (!said() && start.second.state() == QProcess::Running)
        start.second.waitForReadyRead(1000);
    ASSERT_TRUE(said()) << err.toStdString();
    EXPECT_EQ(err.count("pqt590: "), 1) << err.toStdString();
    EXPECT_TRUE(line.startsWith("pqt590: PQ-T590 is running already but did not take "))
        << line.toStdString();
    EXPECT_TRUE(line.contains(QFileInfo(file).absoluteFilePath().toLocal8Bit()))
        << line.toStdString();
    EXPECT_TRUE(start.NoSettingsWritten());
}

// The real program killed (SIGKILL: no chance to clean up) leaves its lock behind; the next
// start takes it over and is the copy that runs: a further start hands it its file and ends
// with 0. SIGTERM then ends that copy as a close does, with 0.
TEST(DesktopProgram, AKilledCopysLockIsTakenOverAndSigtermEndsTheNextAsAClose) {
    QTemporaryDir runtime, config, data;
    ASSERT_TRUE(runtime.isValid() && config.isValid() && data.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString program = QString::fromStdString(RuntimePath("pqt590"));
    const QString file = QString::fromStdString(ResourcePath("PQT590_Default.t590"));
    // A start that hands its file to the copy running: 0 once that copy took it.
    const auto handed = [&] {
        QProcess another;
        another.setProcessEnvironment(env);
        another.start(program, {file});
        if (!another.waitForFinished(60000)) {
            another.kill();
            another.waitForFinished(5000);
            return -1;
        }
        return another.exitStatus() == QProcess::NormalExit ? another.exitCode() : -1;
    };
    const auto start = [&](QProcess& copy) {
        copy.setProcessEnvironment(env);
        copy.setProcessChannelMode(QProcess::ForwardedChannels);
        copy.start(program, {file});
        return copy.waitForStarted(10000);
    };

    // A copy is up once its channel takes a connection (it listens once its window is built,
    // which takes a while on a busy machine).
    const QString channel = cuiInstanceChannel::ServerName(
        indProgram::kMutexName,
        QDir(runtime.path())
            .filePath(QStringLiteral("Vexa PQ-T590 APP Exclusive Mutex.lock"))
            .toStdString());
    const auto listening = [&channel](QProcess& copy) {
        QElapsedTimer waited;
        waited.start();
        while (copy.state() == QProcess::Running && waited.elapsed() < 120000) {
            QLocalSocket probe;
            probe.connectToServer(channel);
            if (probe.waitForConnected(1000))
                return true;
            copy.waitForFinished(100);
        }
        return false;
    };

    QProcess first;
    ASSERT_TRUE(start(first));
    ASSERT_TRUE(listening(first));
    // The first copy takes a file handed to it: it runs with its lock and its channel.
    ASSERT_EQ(handed(), 0);
    ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitStatus(), QProcess::CrashExit);

    QProcess next;
    ASSERT_TRUE(start(next));
    ASSERT_TRUE(listening(next)) << "the next copy did not take over the killed copy's lock";
    EXPECT_EQ(handed(), 0);
    EXPECT_EQ(next.state(), QProcess::Running);

    ::kill(static_cast<pid_t>(next.processId()), SIGTERM);
    ASSERT_TRUE(next.waitForFinished(30000));
    EXPECT_EQ(next.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(next.exitCode(), 0);
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
