#pragma once

// Holds interrupts (Ctrl-C, SIGTERM, SIGHUP) back while a clone write runs: a write cut off
// half-way leaves the radio with part old and part new memory. The transfer ends on its own
// (it succeeds, or a time-out of a second or two ends it); then the tool reports its outcome. The
// desktop program likewise refuses to close during a transfer. POSIX only.
class cliInterruptHold {
public:
    cliInterruptHold();
    ~cliInterruptHold();
    cliInterruptHold(const cliInterruptHold&) = delete;
    cliInterruptHold& operator=(const cliInterruptHold&) = delete;

    // An interrupt arrived while held.
    static bool Interrupted();
};
