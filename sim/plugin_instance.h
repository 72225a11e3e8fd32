// plugin_instance.h - a started plug-in: what Layout does with a module
// descriptor once it has found one, wherever it came from.
//
// startInstance() checks the descriptor (synchronisation word, startup
// function and server table present), calls startup, and finds the server of
// the class and name asked for, with its activation entry. It makes no call
// of the operating system, so it builds wherever the host does (a browser
// build links the plug-in in and hands over its _mod_descrip directly). The
// instance calls the descriptor's shutdown when it ends.
#ifndef VANTOREL_SIM_PLUGIN_INSTANCE_H
#define VANTOREL_SIM_PLUGIN_INSTANCE_H

#include <memory>
#include <optional>
#include <string>

#include "host/module_descriptor.h"

namespace sim {

// Which server of the descriptor's table to run.
struct ServerKey {
    std::string className = "LayoutGeneric";
    std::string serverName = "vantorel";
};

// Which check of startInstance() refused the descriptor, in the order made.
enum class StartProblem {
    None,
    NoDescriptor,    // no descriptor was found at all
    WrongSyncWord,   // the first word is not the module system's
    Incomplete,      // no startup function or no server table
    StartupRefused,  // startup returned null
    NoSuchServer,    // no server of that class and name
    NoActivation,    // the server has no activation entry
};

struct StartError {
    StartProblem problem = StartProblem::None;
    ServerKey server;  // the server that was looked for

    // The sentence for the user: `name` is how the plug-in is called in it
    // (a file name, for instance). It says what is wrong with the plug-in,
    // not what to do on any command line.
    std::string message(const std::string &name) const;
};

struct StartedInstance;

// Checks `descriptor` (which may be null: nothing was found), starts it and
// finds `server`. When startup succeeded but the server is missing or has no
// activation entry, shutdown is called before returning the error. The first
// server that matches is taken.
[[nodiscard]] StartedInstance startInstance(const ModuleDescriptor *descriptor, const ServerKey &server = {});

// A started plug-in, made by startInstance(); move-only. Shutdown is called
// with the startup data when it ends (not for one moved from).
class PluginInstance {
public:
    const ModuleDescriptor &descriptor() const { return *started_; }
    HostActivateFunc activation() const { return activate_; }
    void *startupData() const { return started_.get_deleter().data; }

private:
    friend StartedInstance startInstance(const ModuleDescriptor *, const ServerKey &);
    struct Shutdown {
        void *data = nullptr;
        void operator()(const ModuleDescriptor *d) const;
    };
    PluginInstance(const ModuleDescriptor *d, void *data) : started_(d, Shutdown{data}) {}

    std::unique_ptr<const ModuleDescriptor, Shutdown> started_;
    HostActivateFunc activate_ = nullptr;
};

// The result of startInstance(): an instance, or the check that failed.
struct StartedInstance {
    std::optional<PluginInstance> instance;
    StartError error;  // problem is None when there is an instance
};

}  // namespace sim

#endif
