// file_roles.h - the files one run of vantorel-host reads and writes, checked
// before anything runs: no output may be one of the inputs or another output,
// every input is a file one can read a text from, and every output can be
// written where it is to go. A run that fails these checks has written nothing,
// so no scene, script or plug-in is ever overwritten and no edit made by hand
// is lost to a missing folder at the end.
#ifndef VANTOREL_CLI_FILE_ROLES_H
#define VANTOREL_CLI_FILE_ROLES_H

#include <string>
#include <vector>

#include "options.h"
#include "script/script.h"

namespace vhost {

// A file and the role it has in the run, as messages name it.
struct NamedFile {
    std::string role;  // "--png", "--scene", "the snapshot on edits.vts:4"
    std::string what;  // what the file holds: "the scene", "the picture"
    std::string path;  // as given; empty with standardInput
    // The file is what standard input reads (--script -).
    bool standardInput = false;
    // Outputs of one family may name the same file: each snapshot line writes
    // the picture over the one before, on purpose. Empty: a family of its own.
    std::string family;
    // The role of the one input this output may name: --save over --scene.
    std::string mayReplace;
};

struct FileRoles {
    std::vector<NamedFile> inputs;
    std::vector<NamedFile> outputs;
};

// The files of a session run: --scene, --script (or standard input for -)
// and the plug-in as inputs; --save, --png, --record, the script's snapshot
// targets and the shell's Save target as outputs. pluginPath is the plug-in
// that will be loaded, also when it was found without --plugin.
FileRoles sessionFileRoles(const Options &options, const script::Script &script,
                           const std::string &pluginPath);

// Two files are the same when they are the same file on disk (device and
// inode, so symbolic and hard links count), or, for files that do not exist
// yet, when their paths are the same once made absolute, normalised and with
// symbolic links followed. Writing into a FIFO or a device (/dev/null) stores
// nothing that another role could lose, so such a file is never a collision;
// /dev/stdout and the like count as the file they lead to.
//
// Returns "" when no output names an input (but for an output's mayReplace)
// or another output of another family; else one message naming both roles.
std::string findCollision(const FileRoles &roles);

// Whether each output can be written: it is not a folder, an existing regular
// file is not read-only, and the folder it goes into exists and (where the
// system can tell) is writable. Returns one message per output that cannot.
std::vector<std::string> checkOutputPlaces(const std::vector<NamedFile> &outputs);

// Why a file named as an input cannot be read as a text: "is a folder" or "is
// a device"; "" for a regular file, a FIFO, a file that does not exist (its
// reader says so) and anything else one can read to the end.
std::string unreadableKind(const std::string &path);

}  // namespace vhost

#endif
