// loader.h - loading a plug-in library the way Layout does.
#ifndef VANTOREL_SIM_LOADER_H
#define VANTOREL_SIM_LOADER_H

#include <memory>
#include <stdexcept>
#include <string>

#include "host/module_descriptor.h"

namespace sim {

// Thrown when a file cannot be loaded or is not the expected plug-in. The
// message says which file, what is wrong and what to check.
class LoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One loaded instance of the plug-in library. Its static state (the editor
// record, the clipboard) lives exactly as long as this object.
class PluginLibrary {
public:
    enum class Instance {
        Fresh,  // load a private copy of the file: a new, all-zero static state
        Shared  // load the file itself: the platform may hand back an instance already loaded
    };

    // Loads the file, finds _mod_descrip, checks its synchronisation word,
    // calls startup and finds the server of class "LayoutGeneric" named
    // "vantorel" (or the names given). Throws LoadError.
    static PluginLibrary load(const std::string &path, Instance instance = Instance::Fresh,
                              const std::string &className = "LayoutGeneric",
                              const std::string &serverName = "vantorel");

    PluginLibrary(PluginLibrary &&) noexcept;
    PluginLibrary &operator=(PluginLibrary &&) noexcept;
    ~PluginLibrary();  // calls shutdown, unloads, removes a private copy

    const ModuleDescriptor &descriptor() const;
    HostActivateFunc activation() const;
    void *startupData() const;
    const std::string &path() const;  // the file named to load()
    // Another symbol the library exports (a test build's hook), or null.
    void *symbol(const char *name) const;

private:
    struct Impl;
    explicit PluginLibrary(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// The folder holding the running executable (argv0 as a fallback), for
// finding a plug-in built beside it. Empty when it cannot be told.
std::string executableDirectory(const char *argv0);

}  // namespace sim

#endif
