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

}  // namespace

#endif  // _WIN32
