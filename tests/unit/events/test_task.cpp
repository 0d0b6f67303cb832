#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <stdexcept>

#include "events/cmcTask.h"

namespace {

// Runs the event loop until the condition holds or a generous deadline passes; the deadline only
// keeps a broken build from hanging and is never what a test asserts on.
template <class Cond>
bool PumpUntil(Cond cond) {
    QDeadlineTimer deadline(10000);
    while (!cond() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return cond();
}

struct Calls {
    int count = 0;
    cmcTask* seenTask = nullptr;
    bool busyInside = false;
};

void Count(void* context, cmcTask& task) {
    auto* c = static_cast<Calls*>(context);
    ++c->count;
    c->seenTask = &task;
    c->busyInside = task.IsBusy();
}

TEST(Task, StartsStoppedIdleAndWithoutHandler) {
    cmcTask task;
    EXPECT_TRUE(task.IsStopped());
    EXPECT_FALSE(task.IsBusy());
    EXPECT_FALSE(task.HasHandler());
    task.TimerEvent();  // no handler: nothing happens
    EXPECT_FALSE(task.IsBusy());
}

TEST(Task, ScheduleSetsIntervalOrStops) {
    struct Case {
        int ms;
        bool stopped;
        int interval;
    };
    const Case cases[] = {
        {0, false, 1}, {1, false, 1}, {50, false, 50}, {-1, true, 50}, {-5, true, 50}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ms);
        cmcTask task;
        task.Schedule(50);
        EXPECT_EQ(task.Schedule(c.ms), c.stopped);
        EXPECT_EQ(task.IsStopped(), c.stopped);
        EXPECT_EQ(task.Interval(), c.interval);  // a stop keeps the last interval
    }
}

TEST(Task, TimerEventCallsHandlerWithContextAndTask) {
    Calls calls;
    cmcTask task;
    task.SetHandler(&Count, &calls);
    task.TimerEvent();
    EXPECT_EQ(calls.count, 1);
    EXPECT_EQ(calls.seenTask, &task);
    EXPECT_TRUE(calls.busyInside);
    EXPECT_FALSE(task.IsBusy());
}

TEST(Task, HandlerIsNotReenteredWhileItRuns) {
    struct Nested {
        int count = 0;
    } nested;
    cmcTask task;
    task.SetHandler(
        [](void* ctx, cmcTask& t) {
            ++static_cast<Nested*>(ctx)->count;
            t.TimerEvent();  // as if the handler pumped messages and the timer fired again
            t.TimerEvent();
        },
        &nested);
    task.TimerEvent();
    EXPECT_EQ(nested.count, 1);
    task.TimerEvent();
    EXPECT_EQ(nested.count, 2);
}

TEST(Task, HandlerMayRescheduleOrStopItsOwnTask) {
    cmcTask task;
    task.Schedule(10);
    task.SetHandler([](void*, cmcTask& t) { t.Schedule(-1); }, nullptr);
    task.TimerEvent();
    EXPECT_TRUE(task.IsStopped());
    task.SetHandler([](void*, cmcTask& t) { t.Schedule(0); }, nullptr);
    task.TimerEvent();
    EXPECT_FALSE(task.IsStopped());
    EXPECT_EQ(task.Interval(), 1);
    task.Schedule(-1);
}

TEST(Task, CancelRemovesHandlerAndStops) {
    Calls calls;
    cmcTask task;
    task.SetHandler(&Count, &calls);
    task.Schedule(5);
    task.Cancel();
    EXPECT_TRUE(task.IsStopped());
    EXPECT_FALSE(task.HasHandler());
    task.TimerEvent();
    EXPECT_EQ(calls.count, 0);
}

TEST(Task, BusyIsClearedWhenHandlerThrows) {
    cmcTask task;
    task.SetHandler([](void*, cmcTask&) { throw std::runtime_error("x"); }, nullptr);
    EXPECT_THROW(task.TimerEvent(), std::runtime_error);
    EXPECT_FALSE(task.IsBusy());
}

TEST(Task, RealTimerCallsHandlerOnTheEventLoop) {
    Calls calls;
    cmcTask task;
    task.SetHandler(&Count, &calls);
    task.Schedule(1);
    EXPECT_TRUE(PumpUntil([&] { return calls.count >= 3; }));
    task.Schedule(-1);
    const int after = calls.count;
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(calls.count, after);  // a stopped timer never fires
}

TEST(Task, DisposeFromOutsideCancelsAndClearsPointer) {
    Calls calls;
    cmcTask* task = new cmcTask;
    task->SetHandler(&Count, &calls);
    task->Schedule(1);
    cmcTask::Dispose(task);
    EXPECT_EQ(task, nullptr);
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(calls.count, 0);
    cmcTask::Dispose(task);  // already gone: nothing happens
}

// An owner that gets rid of its task from inside the task's own handler, driven by the real
// timer: the timer's signal is still on the stack when the task is freed.
struct SelfDisposer {
    cmcTask* task = nullptr;
    int calls = 0;
};

TEST(Task, DisposeFromInsideItsOwnHandlerOnTheRealTimer) {
    SelfDisposer owner;
    owner.task = new cmcTask;
    owner.task->SetHandler(
        [](void* ctx, cmcTask&) {
            auto* o = static_cast<SelfDisposer*>(ctx);
            ++o->calls;
            cmcTask::Dispose(o->task);
        },
        &owner);
    owner.task->Schedule(1);
    EXPECT_TRUE(PumpUntil([&] { return owner.task == nullptr; }));
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(owner.calls, 1);
}

TEST(Task, DisposeFromInsideHandlerCalledDirectly) {
    SelfDisposer owner;
    owner.task = new cmcTask;
    owner.task->SetHandler(
        [](void* ctx, cmcTask&) {
            auto* o = static_cast<SelfDisposer*>(ctx);
            ++o->calls;
            cmcTask::Dispose(o->task);
        },
        &owner);
    owner.task->TimerEvent();
    EXPECT_EQ(owner.task, nullptr);
    EXPECT_EQ(owner.calls, 1);
    QCoreApplication::processEvents();  // frees the timer object left for the event loop
}

}  // namespace
