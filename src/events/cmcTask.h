#pragma once

class QTimer;
class cmcTask;

// Called on each timer event with the context given to SetHandler and the task itself.
using cmcTaskHandler = void (*)(void* context, cmcTask& task);

// A timer task: a periodic callback on the user-interface thread. The handler is never entered
// again while it runs (for example when it pumps messages), and it may call Schedule on its own
// task to change its period or stop it.
class cmcTask {
public:
    // No handler, stopped, not busy.
    cmcTask();
    // Safe even from inside the task's own handler: the handler's caller notices and leaves the
    // task alone, and the timer object is released by the event loop.
    ~cmcTask();

    cmcTask(const cmcTask&) = delete;
    cmcTask& operator=(const cmcTask&) = delete;

    void SetHandler(cmcTaskHandler handler, void* context);

    // ms < 0 stops the timer; ms >= 0 (re)starts it with the interval max(ms, 1), which restarts
    // the wait. Returns true when the timer is now stopped.
    bool Schedule(int ms);

    // Removes the handler and stops the timer.
    void Cancel();

    // What the timer does on each tick. Public so that code running in virtual time (tests, the
    // clone driver's fake link) can step a task without waiting for the real timer.
    void TimerEvent();

    bool IsBusy() const { return busy_; }
    bool IsStopped() const { return stopped_; }
    bool HasHandler() const { return handler_ != nullptr; }
    // The timer's interval in ms as last scheduled; 0 before the first Schedule with ms >= 0.
    int Interval() const;

    // How owners get rid of a task: cancelled first, so it can never call its handler again, then
    // freed and the owner's pointer cleared. Safe from inside the task's handler.
    static void Dispose(cmcTask*& task);

private:
    QTimer* timer_;
    cmcTaskHandler handler_ = nullptr;
    void* context_ = nullptr;
    bool busy_ = false;
    bool stopped_ = true;
    // Points at a flag in the running TimerEvent frame while the handler runs, so that the
    // destructor can tell that frame not to touch the task any more.
    bool* destroyedFlag_ = nullptr;
};
