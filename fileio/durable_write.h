// durable_write.h - replacing a file so that it holds either its old bytes or
// its new bytes, whatever fails and whenever the program or the machine stops.
//
// Every file vantorel-host writes (the saved scene, pictures of the panel) goes
// through replaceFile. For a target that is a regular file or does not exist:
//   1. the new bytes go to a temporary file created exclusively, under a
//      unique hidden name, in the target's own folder;
//   2. short writes and interrupted calls are resumed; the file is flushed to
//      the disk (fsync) and closed;
//   3. it gets the old file's permission bits (a new file gets the usual ones);
//   4. it is renamed over the target (Windows: MoveFileExW with
//      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH; the old file is never
//      deleted first);
//   5. the folder is flushed to the disk, so the rename itself survives a
//      power cut. If that fails, the old file is put back (a hard link to it
//      is kept until the folder is flushed) and the save counts as failed.
// On any failure the temporary file is removed, the target is left as it was
// and the error names the step that failed and what to do.
//
// A symbolic link is followed: the file it points to is replaced and the link
// stays. A target that exists and is not a regular file (a FIFO, a device such
// as /dev/null, /dev/stdout) is written into in place and never renamed over.
// An existing target the user may not write (read-only) is refused.
#ifndef VANTOREL_FILEIO_DURABLE_WRITE_H
#define VANTOREL_FILEIO_DURABLE_WRITE_H

#include <string>

namespace fileio {

// Why a replacement failed, in parts for a front end and as whole sentences.
struct WriteError {
    std::string step;     // what was being done: "writing the new file", "checking the target"
    std::string reason;   // the system's reason, or what was wrong: "No space left on device"
    std::string message;  // everything, for a person: what failed, the state of the file, what to do
};

// Replaces the file at path with bytes as above. On failure returns false and
// sets error; its message is one or two sentences: "PATH: ... failed while
// STEP (reason); PATH was left as it was. What to do." (for a file that was
// not there: "no file PATH was created").
bool replaceFile(const std::string &path, const std::string &bytes, WriteError &error);
// The same with the message alone.
bool replaceFile(const std::string &path, const std::string &bytes, std::string &error);

}  // namespace fileio

#endif
