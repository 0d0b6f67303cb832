#include "app/cuiTermination.h"

#include <QSocketNotifier>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <csignal>
#endif

#ifndef _WIN32
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
// The pair the handler writes into (1) and the event loop reads from (0); one cuiTermination.
int wakePair[2] = {-1, -1};

extern "C" void OnSignal(int) {
    const char byte = 1;
    // Only async-signal-safe calls here; a full pipe already wakes the loop.
    const ssize_t written = ::write(wakePair[1], &byte, 1);
    (void)written;
}

}  // namespace
#endif

cuiTermination::cuiTermination(std::function<void()> handler) : handler_(std::move(handler)) {
#ifndef _WIN32
    if (wakePair[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, wakePair) != 0)
        return;
    for (int fd : wakePair) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    notifier_ = std::make_unique<QSocketNotifier>(wakePair[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &cuiTermination::Wake);
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : kSignals)
        ::sigaction(s, &action, nullptr);
#endif
}

cuiTermination::~cuiTermination() {
#ifndef _WIN32
    if (!notifier_)
        return;
    for (int s : kSignals)
        ::signal(s, SIG_DFL);
    notifier_.reset();
    ::close(wakePair[0]);
    ::close(wakePair[1]);
    wakePair[0] = wakePair[1] = -1;
#endif
}

void cuiTermination::Wake() {
#ifndef _WIN32
    char bytes[16];
    while (::read(wakePair[0], bytes, sizeof bytes) > 0) {
    }
#endif
    if (handler_)
        handler_();
}
