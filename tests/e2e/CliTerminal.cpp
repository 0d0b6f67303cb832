// Starting pqt590-cli with its stderr on a pseudo-terminal, as a user at a terminal runs it.
#ifndef _WIN32

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <vector>

#include "CliProcess.h"

extern char** environ;

CliRun RunCliOnTerminal(const QStringList& args, int limitMs) {
    CliRun run;
    int master = -1, slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        run.err = "openpty failed";
        return run;
    }
    const std::string program = CliPath();
    std::vector<std::string> words{program};
    for (const QString& a : args)
        words.push_back(a.toStdString());
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, slave, 2);
    posix_spawn_file_actions_addclose(&actions, master);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(slave);
    if (spawned != 0) {
        close(master);
        run.err = "pqt590-cli did not start: " + program;
        return run;
    }

    // Read until the child has closed the terminal (EIO on Linux) or the limit passes.
    QElapsedTimer timer;
    timer.start();
    char buffer[4096];
    for (;;) {
        pollfd p{master, POLLIN, 0};
        const int ready = poll(&p, 1, 200);
        if (ready > 0) {
            const ssize_t n = read(master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            run.err.append(buffer, static_cast<size_t>(n));
        } else if (timer.elapsed() > limitMs) {
            kill(pid, SIGKILL);
            run.crashed = true;
            break;
        }
    }
    close(master);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    else
        run.crashed = true;
    return run;
}

#endif  // _WIN32
