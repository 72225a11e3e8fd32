// plugin_instance.cpp - the descriptor check, startup and the server lookup.
// No call of the operating system belongs here (see the header).
#include "plugin_instance.h"

namespace sim {

std::string StartError::message(const std::string &name) const {
    const std::string quoted = "'" + name + "'";
    switch (problem) {
    case StartProblem::None: break;
    case StartProblem::NoDescriptor:
        return quoted + " is not a Layout plug-in: it exports no " MODULE_DESCRIPTOR_SYMBOL;
    case StartProblem::WrongSyncWord:
        return quoted + " is not a Layout plug-in: its module descriptor has a wrong synchronisation word";
    case StartProblem::Incomplete:
        return quoted + " has an incomplete module descriptor (no startup function or server table)";
    case StartProblem::StartupRefused:
        return "plug-in " + quoted + " refused to start: its startup function returned null";
    case StartProblem::NoSuchServer:
        return quoted + " is not the expected plug-in: it has no " + server.className + " server named '" +
               server.serverName + "'";
    case StartProblem::NoActivation:
        return "plug-in " + quoted + ": server " + server.serverName + " has no activation entry";
    }
    return {};
}

void PluginInstance::Shutdown::operator()(const ModuleDescriptor *d) const {
    if (d->shutdown) d->shutdown(data);
}

namespace {

StartProblem descriptorProblem(const ModuleDescriptor *d) {
    if (!d) return StartProblem::NoDescriptor;
    if (d->sync != MODULE_SYNC_WORD) return StartProblem::WrongSyncWord;
    if (!d->startup || !d->servers) return StartProblem::Incomplete;
    return StartProblem::None;
}

const ServerRecord *findServer(const ServerRecord *servers, const ServerKey &key) {
    for (const ServerRecord *s = servers; s->className; ++s)
        if (s->serverName && key.className == s->className && key.serverName == s->serverName) return s;
    return nullptr;
}

}  // namespace

StartedInstance startInstance(const ModuleDescriptor *descriptor, const ServerKey &server) {
    StartedInstance out;
    out.error.server = server;
    out.error.problem = descriptorProblem(descriptor);
    if (out.error.problem != StartProblem::None) return out;

    void *data = descriptor->startup();
    if (!data) {
        out.error.problem = StartProblem::StartupRefused;
        return out;
    }
    // From here on the instance exists, so a refusal below ends it: shutdown.
    PluginInstance started(descriptor, data);
    const ServerRecord *s = findServer(descriptor->servers, server);
    if (!s || !s->activate) {
        out.error.problem = s ? StartProblem::NoActivation : StartProblem::NoSuchServer;
        return out;
    }
    started.activate_ = s->activate;
    out.instance.emplace(std::move(started));
    return out;
}

}  // namespace sim
