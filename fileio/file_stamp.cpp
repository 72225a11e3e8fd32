// file_stamp.cpp - reading files with a stamp of what was read.
#include "fileio/file_stamp.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <sys/stat.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fileio {

std::uint64_t hashBytes(const char *data, std::size_t size, std::uint64_t h) {
    for (std::size_t i = 0; i < size; ++i) {
        h ^= static_cast<unsigned char>(data[i]);
        h *= 1099511628211ull;
    }
    return h;
}

namespace {

#ifndef _WIN32

std::string fullPathOf(const std::string &path) {
    if (char *real = ::realpath(path.c_str(), nullptr)) {
        std::string s(real);
        std::free(real);
        return s;
    }
    // A file that is not there (any more): its folder's full path and its name.
    const std::size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (char *real = ::realpath(dir.c_str(), nullptr)) {
        std::string s(real);
        std::free(real);
        return (s == "/" ? s : s + "/") + name;
    }
    return path;
}

// Reads fd to the end, hashing as it goes. bytes may be null (hash only).
ReadResult readAll(int fd, std::size_t maxBytes, std::string *bytes, std::uint64_t &hash,
                   std::uint64_t &total, std::string &why) {
    std::vector<char> buf(1 << 16);
    hash = hashBytes(nullptr, 0);
    total = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buf.data(), buf.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            why = std::strerror(errno);
            return ReadResult::ReadError;
        }
        if (n == 0) return ReadResult::Ok;
        total += static_cast<std::uint64_t>(n);
        if (total > maxBytes) return ReadResult::TooLarge;
        hash = hashBytes(buf.data(), static_cast<std::size_t>(n), hash);
        if (bytes) bytes->append(buf.data(), static_cast<std::size_t>(n));
    }
}

ReadResult readStamped(const std::string &path, std::size_t maxBytes, std::string *bytes, FileStamp &stamp,
                       std::string &why) {
    stamp = FileStamp();
    int fd;
    do fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        why = std::strerror(errno);
        return ReadResult::CannotOpen;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        why = std::strerror(errno);
        ::close(fd);
        return ReadResult::ReadError;
    }
    stamp.exists = true;
    stamp.hasIdentity = true;
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    stamp.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.fullPath = fullPathOf(path);
    std::uint64_t total = 0;
    const ReadResult r = readAll(fd, maxBytes, bytes, stamp.contentHash, total, why);
    stamp.size = total;
    ::close(fd);
    return r;
}

bool sameFileNow(const FileStamp &stamp, const std::string &path) {
    struct stat st;
    return stamp.hasIdentity && ::stat(path.c_str(), &st) == 0 &&
           static_cast<std::uint64_t>(st.st_dev) == stamp.device &&
           static_cast<std::uint64_t>(st.st_ino) == stamp.inode;
}

#else  // _WIN32

std::string fullPathOf(const std::string &path) {
    char buf[MAX_PATH * 4];
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof buf, buf, nullptr);
    std::string s = (n > 0 && n < sizeof buf) ? std::string(buf, n) : path;
    for (char &c : s) {
        if (c == '/') c = '\\';
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

ReadResult readStamped(const std::string &path, std::size_t maxBytes, std::string *bytes, FileStamp &stamp,
                       std::string &why) {
    stamp = FileStamp();
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) {
        why = std::strerror(errno);
        return ReadResult::CannotOpen;
    }
    struct _stat64 st;
    if (_fstat64(_fileno(f), &st) == 0)
        stamp.modifiedNs = static_cast<std::int64_t>(st.st_mtime) * 1000000000;
    stamp.exists = true;
    stamp.fullPath = fullPathOf(path);
    std::vector<char> buf(1 << 16);
    std::uint64_t hash = hashBytes(nullptr, 0), total = 0;
    ReadResult r = ReadResult::Ok;
    for (;;) {
        const std::size_t n = std::fread(buf.data(), 1, buf.size(), f);
        if (n == 0) {
            if (std::ferror(f)) {
                why = std::strerror(errno);
                r = ReadResult::ReadError;
            }
            break;
        }
        total += n;
        if (total > maxBytes) {
            r = ReadResult::TooLarge;
            break;
        }
        hash = hashBytes(buf.data(), n, hash);
        if (bytes) bytes->append(buf.data(), n);
    }
    std::fclose(f);
    stamp.size = total;
    stamp.contentHash = hash;
    return r;
}

bool sameFileNow(const FileStamp &, const std::string &) { return false; }

#endif

}  // namespace

ReadResult readFile(const std::string &path, std::size_t maxBytes, std::string &bytes, FileStamp &stamp,
                    std::string &why) {
    bytes.clear();
    return readStamped(path, maxBytes, &bytes, stamp, why);
}

bool stampFile(const std::string &path, FileStamp &stamp, std::string &why) {
    const ReadResult r = readStamped(path, static_cast<std::size_t>(-1), nullptr, stamp, why);
    if (r == ReadResult::CannotOpen && errno == ENOENT) {
        stamp = FileStamp();
        return true;
    }
    return r == ReadResult::Ok;
}

bool namesStampedFile(const FileStamp &stamp, const std::string &path) {
    if (!stamp.exists) return false;
    return sameFileNow(stamp, path) || fullPathOf(path) == stamp.fullPath;
}

std::string describeChange(const FileStamp &read, const FileStamp &now) {
    if (!now.exists) return "it was removed";
    std::string s;
    if (read.hasIdentity && now.hasIdentity && (read.device != now.device || read.inode != now.inode))
        s = "it is now another file";
    std::vector<std::string> what;
    if (read.size != now.size) what.push_back("size");
    if (read.modifiedNs != now.modifiedNs) what.push_back("modification time");
    if (read.contentHash != now.contentHash) what.push_back("content");
    if (!what.empty()) {
        if (!s.empty()) s += "; ";
        s += "its ";
        for (std::size_t i = 0; i < what.size(); ++i) {
            if (i > 0) s += i + 1 == what.size() ? " and " : ", ";
            s += what[i];
        }
        s += what.size() == 1 ? " differs" : " differ";
    }
    return s;
}

}  // namespace fileio
