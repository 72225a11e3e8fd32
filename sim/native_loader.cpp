// native_loader.cpp - PluginLibrary::load: the platform's dynamic loader
// finds the plug-in's descriptor in its file. All operating-system calls of
// the simulated Layout live in this file.
#include <atomic>
#include <filesystem>
#include <system_error>

#include "loader.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace sim {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
using Handle = HMODULE;
Handle openLibrary(const std::string &path, std::string &why) {
    Handle h = LoadLibraryA(path.c_str());
    if (!h) why = "LoadLibrary error " + std::to_string(static_cast<unsigned long>(GetLastError()));
    return h;
}
void *findSymbol(Handle h, const char *name) { return reinterpret_cast<void *>(GetProcAddress(h, name)); }
void closeLibrary(Handle h) { FreeLibrary(h); }
unsigned long processId() { return static_cast<unsigned long>(GetCurrentProcessId()); }
#else
using Handle = void *;
Handle openLibrary(const std::string &path, std::string &why) {
    Handle h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        const char *e = dlerror();
        why = e ? e : "unknown loader error";
    }
    return h;
}
void *findSymbol(Handle h, const char *name) { return dlsym(h, name); }
void closeLibrary(Handle h) { dlclose(h); }
unsigned long processId() { return static_cast<unsigned long>(getpid()); }
#endif

std::atomic<unsigned> copyCounter{0};

// The loaded file: closed, and its private copy removed, when the last
// holder lets go (after the instance's shutdown).
struct NativeModule {
    Handle handle{};
    std::string copyPath;  // private copy to remove after unloading, if any

    NativeModule() = default;
    NativeModule(const NativeModule &) = delete;
    NativeModule &operator=(const NativeModule &) = delete;
    ~NativeModule() {
        if (handle) closeLibrary(handle);
        if (!copyPath.empty()) {
            std::error_code ec;
            fs::remove(copyPath, ec);
        }
    }
};

std::string cannotLoad(const std::string &path) { return "cannot load plug-in '" + path + "': "; }

// Why nothing can be loaded from `path`, or null when it is a file.
const char *notAFile(const std::string &path) {
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (fs::is_regular_file(st)) return nullptr;
    if (fs::is_directory(st)) return "it is a folder, not a file";
    return fs::exists(st) ? "it is not a regular file" : "no such file";
}

// A copy of the file of its own for a fresh instance: the platform hands back
// a library already loaded when asked for the same file again.
std::string privateCopy(const std::string &path) {
    std::error_code ec;
    fs::path copy = fs::temp_directory_path(ec);
    if (ec)
        throw LoadError(LoadProblem::NoPrivateCopy,
                        cannotLoad(path) + "no temporary folder: " + ec.message());
    copy /= "vantorel-" + std::to_string(processId()) + "-" + std::to_string(copyCounter++) + "-" +
            fs::path(path).filename().string();
    fs::copy_file(path, copy, fs::copy_options::overwrite_existing, ec);
    if (ec)
        throw LoadError(LoadProblem::NoPrivateCopy,
                        cannotLoad(path) + "copying it to " + copy.string() + " failed: " + ec.message());
    return copy.string();
}

}  // namespace

std::string executableDirectory(const char *argv0) {
    std::error_code ec;
#ifdef _WIN32
    char buf[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
    if (n > 0 && n < MAX_PATH) return fs::path(std::string(buf, n)).parent_path().string();
#else
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && !self.empty()) return self.parent_path().string();
#endif
    if (!argv0 || !*argv0) return {};
    fs::path p = fs::absolute(argv0, ec);
    return ec ? std::string() : p.parent_path().string();
}

PluginLibrary PluginLibrary::load(const std::string &path, Instance instance, const std::string &className,
                                  const std::string &serverName) {
    if (const char *missing = notAFile(path))
        throw LoadError(LoadProblem::NoFile, cannotLoad(path) + missing);

    auto module = std::make_shared<NativeModule>();
    if (instance == Instance::Fresh) module->copyPath = privateCopy(path);
    std::string why;
    module->handle = openLibrary(module->copyPath.empty() ? path : module->copyPath, why);
    if (!module->handle)
        throw LoadError(
            LoadProblem::NotALibrary,
            cannotLoad(path) + why + "; check that it is a plug-in library built for this machine");

    const auto *descriptor =
        static_cast<const ModuleDescriptor *>(findSymbol(module->handle, MODULE_DESCRIPTOR_SYMBOL));
    StartedInstance started = startInstance(descriptor, {className, serverName});
    if (!started.instance)
        throw LoadError(LoadProblem::NotStarted, started.error.message(path), started.error.problem);
    // The module outlives the lookup: both are the library's until it ends.
    const Handle handle = module->handle;
    return PluginLibrary(path, std::move(module), std::move(*started.instance),
                         [handle](const char *name) { return findSymbol(handle, name); });
}

}  // namespace sim
