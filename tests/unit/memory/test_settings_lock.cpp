#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <iostream>
#include <memory>
#include <string>

#include "platform/cmcInstanceLock.h"

namespace {

using State = cmcInstanceLock::State;
const char* const kName = "Vexa PQ-T590 APP Exclusive Mutex";

class InstanceLockTest : public ::testing::Test {
protected:
    std::string Dir() const { return dir.path().toStdString(); }
    QTemporaryDir dir;
};

TEST_F(InstanceLockTest, FirstHoldsSecondSeesItUntilReleased) {
    auto first = std::make_unique<cmcInstanceLock>(kName, Dir());
    EXPECT_EQ(first->GetState(), State::First);
#if !defined(Q_OS_WIN)
    EXPECT_EQ(QFileInfo(QString::fromStdString(first->Path())).fileName(),
              QString("Vexa PQ-T590 APP Exclusive Mutex.lock"));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(first->Path())));
#endif
    {
        cmcInstanceLock second(kName, Dir());
        EXPECT_EQ(second.GetState(), State::Other);
    }
    // The second one's going does not release the first one's lock.
    EXPECT_EQ(cmcInstanceLock(kName, Dir()).GetState(), State::Other);
    first.reset();
    EXPECT_EQ(cmcInstanceLock(kName, Dir()).GetState(), State::First);
}

TEST_F(InstanceLockTest, OtherNamesDoNotInterfere) {
    cmcInstanceLock a(kName, Dir());
    cmcInstanceLock b("Another Program Mutex", Dir());
    EXPECT_EQ(a.GetState(), State::First);
    EXPECT_EQ(b.GetState(), State::First);
}

// Not a test of its own: the body of the other instance that the next test starts as a child
// process (this very program). It takes the lock, says how that went and waits to be killed.
TEST(InstanceLockChild, HoldsTheLockUntilKilled) {
    const QByteArray dir = qgetenv("PQ_LOCK_CHILD_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "only run as the child of LockOfAKilledInstanceIsTakenOver";
    cmcInstanceLock lock(kName, dir.toStdString());
    std::cout << "\nPQLOCK " << (lock.GetState() == State::First ? "First" : "Not first") << "\n"
              << std::flush;
    std::cin.get();  // until the parent goes away
}

TEST_F(InstanceLockTest, LockOfAKilledInstanceIsTakenOver) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PQ_LOCK_CHILD_DIR", dir.path());
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=InstanceLockChild.HoldsTheLockUntilKilled"});
    ASSERT_TRUE(child.waitForStarted(30000));
    QByteArray out;
    while (!out.contains("PQLOCK") || out.indexOf('\n', out.indexOf("PQLOCK")) < 0) {
        ASSERT_TRUE(child.waitForReadyRead(30000)) << out.toStdString();
        out += child.readAllStandardOutput();
    }
    ASSERT_TRUE(out.contains("PQLOCK First\n")) << out.toStdString();

    EXPECT_EQ(cmcInstanceLock(kName, Dir()).GetState(), State::Other);
    child.kill();  // a crash: the child releases nothing
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(cmcInstanceLock(kName, Dir()).GetState(), State::First);
}

#if !defined(Q_OS_WIN)
TEST_F(InstanceLockTest, SeparatorsInTheNameStayInTheDirectory) {
    cmcInstanceLock lock("Global\\odd/name", Dir());
    EXPECT_EQ(lock.GetState(), State::First);
    EXPECT_EQ(QFileInfo(QString::fromStdString(lock.Path())).absolutePath(),
              QFileInfo(dir.path()).absoluteFilePath());
}

TEST_F(InstanceLockTest, LongHeldLockOfALiveHolderIsNotTakenOver) {
    cmcInstanceLock first(kName, Dir());
    ASSERT_EQ(first.GetState(), State::First);
    // As if the first instance had been running for a day.
    QFile f(QString::fromStdString(first.Path()));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        f.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
    f.close();
    EXPECT_EQ(cmcInstanceLock(kName, Dir()).GetState(), State::Other);
}

// After a restart of the machine (or its container) the program may be given the process number
// its earlier run had: the lock that run left names this very process, and must still be taken
// over, or the program would never start again.
TEST_F(InstanceLockTest, ALeftLockNamingThisVeryProcessIsTakenOver) {
    std::string leftPath;
    {
        cmcInstanceLock earlier(kName, Dir());
        ASSERT_EQ(earlier.GetState(), State::First);
        leftPath = earlier.Path();
        // The earlier run's file as it stays when its process is killed: a copy, held by none.
        ASSERT_TRUE(QFile::copy(QString::fromStdString(leftPath),
                                QString::fromStdString(leftPath) + ".left"));
    }
    ASSERT_FALSE(QFile::exists(QString::fromStdString(leftPath)));
    ASSERT_TRUE(QFile::rename(QString::fromStdString(leftPath) + ".left",
                              QString::fromStdString(leftPath)));
    cmcInstanceLock now(kName, Dir());
    EXPECT_EQ(now.GetState(), State::First);
    // A lock this process holds stays its holder's.
    EXPECT_EQ(cmcInstanceLock(kName, Dir()).GetState(), State::Other);
}

TEST_F(InstanceLockTest, UnusableDirectoryMakesTheLockUnavailable) {
    cmcInstanceLock lock(kName, dir.filePath("no/such/dir").toStdString());
    EXPECT_EQ(lock.GetState(), State::Unavailable);
}
#endif

}  // namespace
