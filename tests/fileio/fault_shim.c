/* fault_shim.c - an LD_PRELOAD library that makes one system call of a save
 * fail, so that the tests can prove the old file survives every failure of the
 * real vantorel-host binary.
 *
 * Environment:
 *   VT_FAULT_DIR=DIR      only calls on files under DIR (absolute, as the test
 *                         names them) are counted: opens for writing and opens
 *                         of folders, and the write, fsync, close, rename and
 *                         link calls on those files
 *   VT_FAULT=CALL:N:WHAT  the Nth counted call (from 1) of CALL (open, write,
 *                         fsync, close, rename, link) fails with WHAT: EIO,
 *                         ENOSPC, EACCES, EPERM, or for write "short" (writes
 *                         half of what was asked and returns that) or
 *                         "shortnospc" (that, then ENOSPC on the next write)
 *   VT_TOUCH=FILE:HOW     changes FILE just before it is opened for reading
 *                         the second time (the first is the scene being
 *                         loaded): HOW "byte" flips one byte in place and keeps
 *                         the size and modification time; "append" adds a line
 * When the fault fires, "vt-fault: CALL #N fails with WHAT" goes to stderr. */
#define _GNU_SOURCE /* NOLINT(bugprone-reserved-identifier): asks glibc for RTLD_NEXT */
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#define MAX_FD 4096

static char watched[MAX_FD];
static int counts[6];
static int shortPending;
static int readOpens;
static const char *kCalls[6] = {"open", "write", "fsync", "close", "rename", "link"};
enum { C_OPEN, C_WRITE, C_FSYNC, C_CLOSE, C_RENAME, C_LINK };

static void *next(const char *name) { return dlsym(RTLD_NEXT, name); }

static ssize_t realWrite(int fd, const void *buf, size_t n) {
    static ssize_t (*f)(int, const void *, size_t);
    if (!f) f = (ssize_t(*)(int, const void *, size_t))next("write");
    return f(fd, buf, n);
}

static void say(const char *text) { (void)realWrite(2, text, strlen(text)); }

static int underDir(const char *path) {
    const char *dir = getenv("VT_FAULT_DIR");
    if (!dir || !*dir || !path) return 0;
    return strncmp(path, dir, strlen(dir)) == 0;
}

/* Whether this call is the one to fail; sets *what to the failure's name. */
static int fires(int call, const char **what) {
    const char *rule = getenv("VT_FAULT");
    char name[16];
    int n = 0;
    static char how[32];
    ++counts[call];
    if (!rule || sscanf(rule, "%15[a-z]:%d:%31s", name, &n, how) != 3) return 0;
    if (strcmp(name, kCalls[call]) != 0 || counts[call] != n) return 0;
    *what = how;
    char line[128];
    snprintf(line, sizeof line, "vt-fault: %s #%d fails with %s\n", name, n, how);
    say(line);
    return 1;
}

static int errnoOf(const char *what) {
    if (strcmp(what, "ENOSPC") == 0) return ENOSPC;
    if (strcmp(what, "EACCES") == 0) return EACCES;
    if (strcmp(what, "EPERM") == 0) return EPERM;
    return EIO;
}

static void touch(const char *path) {
    const char *rule = getenv("VT_TOUCH");
    if (!rule) return;
    const char *colon = strrchr(rule, ':');
    if (!colon || strncmp(rule, path, (size_t)(colon - rule)) != 0 || path[colon - rule] != '\0') return;
    if (++readOpens != 2) return;
    static int (*realOpen)(const char *, int, ...);
    if (!realOpen) realOpen = (int (*)(const char *, int, ...))next("open");
    struct stat st;
    if (stat(path, &st) != 0) return;
    int fd = realOpen(path, O_RDWR);
    if (fd < 0) return;
    if (strcmp(colon + 1, "append") == 0) {
        lseek(fd, 0, SEEK_END);
        (void)realWrite(fd, "# edited elsewhere\n", 19);
    } else {
        char c = 0;
        off_t at = st.st_size / 2;
        if (pread(fd, &c, 1, at) == 1) {
            c = (char)(c == 'x' ? 'y' : 'x');
            (void)pwrite(fd, &c, 1, at);
        }
    }
    close(fd);
    if (strcmp(colon + 1, "append") != 0) {
        struct timespec times[2] = {st.st_atim, st.st_mtim};
        utimensat(AT_FDCWD, path, times, 0);
    }
    say("vt-fault: changed the file before it was read back\n");
}

static int openCommon(const char *name, int dirfd, const char *path, int flags, mode_t mode) {
    const int writes = (flags & (O_WRONLY | O_RDWR)) != 0 || (flags & O_DIRECTORY) != 0;
    const char *what;
    if (!writes) touch(path);
    if (writes && underDir(path) && fires(C_OPEN, &what)) {
        errno = errnoOf(what);
        return -1;
    }
    int fd;
    if (dirfd == -1000) {
        int (*f)(const char *, int, ...) = (int (*)(const char *, int, ...))next(name);
        fd = f(path, flags, mode);
    } else {
        int (*f)(int, const char *, int, ...) = (int (*)(int, const char *, int, ...))next(name);
        fd = f(dirfd, path, flags, mode);
    }
    if (fd >= 0 && fd < MAX_FD) watched[fd] = (char)(writes && underDir(path));
    return fd;
}

#define MODE_ARG(flags)                    \
    mode_t mode = 0;                       \
    if ((flags) & (O_CREAT | O_TMPFILE)) { \
        va_list ap;                        \
        va_start(ap, flags);               \
        mode = (mode_t)va_arg(ap, int);    \
        va_end(ap);                        \
    }

int open(const char *path, int flags, ...) {
    MODE_ARG(flags)
    return openCommon("open", -1000, path, flags, mode);
}
int open64(const char *path, int flags, ...) {
    MODE_ARG(flags)
    return openCommon("open64", -1000, path, flags, mode);
}
int openat(int dirfd, const char *path, int flags, ...) {
    MODE_ARG(flags)
    return openCommon("openat", dirfd, path, flags, mode);
}
int openat64(int dirfd, const char *path, int flags, ...) {
    MODE_ARG(flags)
    return openCommon("openat64", dirfd, path, flags, mode);
}

ssize_t write(int fd, const void *buf, size_t n) {
    const char *what;
    if (fd >= 0 && fd < MAX_FD && watched[fd]) {
        if (shortPending) {
            shortPending = 0;
            errno = ENOSPC;
            return -1;
        }
        if (fires(C_WRITE, &what)) {
            if (strncmp(what, "short", 5) == 0 && n > 1) {
                shortPending = strcmp(what, "shortnospc") == 0;
                return realWrite(fd, buf, n / 2);
            }
            errno = errnoOf(what);
            return -1;
        }
    }
    return realWrite(fd, buf, n);
}

int fsync(int fd) {
    static int (*f)(int);
    const char *what;
    if (!f) f = (int (*)(int))next("fsync");
    if (fd >= 0 && fd < MAX_FD && watched[fd] && fires(C_FSYNC, &what)) {
        errno = errnoOf(what);
        return -1;
    }
    return f(fd);
}

int fdatasync(int fd) { return fsync(fd); }

int close(int fd) {
    static int (*f)(int);
    const char *what;
    if (!f) f = (int (*)(int))next("close");
    if (fd >= 0 && fd < MAX_FD && watched[fd]) {
        watched[fd] = 0;
        if (fires(C_CLOSE, &what)) {
            f(fd);
            errno = errnoOf(what);
            return -1;
        }
    }
    return f(fd);
}

int rename(const char *from, const char *to) {
    static int (*f)(const char *, const char *);
    const char *what;
    if (!f) f = (int (*)(const char *, const char *))next("rename");
    if ((underDir(from) || underDir(to)) && fires(C_RENAME, &what)) {
        errno = errnoOf(what);
        return -1;
    }
    return f(from, to);
}

int link(const char *from, const char *to) {
    static int (*f)(const char *, const char *);
    const char *what;
    if (!f) f = (int (*)(const char *, const char *))next("link");
    if ((underDir(from) || underDir(to)) && fires(C_LINK, &what)) {
        errno = errnoOf(what);
        return -1;
    }
    return f(from, to);
}
