// file_store.cpp - saves to files on disk, checked against what was read.
#include "fileio/file_store.h"

#include <utility>

#include "fileio/durable_write.h"

namespace fileio {

session::SaveResult FileStore::write(const std::string &target, const std::string &bytes, bool force) {
    session::SaveResult r;
    r.target = target;
    // Saving over the file that was read: is it still what was read? (A file
    // removed since is not a change that would be lost.)
    if (read_ && namesStampedFile(*read_, target)) {
        FileStamp now;
        std::string why;
        if (!stampFile(target, now, why)) {
            r.status = session::SaveStatus::Failed;
            r.step = "checking it is unchanged since it was read";
            r.reason = why;
            r.message = target + ": cannot read it back to check it is unchanged since it was read (" + why +
                        "); nothing was written. Check the file, or save to another file.";
            return r;
        }
        if (now.exists) r.change = describeChange(*read_, now);
        if (!r.change.empty() && !force) {
            r.status = session::SaveStatus::ChangedOnDisk;
            return r;
        }
    }
    WriteError error;
    if (!replaceFile(target, bytes, error)) {
        r.status = session::SaveStatus::Failed;
        r.step = std::move(error.step);
        r.reason = std::move(error.reason);
        r.message = std::move(error.message);
        return r;
    }
    if (followWrites_ && read_ && namesStampedFile(*read_, target)) {
        FileStamp fresh;
        std::string why;
        if (stampFile(target, fresh, why)) read_ = std::move(fresh);
    }
    return r;
}

}  // namespace fileio
