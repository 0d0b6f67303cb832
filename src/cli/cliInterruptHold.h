#pragma once

// Holds interrupts (Ctrl-C, SIGTERM, SIGHUP) back while a clone write runs: a write cut off
// half-way leaves the radio with part old and part new memory. The transfer ends on its own
// within seconds (it succeeds or times out); then the tool reports its outcome and ends. The
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
