#include "events/cmcTask.h"

#include <QObject>
#include <QTimer>
#include <algorithm>

cmcTask::cmcTask() : timer_(new QTimer()) {
    QObject::connect(timer_, &QTimer::timeout, timer_, [this] { TimerEvent(); });
    Schedule(-1);
}

cmcTask::~cmcTask() {
    timer_->stop();
    QObject::disconnect(timer_, nullptr, nullptr, nullptr);
    if (destroyedFlag_) {
        // Freed from inside our own handler, which the timer's signal may still be calling: the
        // timer must not be deleted under its feet, so the event loop frees it.
        *destroyedFlag_ = true;
        timer_->deleteLater();
    } else {
        delete timer_;
    }
}

void cmcTask::SetHandler(cmcTaskHandler handler, void* context) {
    handler_ = handler;
    context_ = context;
}

bool cmcTask::Schedule(int ms) {
    if (ms < 0) {
        timer_->stop();
        stopped_ = true;
    } else {
        timer_->start(std::max(ms, 1));
        stopped_ = false;
    }
    return stopped_;
}

int cmcTask::Interval() const {
    return timer_->interval();
}

void cmcTask::Cancel() {
    handler_ = nullptr;
    context_ = nullptr;
    Schedule(-1);
}

void cmcTask::TimerEvent() {
    if (busy_ || !handler_)
        return;
    bool destroyed = false;
    // Clears busy on the way out, also when the handler throws, unless the handler freed us.
    struct Guard {
        cmcTask* task;
        const bool& destroyed;
        ~Guard() {
            if (destroyed)
                return;
            task->busy_ = false;
            task->destroyedFlag_ = nullptr;
        }
    } guard{this, destroyed};
    destroyedFlag_ = &destroyed;
    busy_ = true;
    handler_(context_, *this);
}

void cmcTask::Dispose(cmcTask*& task) {
    if (!task)
        return;
    task->Cancel();
    delete task;
    task = nullptr;
}
