#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
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

#if !defined(Q_OS_WIN)
TEST_F(InstanceLockTest, SeparatorsInTheNameStayInTheDirectory) {
    cmcInstanceLock lock("Global\\odd/name", Dir());
    EXPECT_EQ(lock.GetState(), State::First);
    EXPECT_EQ(QFileInfo(QString::fromStdString(lock.Path())).absolutePath(),
              QFileInfo(dir.path()).absoluteFilePath());
}

TEST_F(InstanceLockTest, LockOfACrashedHolderIsTakenOver) {
    // Make a genuine lock file, then let it claim a process that no longer exists, as a crashed
    // instance leaves it.
    QByteArray contents;
    std::string path;
    {
        cmcInstanceLock probe(kName, Dir());
        ASSERT_EQ(probe.GetState(), State::First);
        path = probe.Path();
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        contents = f.readAll();
    }
    const qsizetype eol = contents.indexOf('\n');
    ASSERT_GT(eol, 0);
    contents.replace(0, eol, "2147483646");  // beyond any process id in use
    {
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contents);
    }
    cmcInstanceLock next(kName, Dir());
    EXPECT_EQ(next.GetState(), State::First);
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

TEST_F(InstanceLockTest, UnusableDirectoryMakesTheLockUnavailable) {
    cmcInstanceLock lock(kName, dir.filePath("no/such/dir").toStdString());
    EXPECT_EQ(lock.GetState(), State::Unavailable);
}
#endif

}  // namespace
