/* broken_pipe.c - runs a command whose standard output is a pipe that nobody
 * reads any more (its read end is closed before the command starts), with
 * SIGPIPE at its default action, as after "| head -1" once head has exited.
 *   broken_pipe COMMAND [ARGS...]
 * Exits with the command's status, or 128+N if signal N ended it. */
#include <signal.h>
#include <stdio.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char **argv) {
    int fds[2];
    if (argc < 2) {
        (void)fprintf(stderr, "usage: broken_pipe COMMAND [ARGS...]\n");
        return 2;
    }
    if (pipe(fds) != 0) return 2;
    close(fds[0]);
    pid_t pid = fork();
    if (pid < 0) return 2;
    if (pid == 0) {
        if (signal(SIGPIPE, SIG_DFL) == SIG_ERR || dup2(fds[1], 1) < 0) {
            perror("broken_pipe");
            _exit(127);
        }
        close(fds[1]);
        execv(argv[1], argv + 1);
        perror(argv[1]);
        _exit(127);
    }
    close(fds[1]);
    int status = 0;
    if (waitpid(pid, &status, 0) < 0) return 2;
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}
