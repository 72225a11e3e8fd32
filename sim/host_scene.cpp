// host_scene.cpp - the simulated Layout's scene tables (items and lights),
// its error messages and the command entry point handed to the plug-in.
#include "host_glue.h"

namespace sim {

const scene::Light *HostGlue::light(Host &host, HostItem *item, const char *op) {
    auto id = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(item));
    const long at = item ? host.scene_.find(id) : -1;
    if (at >= 0) return &host.scene_.lights[static_cast<size_t>(at)];
    host.fault(std::string(op) + " of an unknown item " + ptr(item));
    return nullptr;
}

HostItem *HostGlue::asItem(uint32_t id) { return reinterpret_cast<HostItem *>(static_cast<uintptr_t>(id)); }

HostItem *VT_CDECL HostGlue::itemFirst(int32_t type, HostItem *parent) {
    Host &host = h();
    if (host.logging()) host.log("item.first", {num(type), ptr(parent)});
    if (type != ITEM_TYPE_LIGHT || parent || host.scene_.lights.empty()) return nullptr;
    return asItem(host.scene_.lights.front().id);
}

HostItem *VT_CDECL HostGlue::itemNext(HostItem *item) {
    Host &host = h();
    if (host.logging()) host.log("item.next", {ptr(item)});
    const auto &ls = host.scene_.lights;
    const long at = item ? host.scene_.find(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(item))) : -1;
    if (at >= 0) {
        const size_t i = static_cast<size_t>(at);
        return i + 1 < ls.size() ? asItem(ls[i + 1].id) : nullptr;
    }
    host.fault("item.next of an unknown item " + ptr(item));
    return nullptr;
}

const char *VT_CDECL HostGlue::itemName(HostItem *item) {
    Host &host = h();
    if (host.logging()) host.log("item.name", {ptr(item)});
    const scene::Light *l = light(host, item, "item.name");
    return l ? l->name.c_str() : "";
}

int32_t VT_CDECL HostGlue::lightType(HostItem *item) {
    Host &host = h();
    if (host.logging()) host.log("light.type", {ptr(item)});
    const scene::Light *l = light(host, item, "light.type");
    return l ? l->lightType : 0;
}

void VT_CDECL HostGlue::lightColor(HostItem *item, double time, double rgb[3]) {
    Host &host = h();
    if (host.logging()) host.log("light.color", {ptr(item), real(time)});
    const scene::Light *l = light(host, item, "light.color");
    if (!rgb) return host.fault("light.color with a null destination");
    // The scene holds one value per light: the value at time 0.
    for (int i = 0; i < 3; ++i) rgb[i] = l ? l->color[i] * l->intensity : 0.0;
}

int32_t VT_CDECL HostGlue::lightShadow(HostItem *item) {
    Host &host = h();
    if (host.logging()) host.log("light.shadowType", {ptr(item)});
    const scene::Light *l = light(host, item, "light.shadowType");
    return l ? l->shadowType : 0;
}

uint32_t VT_CDECL HostGlue::lightFlags(HostItem *item) {
    Host &host = h();
    if (host.logging()) host.log("light.flags", {ptr(item)});
    const scene::Light *l = light(host, item, "light.flags");
    return l ? l->flags : 0u;
}

double VT_CDECL HostGlue::lightRange(HostItem *item) {
    Host &host = h();
    if (host.logging()) host.log("light.range", {ptr(item)});
    const scene::Light *l = light(host, item, "light.range");
    return l ? l->range : 0.0;
}

void VT_CDECL HostGlue::messageError(const char *text, const char *second) {
    Host &host = h();
    if (host.logging()) host.log("message.error", {quote(text), quote(second)});
    ErrorBox box{text ? text : "", second ? std::optional<std::string>(second) : std::nullopt};
    host.errors_.push_back(box);
    if (host.observer) host.observer("error", box.secondLine ? box.text + " / " + *box.secondLine : box.text);
}

int32_t VT_CDECL HostGlue::evaluate(void *context, const char *command) {
    Host &host = h();
    if (host.logging()) host.log("generic.evaluate", {quote(command)});
    if (context != &host) host.fault("evaluate called with a context the host did not hand out");
    if (!command) {
        host.fault("evaluate called with a null command");
        return 0;
    }
    CommandOutcome out = host.interpreter_.run(command);
    host.commands_.push_back({command, out.accepted, out.reason});
    if (host.observer) host.observer("command", command);
    if (!out.accepted && host.observer) host.observer("rejected", std::string(command) + ": " + out.reason);
    return out.accepted ? 1 : 0;
}

}  // namespace sim
