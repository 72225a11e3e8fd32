// host.cpp - the simulated Layout: global lookup, activation, bookkeeping and
// the outcome of a run. The tables themselves are in host_panels.cpp,
// host_rasters.cpp and host_scene.cpp; driver events in host_driver.cpp.
#include "host.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "host_glue.h"

namespace sim {

Host *g_host = nullptr;
int g_lastDragCounter = 0;

std::string quote(const char *s) { return s ? "\"" + std::string(s) + "\"" : std::string("null"); }
std::string num(long long v) { return std::to_string(v); }
std::string real(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}
std::string ptr(const void *p) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%p", p);
    return buf;
}

std::string Call::text() const {
    std::string s = name + "(";
    for (size_t i = 0; i < args.size(); ++i) s += (i ? ", " : "") + args[i];
    return s + ")";
}

// ---- global lookup --------------------------------------------------------

void *VT_CDECL HostGlue::global(const char *name, int32_t mode) {
    Host &host = h();
    if (host.logging()) host.log("global", {quote(name), num(mode)});
    if (!name) return nullptr;
    std::string n = name;
    if (host.conditions_.missingGlobals.count(n)) return nullptr;
    if (n == PANEL_SERVICES_NAME) return &host.panelTable_;
    if (n == RASTER_SERVICES_NAME) return &host.rasterTable_;
    if (n == ITEM_INFO_NAME) return &host.itemTable_;
    if (n == LIGHT_INFO_NAME) return &host.lightTable_;
    if (n == MESSAGES_NAME) return &host.messageTable_;
    return nullptr;
}

// ---------------------------------------------------------------------------

Host::Host(scene::Scene scene, HostConditions conditions)
    : scene_(std::move(scene)), conditions_(std::move(conditions)), interpreter_(scene_) {
    panelTable_.create = &HostGlue::panelCreate;
    panelTable_.destroy = &HostGlue::panelDestroy;
    panelTable_.open = &HostGlue::panelOpen;
    panelTable_.get = &HostGlue::panelGet;
    panelTable_.set = &HostGlue::panelSet;
    panelTable_.addControl = &HostGlue::addControl;
    rasterTable_.drawRGBBox = &HostGlue::drawRGBBox;
    rasterTable_.drawText = &HostGlue::drawText;
    rasterTable_.create = &HostGlue::rasterCreate;
    rasterTable_.destroy = &HostGlue::rasterDestroy;
    rasterTable_.blitPanel = &HostGlue::blitPanel;
    itemTable_.first = &HostGlue::itemFirst;
    itemTable_.next = &HostGlue::itemNext;
    itemTable_.name = &HostGlue::itemName;
    lightTable_.type = &HostGlue::lightType;
    lightTable_.color = &HostGlue::lightColor;
    lightTable_.shadowType = &HostGlue::lightShadow;
    lightTable_.flags = &HostGlue::lightFlags;
    lightTable_.range = &HostGlue::lightRange;
    messageTable_.error = &HostGlue::messageError;
    local_.context = this;
    local_.evaluate = &HostGlue::evaluate;
}

Host::~Host() {
    if (g_host == this) g_host = nullptr;
}

int Host::activate(const PluginLibrary &lib, Driver driver) {
    return activate(lib.activation(), lib.startupData(), std::move(driver));
}

int Host::activate(HostActivateFunc entry, void *serverData, Driver driver) {
    driver_ = std::move(driver);
    Host *previous = g_host;
    g_host = this;
    if (logging()) log("activate", {num(conditions_.interfaceVersion)}, true);
    int32_t rc = entry(conditions_.interfaceVersion, &HostGlue::global, &local_, serverData);
    if (logging()) log("activate.result", {num(rc)}, true);
    g_host = previous;
    driver_ = nullptr;
    return rc;
}

// ---- bookkeeping ----------------------------------------------------------

void Host::log(std::string name, std::vector<std::string> args, bool callback) {
    if (logging_) calls_.push_back({std::move(name), std::move(args), callback});
}

void Host::fault(const std::string &text) {
    faults_.push_back(text);
    if (observer) observer("fault", text);
}

Delivery Host::eventFail(const std::string &text) {
    // Kept with the faults, but not told to the observer: whoever delivered
    // the event has the reason in the result and reports it once.
    faults_.push_back(text);
    return Delivery::refused(text);
}

// ---- outcome --------------------------------------------------------------

std::vector<std::string> Host::commands() const {
    std::vector<std::string> out;
    for (auto &c : commands_) out.push_back(c.text);
    return out;
}

std::vector<std::string> Host::errors() const {
    std::vector<std::string> out;
    for (auto &e : errors_) out.push_back(e.text);
    return out;
}

std::vector<std::string> Host::callNames() const {
    std::vector<std::string> out;
    for (auto &c : calls_) out.push_back(c.name);
    return out;
}

size_t Host::countCalls(std::string_view name) const {
    return static_cast<size_t>(std::count_if(calls_.begin(), calls_.end(),
                                             [&](const Call &c) { return !c.callback && c.name == name; }));
}

int Host::livePanels() const {
    int n = 0;
    for (auto &p : panels_) n += p->destroyed ? 0 : 1;
    return n;
}

int Host::liveRasters() const {
    int n = 0;
    for (auto &r : rasters_) n += r->live ? 1 : 0;
    return n;
}

const PanelModel *Host::lastPanel() const { return panels_.empty() ? nullptr : panels_.back().get(); }

std::optional<Close> Host::lastOutcome() const {
    const PanelModel *p = lastPanel();
    return p ? p->outcome : std::nullopt;
}

}  // namespace sim
