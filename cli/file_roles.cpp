// file_roles.cpp - checking the files of a run before it starts.
#include "file_roles.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace vhost {

namespace {

namespace fs = std::filesystem;

// Where a named file is, as far as writing to it is concerned.
struct Place {
    bool exists = false;
    bool regular = false;
    bool folder = false;
    // Written into where it is, never replaced: a FIFO or a device, or a file
    // reached through the kernel's links to open files (/dev/stdout).
    bool inPlace = false;
    // Absolute and normalised, symbolic links followed; the name a new file
    // would get. Empty for standard input.
    fs::path target;
    bool followedLink = false;
#ifndef _WIN32
    dev_t device = 0;
    ino_t inode = 0;
#endif
};

// /dev/stdout leads to /proc/self/fd/1, whose "target" is an open file, not a name.
bool isKernelLink(const std::string &target) {
    return target.rfind("/proc/", 0) == 0 || target.rfind("/dev/fd/", 0) == 0;
}

// Follows symbolic links as the file writer does, then makes the path
// absolute and resolves the folders that exist.
fs::path followLinks(const fs::path &path, bool &kernel, bool &followed) {
    fs::path p = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec))) break;
        const fs::path to = fs::read_symlink(p, ec);
        if (ec) break;
        if (isKernelLink(to.string())) {
            kernel = true;
            break;
        }
        followed = true;
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
    std::error_code ec;
    fs::path absolute = fs::absolute(p, ec);
    if (ec) absolute = p;
    fs::path canonical = fs::weakly_canonical(absolute, ec);
    return ec ? absolute.lexically_normal() : canonical;
}

Place placeOf(const NamedFile &f) {
    Place p;
#ifndef _WIN32
    struct stat st;
    const bool found = f.standardInput ? ::fstat(0, &st) == 0 : ::stat(f.path.c_str(), &st) == 0;
    if (found) {
        p.exists = true;
        p.regular = S_ISREG(st.st_mode);
        p.folder = S_ISDIR(st.st_mode);
        p.device = st.st_dev;
        p.inode = st.st_ino;
    }
#else
    // Standard input has no name to compare on Windows; it matches nothing.
    std::error_code ec;
    const fs::file_status st = f.standardInput ? fs::file_status() : fs::status(f.path, ec);
    if (!ec && fs::exists(st)) {
        p.exists = true;
        p.regular = fs::is_regular_file(st);
        p.folder = fs::is_directory(st);
    }
#endif
    if (f.standardInput) {
        p.inPlace = !p.regular;
        return p;
    }
    bool kernel = false;
    p.target = followLinks(f.path, kernel, p.followedLink);
    p.inPlace = kernel || (p.exists && !p.regular && !p.folder);
    return p;
}

bool samePath(const fs::path &a, const fs::path &b) {
#ifdef _WIN32
    // Windows names are case-insensitive.
    std::string x = a.string(), y = b.string();
    for (std::string *s : {&x, &y})
        for (char &c : *s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return x == y;
#else
    return a == b;
#endif
}

bool sameFile(const Place &a, const Place &b) {
    if (a.exists != b.exists) return false;
    if (!a.exists) return !a.target.empty() && samePath(a.target, b.target);
#ifndef _WIN32
    return a.device == b.device && a.inode == b.inode;
#else
    std::error_code ec;
    return !a.target.empty() && !b.target.empty() && fs::equivalent(a.target, b.target, ec);
#endif
}

// Only a regular file, or one still to be made, holds bytes that a second
// writer could destroy; FIFOs and devices pass on what they get.
bool holdsBytes(const Place &p) { return !p.exists || p.regular; }

std::string shown(const NamedFile &f) { return f.standardInput ? "(standard input)" : "'" + f.path + "'"; }

std::string bothNamed(const NamedFile &a, const NamedFile &b) {
    if (!a.standardInput && !b.standardInput && a.path == b.path)
        return a.role + " and " + b.role + " name the same file '" + a.path + "'";
    return a.role + " " + shown(a) + " and " + b.role + " " + shown(b) + " are the same file";
}

}  // namespace

FileRoles sessionFileRoles(const Options &options, const script::Script &script,
                           const std::string &pluginPath) {
    FileRoles roles;
    auto input = [&](const char *role, const char *what, const std::string &path, bool standardInput) {
        roles.inputs.push_back({role, what, path, standardInput, "", ""});
    };
    auto output = [&](const std::string &role, const char *what, const std::string &path, const char *family,
                      const char *mayReplace) {
        roles.outputs.push_back({role, what, path, false, family, mayReplace});
    };
    if (options.scene) input("--scene", "the scene", *options.scene, false);
    if (options.script && *options.script == "-") input("--script", "the script", "", true);
    else if (options.script) input("--script", "the script", *options.script, false);
    input(options.plugin.empty() ? "the plug-in" : "--plugin", "the plug-in", pluginPath, false);

    if (options.save) output("--save", "the saved scene", *options.save, "", "--scene");
    if (options.png) output("--png", "the picture", *options.png, "", "");
    if (options.record) output("--record", "the recording", *options.record, "", "");
    for (const script::Step &s : script.steps)
        if (const script::Snapshot *p = s.snapshot())
            output("the snapshot on " + script.name + ":" + std::to_string(s.line), "the snapshot", p->file,
                   "snapshot", "");
    // Without --save the shell's Save button writes over the --scene file.
    if (options.window && options.shell && !options.save && options.scene)
        output("the shell's Save target (the --scene file, as no --save is given)", "the saved scene",
               *options.scene, "", "--scene");
    return roles;
}

std::string findCollision(const FileRoles &roles) {
    std::vector<Place> in, out;
    for (const NamedFile &f : roles.inputs) in.push_back(placeOf(f));
    for (const NamedFile &f : roles.outputs) out.push_back(placeOf(f));
    for (std::size_t o = 0; o < out.size(); ++o) {
        const NamedFile &output = roles.outputs[o];
        if (!holdsBytes(out[o])) continue;
        for (std::size_t i = 0; i < in.size(); ++i) {
            const NamedFile &input = roles.inputs[i];
            if (output.mayReplace == input.role || !sameFile(out[o], in[i])) continue;
            return bothNamed(output, input) + ": " + output.what + " would overwrite " + input.what +
                   ". Give " + output.role + " a file of its own";
        }
        for (std::size_t k = 0; k < o; ++k) {
            const NamedFile &earlier = roles.outputs[k];
            if (!output.family.empty() && output.family == earlier.family) continue;
            // Both appended to where they lead (/dev/stdout twice): nothing is replaced.
            if (out[o].inPlace && out[k].inPlace) continue;
            if (!sameFile(out[o], out[k])) continue;
            return bothNamed(earlier, output) + ": " + output.what + " would overwrite " + earlier.what +
                   ". Give each a file of its own";
        }
    }
    return "";
}

std::vector<std::string> checkOutputPlaces(const std::vector<NamedFile> &outputs) {
    std::vector<std::string> problems;
    for (const NamedFile &o : outputs) {
        if (o.standardInput) continue;
        const Place p = placeOf(o);
        const std::string named = o.role + " '" + o.path + "'";
        if (p.exists && p.folder) {
            problems.push_back(named + " is a folder; give the name of a file");
            continue;
        }
        if (p.inPlace) {
#ifndef _WIN32
            if (::access(o.path.c_str(), W_OK) != 0)
                problems.push_back(named + " cannot be written (" + std::strerror(errno) +
                                   "); give another file");
#endif
            continue;
        }
        // The file is replaced by a new one made in its folder.
        const fs::path folder = p.target.parent_path();
        const fs::path given = fs::path(o.path).parent_path();
        const std::string itsFolder =
            p.followedLink
                ? named + " leads to '" + p.target.string() + "', whose folder"
                : named + ": its folder '" + (given.empty() ? std::string(".") : given.string()) + "'";
        std::error_code ec;
        const fs::file_status fst = fs::status(folder, ec);
        if (!fs::exists(fst)) {
            problems.push_back(itsFolder +
                               " does not exist; create the folder, or give a file in one that exists");
            continue;
        }
        if (!fs::is_directory(fst)) {
            problems.push_back(itsFolder + " is not a folder; give another file");
            continue;
        }
#ifndef _WIN32
        if (::access(folder.c_str(), W_OK | X_OK) != 0) {
            problems.push_back(itsFolder + " is not writable (" + std::strerror(errno) +
                               "); make it writable, or give a file in another folder");
            continue;
        }
        // The writer opens the folder to flush it to the disk after the rename.
        if (::access(folder.c_str(), R_OK) != 0) {
            problems.push_back(itsFolder + " is not readable (" + std::strerror(errno) +
                               "); make it readable, or give a file in another folder");
            continue;
        }
        if (p.exists && ::access(p.target.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS)) {
            problems.push_back(named + " is read-only (" + std::strerror(errno) +
                               "); make it writable (chmod u+w), or give another file");
            continue;
        }
#else
        if (p.exists &&
            (fs::status(p.target, ec).permissions() & fs::perms::owner_write) == fs::perms::none) {
            problems.push_back(named + " is read-only; clear its read-only attribute, or give another file");
            continue;
        }
#endif
    }
    return problems;
}

std::string unreadableKind(const std::string &path) {
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (ec) return "";
    if (fs::is_directory(st)) return "is a folder";
    if (fs::is_character_file(st) || fs::is_block_file(st)) return "is a device";
    return "";
}

}  // namespace vhost
