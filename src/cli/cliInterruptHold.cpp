#include "cli/cliInterruptHold.h"

#ifndef _WIN32

#include <signal.h>
#include <unistd.h>

namespace {

volatile sig_atomic_t g_interrupted = 0;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction g_previous[sizeof kSignals / sizeof kSignals[0]];

void OnSignal(int) {
    g_interrupted = 1;
    // Only async-signal-safe calls here.
    static const char kText[] =
        "\npqt590-cli: a clone write cannot be stopped safely; waiting for its end\n";
    const ssize_t ignored = write(2, kText, sizeof kText - 1);
    (void)ignored;
}

}  // namespace

cliInterruptHold::cliInterruptHold() {
    g_interrupted = 0;
    struct sigaction action = {};
    action.sa_handler = &OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i)
        sigaction(kSignals[i], &action, &g_previous[i]);
}

cliInterruptHold::~cliInterruptHold() {
    for (size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i)
        sigaction(kSignals[i], &g_previous[i], nullptr);
}

bool cliInterruptHold::Interrupted() {
    return g_interrupted != 0;
}

#else

cliInterruptHold::cliInterruptHold() {}
cliInterruptHold::~cliInterruptHold() {}
bool cliInterruptHold::Interrupted() {
    return false;
}

#endif
