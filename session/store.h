// store.h - where a front end's saves go: a Store writes the bytes of a save
// to a target and says how it went, in parts that each front end puts into
// its own words. vantorel-host's store replaces files on disk
// (fileio/file_store.h); a browser's hands the bytes to a download.
#ifndef VANTOREL_SESSION_STORE_H
#define VANTOREL_SESSION_STORE_H

#include <string>
#include <utility>

namespace session {

enum class SaveStatus {
    Written,
    ChangedOnDisk,  // refused: the target changed since it was read; nothing was written
    Failed,         // nothing (or, as message says, not all) was written
};

struct SaveResult {
    SaveStatus status = SaveStatus::Written;
    std::string target;  // where the bytes were to go, as given
    // How the target changed since it was read ("its size and content
    // differ"): why a ChangedOnDisk save was refused, or what a forced save
    // replaced (Written or Failed). Empty when it had not changed.
    std::string change;
    // Failed: the step that failed ("writing the new file") and the reason
    // ("No space left on device"), and the whole story as sentences for a
    // person: what failed, what became of the target, what to do.
    std::string step;
    std::string reason;
    std::string message;
};

// A failed save that is no step of a store's (an edit the file cannot take,
// a front end that cannot save): the message says it all.
inline SaveResult saveFailure(std::string target, std::string step, std::string message) {
    SaveResult r;
    r.status = SaveStatus::Failed;
    r.target = std::move(target);
    r.step = std::move(step);
    r.message = std::move(message);
    return r;
}

class Store {
public:
    virtual ~Store() = default;
    // Writes bytes to target. A target that changed since it was read is
    // refused (ChangedOnDisk) unless force is given.
    virtual SaveResult write(const std::string &target, const std::string &bytes, bool force) = 0;
};

}  // namespace session

#endif
