// loader.h - loading the plug-in the way Layout does, in three ways.
//
// Every loader finds the plug-in's module descriptor and hands it to
// startInstance() (plugin_instance.h), which checks it, calls startup and
// finds the server. They differ in where the descriptor comes from and in how
// they give a fresh instance: one whose static state (the editor record, the
// clipboard) starts all zero.
//
//   PluginLibrary::load(path)    the file, through the platform's loader
//       (native_loader.cpp: dlopen/dlsym, LoadLibrary/GetProcAddress).
//       Fresh loads a private copy of the file, so that the platform cannot
//       hand back an instance already loaded; the copy is removed when the
//       library ends. Shared loads the file itself.
//   PluginLibrary::linkedIn(d)   the plug-in's objects are linked into the
//       program (the fuzzer, a browser build) and its _mod_descrip is handed
//       over directly. Its state exists exactly once, for the life of the
//       process. Shared takes it as it is. Fresh is refused (LoadError,
//       NoFreshInstance) unless the caller gives a reset hook that zeroes
//       that state; the hook then runs before startup. Fresh is refused as
//       well while another instance of the same descriptor is alive, since
//       the two would share the one state. (One thread, as everywhere in
//       the simulated Layout.)
//   PluginLibrary(name, module, instance)   for loaders of one's own: an
//       instance already started, and what keeps its code loaded.
//
// Errors say what is wrong with the plug-in; what to do about it on a command
// line is the command line's to add (LoadError::problem() tells the cases).
#ifndef VANTOREL_SIM_LOADER_H
#define VANTOREL_SIM_LOADER_H

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "host/module_descriptor.h"
#include "plugin_instance.h"

namespace sim {

enum class LoadProblem {
    NoFile,          // nothing loadable at the path
    NoPrivateCopy,   // a fresh instance needs a copy of the file, which could not be made
    NotALibrary,     // the platform's loader refused the file
    NotStarted,      // startInstance() refused the descriptor: see startProblem()
    NoFreshInstance  // a linked-in plug-in cannot give a fresh instance now
};

// Thrown when a plug-in cannot be loaded or is not the expected one. The
// message says which file and what is wrong with it.
class LoadError : public std::runtime_error {
public:
    LoadError(LoadProblem problem, const std::string &message, StartProblem start = StartProblem::None)
        : std::runtime_error(message), problem_(problem), start_(start) {}
    LoadProblem problem() const { return problem_; }
    StartProblem startProblem() const { return start_; }

private:
    LoadProblem problem_;
    StartProblem start_;
};

// One started instance of the plug-in. Its static state lives at least as
// long as this object; shutdown is called, then the code is let go.
class PluginLibrary {
public:
    enum class Instance {
        Fresh,  // a new, all-zero static state (see above for what each loader does)
        Shared  // whatever state the plug-in has: the platform may hand back one already loaded
    };
    // Zeroes the static state of a linked-in plug-in.
    using Reset = std::function<void()>;

    // The native loader. Throws LoadError.
    [[nodiscard]] static PluginLibrary load(const std::string &path, Instance instance = Instance::Fresh,
                                            const std::string &className = "LayoutGeneric",
                                            const std::string &serverName = "vantorel");
    // The linked-in loader. Throws LoadError.
    [[nodiscard]] static PluginLibrary linkedIn(const ModuleDescriptor &descriptor, Instance instance,
                                                const Reset &reset = {}, const ServerKey &server = {});

    // Finds another symbol the plug-in exports by its name, or answers null.
    using SymbolLookup = std::function<void *(const char *name)>;

    // `module` keeps the instance's code loaded (it may be null); it is
    // released after the instance's shutdown. `lookup` finds the plug-in's
    // other exports while the library lives (none: symbol() answers null).
    PluginLibrary(std::string name, std::shared_ptr<void> module, PluginInstance instance,
                  SymbolLookup lookup = {});
    PluginLibrary(PluginLibrary &&) noexcept;
    PluginLibrary &operator=(PluginLibrary &&) noexcept;
    ~PluginLibrary();

    const ModuleDescriptor &descriptor() const;
    HostActivateFunc activation() const;
    void *startupData() const;
    const std::string &path() const;  // the file named to load(); "linked in" for linkedIn()
    // Another symbol the plug-in's file exports (a test build's hook), or
    // null; always null for a linked-in plug-in, whose program has them all.
    void *symbol(const char *name) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The folder holding the running executable (argv0 as a fallback), for
// finding a plug-in built beside it. Empty when it cannot be told.
std::string executableDirectory(const char *argv0);

}  // namespace sim

#endif
