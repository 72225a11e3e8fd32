// durable_write.cpp - atomic, durable replacement of a file (POSIX and Windows).
#include "fileio/durable_write.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fileio {

namespace {

// A name part that no other run is likely to use at the same time; an
// exclusive create retries with another one if it is taken anyway.
std::string uniquePart() {
    static std::uint64_t counter = 0;
    std::uint64_t x =
        static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
#ifdef _WIN32
    x ^= static_cast<std::uint64_t>(GetCurrentProcessId()) << 32;
#else
    x ^= static_cast<std::uint64_t>(getpid()) << 32;
#endif
    x += ++counter * 0x9E3779B97F4A7C15ull;
    // splitmix64 finaliser
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    x ^= x >> 31;
    static const char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string s;
    for (int i = 0; i < 8; ++i) {
        s += kDigits[x % 36];
        x /= 36;
    }
    return s;
}

// "DIR/" and "NAME" of a path ("" and the path when it has no folder part).
void splitPath(const std::string &path, std::string &dir, std::string &name) {
#ifdef _WIN32
    const std::size_t slash = path.find_last_of("/\\:");
#else
    const std::size_t slash = path.rfind('/');
#endif
    if (slash == std::string::npos) {
        dir.clear();
        name = path;
    } else {
        dir = path.substr(0, slash + 1);
        name = path.substr(slash + 1);
    }
}

// What a failed save says of the target: only a file that was there can have
// been "left as it was".
enum class Before { Existed, Absent, Unknown };

std::string failed(const std::string &path, const char *step, const std::string &reason, const char *todo,
                   Before before) {
    const std::string kept = before == Before::Existed  ? path + " was left as it was"
                             : before == Before::Absent ? "no file " + path + " was created"
                                                        : "nothing was written to " + path;
    return path + ": the save failed while " + step + " (" + reason + "); " + kept + ". " + todo;
}

}  // namespace

#ifndef _WIN32

namespace {

const char *kCheckDisk = "Check the disk and that the folder is writable, then save again.";
const char *kCheckSpace = "Free some space on the disk (or save to another disk), then save again.";

std::string reasonOf(int code) { return std::strerror(code); }

bool writeAll(int fd, const char *data, std::size_t size, int &code) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            code = errno;
            return false;
        }
        if (n == 0) {
            code = ENOSPC;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Links of the kernel's own (/proc/self/fd/1 behind /dev/stdout) lead to
// open files, not to names one could rename over.
bool isKernelLink(const std::string &target) {
    return target.rfind("/proc/", 0) == 0 || target.rfind("/dev/fd/", 0) == 0;
}

// Follows symbolic links from path to the name that is to be replaced. Sets
// inPlace when a link leads into the kernel's open-file links.
bool resolveLinks(const std::string &path, std::string &out, bool &inPlace, std::string &error) {
    std::string p = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(p.c_str(), &st) != 0) {
            if (errno == ENOENT) break;  // a new file (or a dangling link's target)
            error = failed(path, "looking up the file", reasonOf(errno), kCheckDisk, Before::Unknown);
            return false;
        }
        if (!S_ISLNK(st.st_mode)) break;
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(p.c_str(), &target[0], target.size());
        if (n < 0) {
            error = failed(path, "following the symbolic link", reasonOf(errno), kCheckDisk, Before::Unknown);
            return false;
        }
        target.resize(static_cast<std::size_t>(n));
        if (isKernelLink(target)) {
            inPlace = true;
            break;
        }
        if (target.empty() || target[0] != '/') {
            std::string dir, name;
            splitPath(p, dir, name);
            target = dir + target;
        }
        p = target;
        if (hops == 39) {
            error = failed(path, "following symbolic links", "too many levels of links",
                           "Check where the link points.", Before::Unknown);
            return false;
        }
    }
    out = p;
    return true;
}

// Writes into an existing file that is not a regular file (FIFO, device,
// standard output) without replacing it.
bool writeInPlace(const std::string &path, const std::string &bytes, std::string &error) {
    int fd;
    do fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error = path + ": cannot open it for writing (" + reasonOf(errno) +
                "); nothing was written. Check the name and its permissions.";
        return false;
    }
    int code = 0;
    const bool ok = writeAll(fd, bytes.data(), bytes.size(), code);
    if (::close(fd) != 0 && ok && errno != EINTR) code = errno;
    if (!ok || code != 0) {
        error = path + ": writing into it failed (" + reasonOf(code) + "); what it received is incomplete.";
        return false;
    }
    return true;
}

}  // namespace

bool replaceFile(const std::string &path, const std::string &bytes, std::string &error) {
    bool inPlace = false;
    std::string target;
    if (!resolveLinks(path, target, inPlace, error)) return false;
    if (inPlace) return writeInPlace(path, bytes, error);

    struct stat old;
    bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        error = failed(path, "looking up the file", reasonOf(errno), kCheckDisk, Before::Unknown);
        return false;
    }
    const Before before = exists ? Before::Existed : Before::Absent;
    if (exists && S_ISDIR(old.st_mode)) {
        error = path + ": is a folder; nothing was written. Give the name of a file.";
        return false;
    }
    if (exists && !S_ISREG(old.st_mode)) return writeInPlace(target, bytes, error);
    if (exists && ::access(target.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS)) {
        error = path + ": is read-only (" + reasonOf(errno) + "); it was left as it was. Make it writable " +
                "(chmod u+w) or save to another file.";
        return false;
    }

    std::string dir, name;
    splitPath(target, dir, name);
    const std::string folder = dir.empty() ? std::string(".") : dir;

    // The folder is opened first, so that it can be flushed after the rename.
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        error = failed(path, "opening its folder", reasonOf(errno),
                       "Check the folder exists and is readable and writable.", before);
        return false;
    }

    std::string temp;
    int fd = -1;
    for (int tries = 0; tries < 100 && fd < 0; ++tries) {
        temp = dir + "." + name + "." + uniquePart() + ".vantorel-part";
        // A new file gets the permissions the umask allows; a replaced one its own, below.
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, exists ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST && errno != EINTR) break;
    }
    if (fd < 0) {
        error = failed(path, "creating the temporary file", reasonOf(errno),
                       "Check the folder exists and is writable.", before);
        ::close(dirFd);
        return false;
    }

    auto abandon = [&](const char *step, int code, const char *todo) {
        if (fd >= 0) ::close(fd);
        ::unlink(temp.c_str());
        ::close(dirFd);
        error = failed(path, step, reasonOf(code), todo, before);
        return false;
    };

    int code = 0;
    if (!writeAll(fd, bytes.data(), bytes.size(), code))
        return abandon("writing the new file", code,
                       code == ENOSPC || code == EDQUOT ? kCheckSpace : kCheckDisk);
    if (exists && ::fchmod(fd, old.st_mode & 07777) != 0)
        return abandon("setting the permission bits", errno, kCheckDisk);
    if (::fsync(fd) != 0) return abandon("flushing the new file to the disk", errno, kCheckDisk);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0 && errno != EINTR) return abandon("closing the new file", errno, kCheckDisk);

    // A second name for the old file, until the new one is safely in place.
    std::string keep;
    if (exists) {
        for (int tries = 0; tries < 100; ++tries) {
            const std::string k = dir + "." + name + "." + uniquePart() + ".vantorel-old";
            if (::link(target.c_str(), k.c_str()) == 0) {
                keep = k;
                break;
            }
            if (errno != EEXIST) break;  // no hard links here: go on without
        }
    }

    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int e = errno;
        if (!keep.empty()) ::unlink(keep.c_str());
        return abandon("renaming the new file over the old one", e,
                       "Check the folder is writable and the file is not locked, then save again.");
    }
    if (::fsync(dirFd) != 0 && errno != EINVAL && errno != ENOTSUP) {
        const int e = errno;
        if (!keep.empty() && ::rename(keep.c_str(), target.c_str()) == 0) {
            // The old file is back; the new one is gone with the rename.
            (void)::fsync(dirFd);
            ::close(dirFd);
            error = failed(path, "flushing the folder to the disk", reasonOf(e), kCheckDisk, before);
            return false;
        }
        if (!keep.empty()) ::unlink(keep.c_str());
        ::close(dirFd);
        error = path + ": the save failed while flushing the folder to the disk (" + reasonOf(e) + "); " +
                path + " holds the new content, but it may not survive a power cut. " + kCheckDisk;
        return false;
    }
    ::close(dirFd);
    if (!keep.empty()) ::unlink(keep.c_str());
    return true;
}

#else  // _WIN32

namespace {

const char *kCheckDisk = "Check the disk and that the folder is writable, then save again.";

std::wstring widen(const std::string &s) {
    if (s.empty()) return std::wstring();
    const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), &w[0], n);
    return w;
}

std::string reasonOf(DWORD code) {
    char buf[256] = {0};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                             buf, sizeof buf, nullptr);
    while (n > 0 && (buf[n - 1] == '\n' || buf[n - 1] == '\r' || buf[n - 1] == ' ' || buf[n - 1] == '.')) --n;
    std::string text(buf, n);
    return text.empty() ? "Windows error " + std::to_string(code) : text;
}

bool writeAll(HANDLE h, const std::string &bytes, DWORD &code) {
    const char *p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
        DWORD done = 0;
        if (!WriteFile(h, p, chunk, &done, nullptr)) {
            code = GetLastError();
            return false;
        }
        if (done == 0) {
            code = ERROR_DISK_FULL;
            return false;
        }
        p += done;
        left -= done;
    }
    return true;
}

}  // namespace

bool replaceFile(const std::string &path, const std::string &bytes, std::string &error) {
    const std::wstring wpath = widen(path);
    const DWORD attrs = GetFileAttributesW(wpath.c_str());
    const bool exists = attrs != INVALID_FILE_ATTRIBUTES;
    const Before before = exists ? Before::Existed : Before::Absent;
    if (exists && (attrs & FILE_ATTRIBUTE_DIRECTORY)) {
        error = path + ": is a folder; nothing was written. Give the name of a file.";
        return false;
    }
    if (exists) {
        // Devices (NUL, CON) and pipes are written into, never replaced.
        HANDLE probe = CreateFileW(wpath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
        if (probe != INVALID_HANDLE_VALUE) {
            const DWORD type = GetFileType(probe);
            CloseHandle(probe);
            if (type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE) {
                HANDLE h = CreateFileW(wpath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
                DWORD code = 0;
                if (h == INVALID_HANDLE_VALUE) {
                    error = path + ": cannot open it for writing (" + reasonOf(GetLastError()) +
                            "); nothing was written. Check the name.";
                    return false;
                }
                const bool ok = writeAll(h, bytes, code);
                CloseHandle(h);
                if (!ok)
                    error = path + ": writing into it failed (" + reasonOf(code) +
                            "); what it received is incomplete.";
                return ok;
            }
        }
        if (attrs & FILE_ATTRIBUTE_READONLY) {
            error = path +
                    ": is read-only; it was left as it was. Clear its read-only attribute or save to " +
                    "another file.";
            return false;
        }
    }

    std::string dir, name;
    splitPath(path, dir, name);
    std::string temp;
    std::wstring wtemp;
    HANDLE h = INVALID_HANDLE_VALUE;
    DWORD code = 0;
    for (int tries = 0; tries < 100 && h == INVALID_HANDLE_VALUE; ++tries) {
        temp = dir + "." + name + "." + uniquePart() + ".vantorel-part";
        wtemp = widen(temp);
        h = CreateFileW(wtemp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            code = GetLastError();
            if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) break;
        }
    }
    if (h == INVALID_HANDLE_VALUE) {
        error = failed(path, "creating the temporary file", reasonOf(code),
                       "Check the folder exists and is writable.", before);
        return false;
    }
    auto abandon = [&](const char *step, DWORD c) {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        DeleteFileW(wtemp.c_str());
        error = failed(path, step, reasonOf(c), kCheckDisk, before);
        return false;
    };
    if (!writeAll(h, bytes, code)) return abandon("writing the new file", code);
    if (!FlushFileBuffers(h)) return abandon("flushing the new file to the disk", GetLastError());
    const BOOL closed = CloseHandle(h);
    h = INVALID_HANDLE_VALUE;
    if (!closed) return abandon("closing the new file", GetLastError());
    // The old file's attributes (hidden, archive...) carry over.
    if (exists) SetFileAttributesW(wtemp.c_str(), attrs & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));

    // A virus scanner or an indexer may hold the old file for a moment: try again
    // for a while before giving up. The old file is never deleted first.
    for (int tries = 0;; ++tries) {
        if (MoveFileExW(wtemp.c_str(), wpath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        code = GetLastError();
        const bool busy =
            code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION;
        if (!busy || tries >= 20) break;
        Sleep(50);
    }
    DeleteFileW(wtemp.c_str());
    error = failed(
        path, "renaming the new file over the old one", reasonOf(code),
        "Check the file is not open in another program and the folder is writable, then save again.", before);
    return false;
}

#endif

}  // namespace fileio
