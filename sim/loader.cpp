// loader.cpp - the platform's dynamic loader behind PluginLibrary. All
// operating-system calls of the simulated Layout live in this file.
#include "loader.h"

#include <atomic>
#include <cstring>
#include <filesystem>
#include <system_error>

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

}  // namespace

struct PluginLibrary::Impl {
    std::string path;
    std::string copyPath;  // private copy to remove after unloading, if any
    Handle handle{};
    const ModuleDescriptor *descriptor = nullptr;
    HostActivateFunc activate = nullptr;
    void *startupData = nullptr;

    ~Impl() {
        if (handle) {
            if (descriptor && descriptor->shutdown) descriptor->shutdown(startupData);
            closeLibrary(handle);
        }
        if (!copyPath.empty()) {
            std::error_code ec;
            fs::remove(copyPath, ec);
        }
    }
};

PluginLibrary::PluginLibrary(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
PluginLibrary::PluginLibrary(PluginLibrary &&) noexcept = default;
PluginLibrary &PluginLibrary::operator=(PluginLibrary &&) noexcept = default;
PluginLibrary::~PluginLibrary() = default;

const ModuleDescriptor &PluginLibrary::descriptor() const { return *impl_->descriptor; }
HostActivateFunc PluginLibrary::activation() const { return impl_->activate; }
void *PluginLibrary::startupData() const { return impl_->startupData; }
const std::string &PluginLibrary::path() const { return impl_->path; }
void *PluginLibrary::symbol(const char *name) const { return findSymbol(impl_->handle, name); }

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
    auto impl = std::make_unique<Impl>();
    impl->path = path;

    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        throw LoadError("cannot load plug-in '" + path +
                        "': no such file; build the plug-in or name it with --plugin");

    std::string loadPath = path;
    if (instance == Instance::Fresh) {
        fs::path copy = fs::temp_directory_path(ec);
        if (ec) throw LoadError("cannot load plug-in '" + path + "': no temporary folder: " + ec.message());
        copy /= "vantorel-" + std::to_string(processId()) + "-" + std::to_string(copyCounter++) + "-" +
                fs::path(path).filename().string();
        fs::copy_file(path, copy, fs::copy_options::overwrite_existing, ec);
        if (ec)
            throw LoadError("cannot load plug-in '" + path + "': copying it to " + copy.string() +
                            " failed: " + ec.message());
        impl->copyPath = copy.string();
        loadPath = impl->copyPath;
    }

    std::string why;
    impl->handle = openLibrary(loadPath, why);
    if (!impl->handle)
        throw LoadError("cannot load plug-in '" + path + "': " + why +
                        "; check that it is a plug-in library built for this machine");

    void *sym = findSymbol(impl->handle, MODULE_DESCRIPTOR_SYMBOL);
    if (!sym)
        throw LoadError("'" + path + "' is not a Layout plug-in: it exports no " MODULE_DESCRIPTOR_SYMBOL);
    const auto *desc = static_cast<const ModuleDescriptor *>(sym);
    if (desc->sync != MODULE_SYNC_WORD)
        throw LoadError("'" + path +
                        "' is not a Layout plug-in: its module descriptor has a wrong synchronisation word");
    if (!desc->startup || !desc->servers)
        throw LoadError("'" + path +
                        "' has an incomplete module descriptor (no startup function or server table)");

    void *data = desc->startup();
    if (!data) throw LoadError("plug-in '" + path + "' refused to start: its startup function returned null");
    impl->descriptor = desc;
    impl->startupData = data;

    for (const ServerRecord *s = desc->servers; s->className; ++s) {
        if (s->serverName && className == s->className && serverName == s->serverName) {
            if (!s->activate)
                throw LoadError("plug-in '" + path + "': server " + serverName + " has no activation entry");
            impl->activate = s->activate;
            return PluginLibrary(std::move(impl));
        }
    }
    throw LoadError("'" + path + "' is not the expected plug-in: it has no " + className + " server named '" +
                    serverName + "'");
}

}  // namespace sim
