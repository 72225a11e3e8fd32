// file_store.h - the native store of saves: files on disk, each replaced
// durably (replaceFile), and never one that changed since it was read unless
// the save is forced.
#ifndef VANTOREL_FILEIO_FILE_STORE_H
#define VANTOREL_FILEIO_FILE_STORE_H

#include <optional>
#include <string>

#include "fileio/file_stamp.h"
#include "session/store.h"

namespace fileio {

class FileStore : public session::Store {
public:
    // read: the stamp of the scene file as it was read. A write to that same
    // file (the same device and inode, or the same full name) is checked
    // against it: when the file is no longer what was read (size,
    // modification time or content), the write is refused. None: no check.
    // followWrites: after a write over that file, what was written counts as
    // read, so that a later save is not refused for the store's own change (a
    // front end that saves again and again wants this; a single save per run
    // need not read the file back).
    explicit FileStore(std::optional<FileStamp> read = std::nullopt, bool followWrites = true)
        : read_(std::move(read)), followWrites_(followWrites) {}

    session::SaveResult write(const std::string &target, const std::string &bytes, bool force) override;

    const std::optional<FileStamp> &readStamp() const { return read_; }

private:
    std::optional<FileStamp> read_;
    bool followWrites_;
};

}  // namespace fileio

#endif
