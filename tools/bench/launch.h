// What both first-frame helpers do with the program they time: takes its command line and
// gives its process, started from just after a reading of the clock, and its end status.
#pragma once

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

// Milliseconds on the monotonic clock.
inline double now_ms() {
    timespec t = {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

inline pid_t start_program(char** command) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    execvp(command[0], command);
    std::perror(command[0]);
    _exit(127);
}

// The status the helper ends with: the program's own once it has ended.
inline int wait_for(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) < 0) return 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 0;
}
