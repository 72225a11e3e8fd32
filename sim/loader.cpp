// loader.cpp - PluginLibrary itself and the linked-in loader. No call of the
// operating system belongs here: those are in native_loader.cpp.
#include "loader.h"

#include <map>
#include <utility>

namespace sim {

struct PluginLibrary::Impl {
    std::string name;
    std::shared_ptr<void> module;  // declared first, so released after the instance ends
    PluginInstance instance;
    SymbolLookup lookup;

    Impl(std::string n, std::shared_ptr<void> m, PluginInstance i, SymbolLookup l)
        : name(std::move(n)), module(std::move(m)), instance(std::move(i)), lookup(std::move(l)) {}
};

PluginLibrary::PluginLibrary(std::string name, std::shared_ptr<void> module, PluginInstance instance,
                             SymbolLookup lookup)
    : impl_(std::make_unique<Impl>(std::move(name), std::move(module), std::move(instance),
                                   std::move(lookup))) {}
PluginLibrary::PluginLibrary(PluginLibrary &&) noexcept = default;
PluginLibrary &PluginLibrary::operator=(PluginLibrary &&) noexcept = default;
PluginLibrary::~PluginLibrary() = default;

const ModuleDescriptor &PluginLibrary::descriptor() const { return impl_->instance.descriptor(); }
HostActivateFunc PluginLibrary::activation() const { return impl_->instance.activation(); }
void *PluginLibrary::startupData() const { return impl_->instance.startupData(); }
const std::string &PluginLibrary::path() const { return impl_->name; }
void *PluginLibrary::symbol(const char *name) const { return impl_->lookup ? impl_->lookup(name) : nullptr; }

namespace {

const char *const kLinkedInName = "linked in";

// How many instances of each linked-in descriptor are alive: its state exists
// once, so a fresh instance needs it unused. (The plug-in, like the simulated
// Layout, runs on one thread.)
std::map<const ModuleDescriptor *, int> &alive() {
    static std::map<const ModuleDescriptor *, int> counts;
    return counts;
}

// One instance of a linked-in descriptor in use, for as long as it lives.
class Claim {
public:
    explicit Claim(const ModuleDescriptor *d) : d_(d) {}
    Claim(const Claim &) = delete;
    Claim &operator=(const Claim &) = delete;
    ~Claim() { --alive()[d_]; }

private:
    const ModuleDescriptor *d_;
};

std::shared_ptr<void> claim(const ModuleDescriptor *d, bool fresh) {
    if (fresh && alive()[d] > 0)
        throw LoadError(LoadProblem::NoFreshInstance,
                        "a linked-in plug-in has one state for the life of the program, and another "
                        "instance of it is in use: end that one before starting a fresh one");
    auto token = std::make_shared<Claim>(d);
    ++alive()[d];
    return token;
}

}  // namespace

PluginLibrary PluginLibrary::linkedIn(const ModuleDescriptor &descriptor, Instance instance,
                                      const Reset &reset, const ServerKey &server) {
    const bool fresh = instance == Instance::Fresh;
    if (fresh && !reset)
        throw LoadError(LoadProblem::NoFreshInstance,
                        "a linked-in plug-in has one state for the life of the program, and nothing was "
                        "given to zero it: a fresh instance needs a reset hook, or take the shared one");
    std::shared_ptr<void> token = claim(&descriptor, fresh);
    if (fresh) reset();
    StartedInstance started = startInstance(&descriptor, server);
    if (!started.instance)
        throw LoadError(LoadProblem::NotStarted, started.error.message(kLinkedInName), started.error.problem);
    return PluginLibrary(kLinkedInName, std::move(token), std::move(*started.instance));
}

}  // namespace sim
