// file_stamp.h - reading a file together with a stamp of what was read, to
// tell later whether the file on disk is still the one that was read (the
// "changed since reading" check before saving over it).
#ifndef VANTOREL_FILEIO_FILE_STAMP_H
#define VANTOREL_FILEIO_FILE_STAMP_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace fileio {

struct FileStamp {
    bool exists = false;
    // Device and inode (POSIX); not available on Windows, where the full path
    // name is all there is to say which file it was.
    bool hasIdentity = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::string fullPath;  // absolute, symbolic links resolved where possible
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;    // modification time, nanoseconds since the epoch
    std::uint64_t contentHash = 0;  // 64-bit FNV-1a of the bytes
};

enum class ReadResult { Ok, CannotOpen, TooLarge, ReadError };

// Reads the whole file at path into bytes (refusing more than maxBytes) and
// stamps it: identity, size and modification time as they were when it was
// opened, and the hash of the bytes read. why gets the system's reason.
ReadResult readFile(const std::string &path, std::size_t maxBytes, std::string &bytes, FileStamp &stamp,
                    std::string &why);

// Stamps the file at path as it is now (reads it to hash it). A file that does
// not exist gives exists = false and true; false only on an error, with why set.
bool stampFile(const std::string &path, FileStamp &stamp, std::string &why);

// Whether path names the file that was stamped: the same device and inode as
// the file path now leads to, or (the file having been replaced or removed
// since) the same full path name.
bool namesStampedFile(const FileStamp &stamp, const std::string &path);

// What differs between a stamp taken when reading and one taken now, as a
// phrase ("its size and content"), or "" when they are the same file with the
// same size, modification time and content.
std::string describeChange(const FileStamp &read, const FileStamp &now);

// 64-bit FNV-1a, continued from h.
std::uint64_t hashBytes(const char *data, std::size_t size, std::uint64_t h = 14695981039346656037ull);

}  // namespace fileio

#endif
