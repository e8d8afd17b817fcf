#pragma once

#include <functional>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs work in a child process that may write files of maxFileBytes at most: a longer
// write fails (a full disk) or, with endOnLongerWrite, ends the child in the middle of
// that write (a kill). The child exits with the status work gives; the result is the
// wait status.
inline int RunLimitedChild(rlim_t maxFileBytes, bool endOnLongerWrite, const std::function<int()>& work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{maxFileBytes, maxFileBytes};
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::setrlimit(RLIMIT_CORE, &noCore);
        ::signal(SIGXFSZ, endOnLongerWrite ? SIG_DFL : SIG_IGN);
        ::_exit(work());
    }
    int status = -1;
    if (child > 0)
        ::waitpid(child, &status, 0);
    return status;
}
