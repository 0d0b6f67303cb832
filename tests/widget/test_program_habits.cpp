// Habits of a desktop program: a second start hands its file to the running window, which comes
// to the front and opens it; the system's request to end (SIGTERM) ends the program as a close
// does, the unsaved changes kept for the next start.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTest>
#include <atomic>
#include <csignal>
#include <future>

#include "MainWindowFixture.h"
#include "app/cuiInstanceChannel.h"
#include "app/cuiTermination.h"
#include "session/indRecovery.h"

namespace {

constexpr int kBoundMs = 30000;  // only against hanging

class ProgramHabits : public MainWindowTest {
protected:
    void SetUp() override { Start(); }
    // A name of this test's own, so that no other copy of the program (or test) answers.
    QString ChannelName() const {
        return cuiInstanceChannel::ServerName("PQ-T590 test", Path("instance.lock"));
    }
    // A second start hands path over, from a thread of its own as from a process of its own,
    // while this thread's event loop is the running copy's.
    bool HandOver(const QString& path) {
        std::future<bool> handed = std::async(std::launch::async, [this, path] {
            return cuiInstanceChannel::Hand(ChannelName(), path);
        });
        const bool delivered = QTest::qWaitFor(
            [&] { return handed.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
            kBoundMs);
        return delivered && handed.get();
    }
};

TEST_F(ProgramHabits, ASecondStartHandsItsFileToTheRunningWindowWhichOpensIt) {
    cuiInstanceChannel channel;
    ASSERT_TRUE(channel.Listen(ChannelName(),
                               [this](const QString& path) { form_->TakeHandedFile(path); }));
    const std::string file = MakeFile("handed.t590", "HANDED");
    ASSERT_TRUE(HandOver(QString::fromStdString(file)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Title() == "handed.t590 - PQ-T590"; }, kBoundMs))
        << Title();
    EXPECT_EQ(WorkingComment(), "HANDED");
}

TEST_F(ProgramHabits, AHandedFileAsksAboutUnsavedChangesFirst) {
    cuiInstanceChannel channel;
    ASSERT_TRUE(channel.Listen(ChannelName(),
                               [this](const QString& path) { form_->TakeHandedFile(path); }));
    Edit("MINE");
    host_->QueueAnswer(HostAnswer::Cancel);
    ASSERT_TRUE(HandOver(QString::fromStdString(MakeFile("other.t590", "OTHER"))));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Questions() == 1; }, kBoundMs));
    EXPECT_EQ(WorkingComment(), "MINE");  // cancelled: kept
}

TEST_F(ProgramHabits, ASecondStartWithoutAFileOpensNothing) {
    cuiInstanceChannel channel;
    int handed = 0;
    QString last = QStringLiteral("unset");
    ASSERT_TRUE(channel.Listen(ChannelName(), [&](const QString& path) {
        ++handed;
        last = path;
        form_->TakeHandedFile(path);
    }));
    ASSERT_TRUE(HandOver(QString()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return handed == 1; }, kBoundMs));
    EXPECT_TRUE(last.isEmpty());
    EXPECT_EQ(Title(), "Untitled - PQ-T590");
}

TEST_F(ProgramHabits, NoRunningCopyMeansNothingIsHanded) {
    EXPECT_FALSE(cuiInstanceChannel::Hand(ChannelName(), QStringLiteral("/x.t590"), 300));
}

// Two files double-clicked one after the other: the second start finds the lock taken while
// the first copy is still building its window and not listening yet. It asks again, and the
// file reaches the window once it listens.
TEST_F(ProgramHabits, AFileHandedBeforeTheRunningCopyListensStillReachesIt) {
    const std::string file = MakeFile("early.t590", "EARLY");
    std::atomic<int> attempts{0};
    std::future<bool> handed = std::async(std::launch::async, [this, &file, &attempts] {
        return cuiInstanceChannel::Hand(ChannelName(), QString::fromStdString(file), kBoundMs,
                                        &attempts);
    });
    // The first try has found nobody listening.
    ASSERT_TRUE(QTest::qWaitFor([&attempts] { return attempts.load() >= 2; }, kBoundMs));
    cuiInstanceChannel channel;
    ASSERT_TRUE(channel.Listen(ChannelName(),
                               [this](const QString& path) { form_->TakeHandedFile(path); }));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return handed.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        kBoundMs));
    EXPECT_TRUE(handed.get());
    EXPECT_TRUE(QTest::qWaitFor([this] { return WorkingComment() == "EARLY"; }, kBoundMs));
}

#ifndef _WIN32
TEST_F(ProgramHabits, ASocketLeftByAKilledCopyIsTakenOver) {
    // What a killed copy leaves where its socket was.
    QFile left(QDir(QDir::tempPath()).filePath(ChannelName()));
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.close();
    cuiInstanceChannel channel;
    EXPECT_TRUE(channel.Listen(ChannelName(), [](const QString&) {}));
    EXPECT_TRUE(channel.Listening());
}
#endif

#ifndef _WIN32
TEST_F(ProgramHabits, SigtermWakesTheEventLoopInsteadOfKillingTheProgram) {
    int calls = 0;
    {
        cuiTermination termination([&] { ++calls; });
        ASSERT_TRUE(termination.Active());
        ASSERT_EQ(std::raise(SIGTERM), 0);  // would end the test program without the handler
        EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 1; }, kBoundMs));
    }
    EXPECT_EQ(calls, 1);
}
#endif

TEST_F(ProgramHabits, EndedFromOutsideTheUnsavedChangesStayForTheNextStart) {
    const std::string data = Path("data");
    ASSERT_TRUE(main_->Session().EnableRecovery(data));
    Edit("UNSAVED");
    form_->EndFromOutside();
    EXPECT_FALSE(form_->isVisible());
    EXPECT_EQ(Questions(), 0);  // nobody is there to answer
    EXPECT_TRUE(QFile::exists(QDir(QString::fromStdString(data)).filePath(indRecovery::kFileName)));
    // The next start finds it as after a crash.
    indRecovery next;
    ASSERT_TRUE(next.Claim(data));
    EXPECT_TRUE(next.HasEarlier());
}

}  // namespace
