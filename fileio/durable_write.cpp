// durable_write.cpp - atomic, durable replacement of a file (POSIX and Windows).
#include "fileio/durable_write.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <utility>

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

WriteError failed(const std::string &path, const char *step, const std::string &reason, const char *todo,
                  Before before) {
    const std::string kept = before == Before::Existed  ? path + " was left as it was"
                             : before == Before::Absent ? "no file " + path + " was created"
                                                        : "nothing was written to " + path;
    return {step, reason,
            path + ": the save failed while " + step + " (" + reason + "); " + kept + ". " + todo};
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
bool resolveLinks(const std::string &path, std::string &out, bool &inPlace, WriteError &error) {
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
bool writeInPlace(const std::string &path, const std::string &bytes, WriteError &error) {
    int fd;
    do fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const std::string reason = reasonOf(errno);
        error = {"opening it for writing", reason,
                 path + ": cannot open it for writing (" + reason +
                     "); nothing was written. Check the name and its permissions."};
        return false;
    }
    int code = 0;
    const bool ok = writeAll(fd, bytes.data(), bytes.size(), code);
    if (::close(fd) != 0 && ok && errno != EINTR) code = errno;
    if (!ok || code != 0) {
        const std::string reason = reasonOf(code);
        error = {"writing into it", reason,
                 path + ": writing into it failed (" + reason + "); what it received is incomplete."};
        return false;
    }
    return true;
}

// What the name to be replaced holds now.
enum class Target { Regular, Special, Refused };

Target lookUp(const std::string &path, const std::string &target, struct stat &old, bool &exists,
              WriteError &error) {
    exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        error = failed(path, "looking up the file", reasonOf(errno), kCheckDisk, Before::Unknown);
        return Target::Refused;
    }
    if (!exists) return Target::Regular;
    if (S_ISDIR(old.st_mode)) {
        error = {"checking the target", "it is a folder",
                 path + ": is a folder; nothing was written. Give the name of a file."};
        return Target::Refused;
    }
    if (!S_ISREG(old.st_mode)) return Target::Special;
    if (::access(target.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS)) {
        const std::string reason = reasonOf(errno);
        error = {"checking the target", "it is read-only (" + reason + ")",
                 path + ": is read-only (" + reason + "); it was left as it was. Make it writable " +
                     "(chmod u+w) or save to another file."};
        return Target::Refused;
    }
    return Target::Regular;
}

// One replacement of a regular file (or the making of a new one) by way of a
// temporary file in the same folder, step by step. Each step that fails sets
// the error, removes what the replacement made and returns false.
class Replacement {
public:
    Replacement(const std::string &path, const std::string &target, bool exists, const struct stat &old,
                WriteError &error)
        : path_(path), target_(target), exists_(exists), old_(old), error_(error) {
        before_ = exists ? Before::Existed : Before::Absent;
        splitPath(target, dir_, name_);
    }

    bool run(const std::string &bytes) {
        if (!openFolder() || !createTemporary() || !writeTemporary(bytes)) return false;
        keepOldName();
        return renameOver() && flushFolder();
    }

private:
    // The folder is opened first, so that it can be flushed after the rename.
    bool openFolder() {
        const std::string folder = dir_.empty() ? std::string(".") : dir_;
        dirFd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd_ >= 0) return true;
        error_ = failed(path_, "opening its folder", reasonOf(errno),
                        "Check the folder exists and is readable and writable.", before_);
        return false;
    }

    bool createTemporary() {
        for (int tries = 0; tries < 100 && fd_ < 0; ++tries) {
            temp_ = dir_ + "." + name_ + "." + uniquePart() + ".vantorel-part";
            // A new file gets the permissions the umask allows; a replaced one its own, below.
            fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY,
                         exists_ ? 0600 : 0666);
            if (fd_ < 0 && errno != EEXIST && errno != EINTR) break;
        }
        if (fd_ >= 0) return true;
        error_ = failed(path_, "creating the temporary file", reasonOf(errno),
                        "Check the folder exists and is writable.", before_);
        ::close(dirFd_);
        return false;
    }

    bool writeTemporary(const std::string &bytes) {
        int code = 0;
        if (!writeAll(fd_, bytes.data(), bytes.size(), code))
            return abandon("writing the new file", code,
                           code == ENOSPC || code == EDQUOT ? kCheckSpace : kCheckDisk);
        if (exists_ && ::fchmod(fd_, old_.st_mode & 07777) != 0)
            return abandon("setting the permission bits", errno, kCheckDisk);
        if (::fsync(fd_) != 0) return abandon("flushing the new file to the disk", errno, kCheckDisk);
        const int closed = ::close(fd_);
        fd_ = -1;
        if (closed != 0 && errno != EINTR) return abandon("closing the new file", errno, kCheckDisk);
        return true;
    }

    // A second name for the old file, until the new one is safely in place.
    // Without hard links the replacement goes on without it.
    void keepOldName() {
        if (!exists_) return;
        for (int tries = 0; tries < 100; ++tries) {
            const std::string k = dir_ + "." + name_ + "." + uniquePart() + ".vantorel-old";
            if (::link(target_.c_str(), k.c_str()) == 0) {
                keep_ = k;
                return;
            }
            if (errno != EEXIST) return;
        }
    }

    bool renameOver() {
        if (::rename(temp_.c_str(), target_.c_str()) == 0) return true;
        const int e = errno;
        if (!keep_.empty()) ::unlink(keep_.c_str());
        return abandon("renaming the new file over the old one", e,
                       "Check the folder is writable and the file is not locked, then save again.");
    }

    // The rename survives a power cut only once the folder is on the disk; if
    // it cannot be flushed, the old file is put back where that is possible.
    bool flushFolder() {
        if (::fsync(dirFd_) == 0 || errno == EINVAL || errno == ENOTSUP) {
            ::close(dirFd_);
            if (!keep_.empty()) ::unlink(keep_.c_str());
            return true;
        }
        const int e = errno;
        if (!keep_.empty() && ::rename(keep_.c_str(), target_.c_str()) == 0) {
            // The old file is back; the new one is gone with the rename.
            (void)::fsync(dirFd_);
            ::close(dirFd_);
            error_ = failed(path_, "flushing the folder to the disk", reasonOf(e), kCheckDisk, before_);
            return false;
        }
        if (!keep_.empty()) ::unlink(keep_.c_str());
        ::close(dirFd_);
        error_ = {"flushing the folder to the disk", reasonOf(e),
                  path_ + ": the save failed while flushing the folder to the disk (" + reasonOf(e) + "); " +
                      path_ + " holds the new content, but it may not survive a power cut. " + kCheckDisk};
        return false;
    }

    bool abandon(const char *step, int code, const char *todo) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        ::unlink(temp_.c_str());
        ::close(dirFd_);
        error_ = failed(path_, step, reasonOf(code), todo, before_);
        return false;
    }

    const std::string &path_;
    const std::string &target_;
    const bool exists_;
    const struct stat &old_;
    WriteError &error_;
    Before before_;
    std::string dir_, name_;
    int dirFd_ = -1;
    int fd_ = -1;
    std::string temp_;
    std::string keep_;
};

}  // namespace

bool replaceFile(const std::string &path, const std::string &bytes, WriteError &error) {
    bool inPlace = false;
    std::string target;
    if (!resolveLinks(path, target, inPlace, error)) return false;
    if (inPlace) return writeInPlace(path, bytes, error);
    struct stat old {};
    bool exists = false;
    switch (lookUp(path, target, old, exists, error)) {
    case Target::Refused: return false;
    case Target::Special: return writeInPlace(target, bytes, error);
    case Target::Regular: break;
    }
    return Replacement(path, target, exists, old, error).run(bytes);
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

// Devices (NUL, CON) and pipes are written into, never replaced. Returns
// false when path is no such file; written then says whether it went well.
bool writeIntoDevice(const std::string &path, const std::wstring &wpath, const std::string &bytes,
                     bool &written, WriteError &error) {
    HANDLE probe = CreateFileW(wpath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return false;
    const DWORD type = GetFileType(probe);
    CloseHandle(probe);
    if (type != FILE_TYPE_CHAR && type != FILE_TYPE_PIPE) return false;
    HANDLE h = CreateFileW(wpath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const std::string reason = reasonOf(GetLastError());
        error = {
            "opening it for writing", reason,
            path + ": cannot open it for writing (" + reason + "); nothing was written. Check the name."};
        written = false;
        return true;
    }
    DWORD code = 0;
    written = writeAll(h, bytes, code);
    CloseHandle(h);
    if (!written) {
        const std::string reason = reasonOf(code);
        error = {"writing into it", reason,
                 path + ": writing into it failed (" + reason + "); what it received is incomplete."};
    }
    return true;
}

// The new bytes in a temporary file beside path, flushed and closed, with the
// old file's attributes. Returns false with the error set and nothing left behind.
bool writeTemporary(const std::string &path, const std::string &bytes, DWORD attrs, Before before,
                    std::wstring &wtemp, WriteError &error) {
    std::string dir, name;
    splitPath(path, dir, name);
    HANDLE h = INVALID_HANDLE_VALUE;
    DWORD code = 0;
    for (int tries = 0; tries < 100 && h == INVALID_HANDLE_VALUE; ++tries) {
        wtemp = widen(dir + "." + name + "." + uniquePart() + ".vantorel-part");
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
    const char *step = nullptr;
    if (!writeAll(h, bytes, code)) {
        step = "writing the new file";
    } else if (!FlushFileBuffers(h)) {
        step = "flushing the new file to the disk";
        code = GetLastError();
    }
    const BOOL closed = CloseHandle(h);
    if (!step && !closed) {
        step = "closing the new file";
        code = GetLastError();
    }
    if (step) {
        DeleteFileW(wtemp.c_str());
        error = failed(path, step, reasonOf(code), kCheckDisk, before);
        return false;
    }
    // The old file's attributes (hidden, archive...) carry over.
    if (attrs != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(wtemp.c_str(), attrs & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    return true;
}

// A virus scanner or an indexer may hold the old file for a moment: the
// rename is tried again for a while before it gives up. The old file is
// never deleted first.
bool moveOver(const std::string &path, const std::wstring &wtemp, const std::wstring &wpath, Before before,
              WriteError &error) {
    DWORD code = 0;
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

}  // namespace

bool replaceFile(const std::string &path, const std::string &bytes, WriteError &error) {
    const std::wstring wpath = widen(path);
    const DWORD attrs = GetFileAttributesW(wpath.c_str());
    const bool exists = attrs != INVALID_FILE_ATTRIBUTES;
    const Before before = exists ? Before::Existed : Before::Absent;
    if (exists && (attrs & FILE_ATTRIBUTE_DIRECTORY)) {
        error = {"checking the target", "it is a folder",
                 path + ": is a folder; nothing was written. Give the name of a file."};
        return false;
    }
    bool written = false;
    if (exists && writeIntoDevice(path, wpath, bytes, written, error)) return written;
    if (exists && (attrs & FILE_ATTRIBUTE_READONLY)) {
        error = {"checking the target", "it is read-only",
                 path + ": is read-only; it was left as it was. Clear its read-only attribute or save to " +
                     "another file."};
        return false;
    }
    std::wstring wtemp;
    return writeTemporary(path, bytes, attrs, before, wtemp, error) &&
           moveOver(path, wtemp, wpath, before, error);
}

#endif

bool replaceFile(const std::string &path, const std::string &bytes, std::string &error) {
    WriteError e;
    if (replaceFile(path, bytes, e)) return true;
    error = std::move(e.message);
    return false;
}

}  // namespace fileio
