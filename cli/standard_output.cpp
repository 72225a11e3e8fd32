// standard_output.cpp - checked standard output for vantorel-host.
#include "standard_output.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vhost {

namespace {

int firstError = 0;  // errno of the first failed write, 0 if none
bool sawFailure = false;

void record(int code) {
    if (!sawFailure) firstError = code;
    sawFailure = true;
}

}  // namespace

void prepareStandardStreams() {
#ifndef _WIN32
    // Only fails for a bad signal number; SIGPIPE is a valid one.
    (void)std::signal(SIGPIPE, SIG_IGN);
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // Read-only: writes to it fail (EBADF), reads give end of file. open
        // takes the lowest free number, which is fd (the lower ones are open).
        const int placeholder = ::open("/dev/null", O_RDONLY);
        if (placeholder >= 0 && placeholder != fd) ::close(placeholder);
    }
#endif
}

void noteStandardOutput() {
    if (!sawFailure && !std::cout) record(errno);
}

bool finishStandardOutput(Diagnostics &err) {
    errno = 0;
    std::cout.flush();
    if (std::fflush(stdout) != 0) record(errno);
    if (!std::cout || std::ferror(stdout)) record(errno);
#ifdef _WIN32
    const int closed = _close(_fileno(stdout));
#else
    const int closed = ::close(STDOUT_FILENO);
#endif
    // EBADF: there was no standard output at all; only a failed write counts then.
    if (closed != 0 && errno != EBADF && errno != EINTR) record(errno);
    if (!sawFailure) return true;
    std::string reason = firstError == EPIPE   ? "broken pipe: its reader stopped before the end"
                         : firstError == EBADF ? "it is closed"
                         : firstError != 0     ? std::strerror(firstError)
                                               : "a write failed";
    err.error(
        "standard output could not be written (" + reason +
        "); the Layout commands on it are incomplete. Send it to a file or program that takes all of it "
        "(exit 4).");
    return false;
}

}  // namespace vhost
