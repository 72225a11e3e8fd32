// host.cpp - the simulated Layout's host tables and the driver API.
#include "host.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>

#include "font.h"

namespace sim {

namespace {

// The host whose activation is running; the C tables reach it through this.
Host *g_host = nullptr;

// Step counter of the last drag event any host sent, process-wide, so that a
// new gesture never continues one that a plug-in instance saw earlier.
int g_lastDragCounter = 0;

constexpr int kListBarWidth = 200;
constexpr int kListBarHeight = 14;
constexpr Rgb kListBarColour{30, 30, 128};
constexpr int kRowPitch = 16;
constexpr int kMaxRasterSide = 8192;
constexpr int kMaxPanelSide = 4096;

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
uint8_t channel(int32_t v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

Rgb textColour(int32_t code) { return code == kTextColourCode ? kTextColour : Rgb{0, 0, 0}; }

bool isType(const ControlModel &c, const char *t) { return c.typeName == t; }

}  // namespace

std::string Call::text() const {
    std::string s = name + "(";
    for (size_t i = 0; i < args.size(); ++i) s += (i ? ", " : "") + args[i];
    return s + ")";
}

// ---------------------------------------------------------------------------
// The C tables. Each function finds the running host and forwards to it.

struct HostGlue {
    static Host &h() { return *g_host; }

    // ---- global lookup ----
    static void *VT_CDECL global(const char *name, int32_t mode) {
        Host &host = h();
        host.log("global", {quote(name), num(mode)});
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

    // ---- panel services ----
    static HostPanel *VT_CDECL panelCreate(const char *title, void *data) {
        Host &host = h();
        host.log("panel.create", {quote(title), ptr(data)});
        if (host.conditions_.failPanelCreate) return nullptr;
        auto p = std::make_unique<PanelModel>();
        p->serial = static_cast<int>(host.panels_.size()) + 1;
        p->title = title ? title : "";
        host.panels_.push_back(std::move(p));
        return reinterpret_cast<HostPanel *>(host.panels_.back().get());
    }
    static void VT_CDECL panelDestroy(HostPanel *panel) {
        Host &host = h();
        host.log("panel.destroy", {"panel"});
        PanelModel *p = host.livePanel(panel, "panel.destroy");
        if (!p) return;
        if (host.open_ == p) host.fault("panel.destroy called while the panel is open");
        p->destroyed = true;
        for (auto &c : p->controls) host.controlByHandle_.erase(c->handle);
    }
    static int32_t VT_CDECL panelOpen(HostPanel *panel, int32_t flags) {
        Host &host = h();
        host.log("panel.open", {"panel", num(flags)});
        PanelModel *p = host.livePanel(panel, "panel.open");
        if (!p) return 0;
        if (host.open_) {
            host.fault("panel.open called while another panel is open");
            return 0;
        }
        p->opened = true;
        ++host.panelsOpened_;
        host.layoutPanelPicture(p);
        host.open_ = p;
        // The host shows the panel: every area control with a draw handler paints.
        for (auto &c : p->controls)
            if (c->drawHandler && isType(*c, "AreaControl")) host.callDraw(c.get(), DR_RENDER);
        Close outcome = Close::Cancel;
        if (host.driver_) {
            try {
                outcome = host.driver_(host);
            } catch (const std::exception &e) {
                host.fault(std::string("the session driver failed: ") + e.what());
                outcome = Close::Cancel;
            } catch (...) {
                host.fault("the session driver failed");
                outcome = Close::Cancel;
            }
        }
        host.open_ = nullptr;
        p->outcome = outcome;
        return outcome == Close::Ok ? 1 : 0;
    }
    static void VT_CDECL panelGet(HostPanel *panel, int32_t tag, void *out) {
        Host &host = h();
        host.log("panel.get", {"panel", num(tag)});
        PanelModel *p = host.livePanel(panel, "panel.get");
        if (!p) return;
        if (!out) return host.fault("panel.get with a null destination");
        int32_t v;
        switch (tag) {
        case PAN_VERSION: v = host.conditions_.toolkitVersion; break;
        case PAN_HEIGHT: v = p->height; break;
        default: return host.fault("panel.get with unknown tag " + num(tag));
        }
        std::memcpy(out, &v, sizeof v);
    }
    static void VT_CDECL panelSet(HostPanel *panel, int32_t tag, void *in) {
        Host &host = h();
        PanelModel *p = host.livePanel(panel, "panel.set");
        switch (tag) {
        case PAN_HEIGHT: {
            int32_t v = 0;
            if (in) std::memcpy(&v, in, sizeof v);
            host.log("panel.set", {"panel", num(tag), num(v)});
            if (!p) return;
            if (!in) return host.fault("panel.set height with a null value");
            p->height = v;
            return;
        }
        case PAN_USERDATA:
            host.log("panel.set", {"panel", num(tag), ptr(in)});
            if (p) p->userData = reinterpret_cast<intptr_t>(in);
            return;
        case PAN_USERKEYS:
            host.log("panel.set", {"panel", num(tag), ptr(in)});
            if (p) p->keyHandler = reinterpret_cast<intptr_t>(in);
            return;
        default:
            host.log("panel.set", {"panel", num(tag), ptr(in)});
            host.fault("panel.set with unknown tag " + num(tag));
        }
    }
    static HostControl *VT_CDECL addControl(HostPanel *panel, const char *typeName, ControlDesc *desc,
                                            const char *label) {
        Host &host = h();
        host.log("panel.addControl",
                 {"panel", quote(typeName), desc ? "type " + num(desc->type) : "null", quote(label)});
        PanelModel *p = host.livePanel(panel, "panel.addControl");
        if (!p) return nullptr;
        if (p->opened) host.fault("panel.addControl after the panel was opened");
        int number = static_cast<int>(p->controls.size()) + 1;
        // The Nth call on this panel; the plug-in stops adding after a failure,
        // so this is also the Nth control it asked for.
        if (host.conditions_.failControl == number) return nullptr;
        if (!typeName) {
            host.fault("panel.addControl with no type name");
            return nullptr;
        }
        static const char *const kKnown[] = {"FloatControl", "DragButtonControl", "ChoiceControl",
                                             "ButtonControl", "InfoControl", "AreaControl",
                                             "VSlideControl", "EditControl", "MiniRGBControl"};
        bool known = false;
        for (const char *k : kKnown) known = known || std::strcmp(k, typeName) == 0;
        if (!known) {
            host.fault(std::string("panel.addControl with unknown control type ") + typeName);
            return nullptr;
        }
        auto c = std::make_unique<ControlModel>();
        c->panel = p;
        c->number = number;
        c->typeName = typeName;
        c->label = label ? label : "";
        if (desc) c->desc = *desc;
        if (c->typeName == "ChoiceControl" && desc && desc->type == CD_CHOICE && desc->choice.items) {
            for (int i = 0; i < 64 && desc->choice.items[i]; ++i) c->items.emplace_back(desc->choice.items[i]);
        }
        host.shapeControl(*c);
        // A key unique within the panel.
        std::string key = c->key;
        for (int n = 2; host.findIn(p, key); ++n) key = c->key + "#" + num(n);
        c->key = key;

        auto handle = std::make_unique<HostControl>();
        handle->draw = &HostGlue::controlDraw;
        handle->get = &HostGlue::controlGet;
        handle->set = &HostGlue::controlSet;
        c->handle = handle.get();
        host.controlByHandle_[handle.get()] = c.get();
        host.controlHandles_.push_back(std::move(handle));
        p->controls.push_back(std::move(c));
        return p->controls.back()->handle;
    }

    // ---- control operations ----
    static void VT_CDECL controlDraw(HostControl *control, int32_t mode) {
        Host &host = h();
        ControlModel *c = host.liveControl(control, "control.draw");
        host.log("control.draw", {host.controlName(c), num(mode)});
        if (!c) return;
        ++c->drawCount;
        if (mode == DR_RENDER || mode == DR_GHOST) c->drawState = mode;
        else if (mode != DR_REFRESH) host.fault("control.draw with unknown mode " + num(mode));
        if (c->drawHandler && isType(*c, "AreaControl")) host.callDraw(c, mode);
    }
    static void VT_CDECL controlGet(HostControl *control, int32_t tag, HostValue *v) {
        Host &host = h();
        ControlModel *c = host.liveControl(control, "control.get");
        host.log("control.get", {host.controlName(c), num(tag)});
        if (!c) return;
        if (!v) return host.fault("control.get with a null value record");
        auto putInt = [&](intptr_t x) {
            v->intv.type = HV_INTEGER;
            v->intv.value = x;
        };
        switch (tag) {
        case CTL_X: return putInt(c->x);
        case CTL_Y: return putInt(c->y);
        case CTL_HOTX: return putInt(c->hotX());
        case CTL_HOTY: return putInt(c->hotY());
        case CTL_HOTW: return putInt(c->bodyWidth);
        case CTL_HOTH: return putInt(c->bodyHeight);
        case CTL_LABELWIDTH: return putInt(c->labelWidth);
        case CTL_MOUSEX: return putInt(c->mouseX);
        case CTL_MOUSEY: return putInt(c->mouseY);
        case CTL_USERDATA: return putInt(c->userData);
        case CTL_PANEL: return putInt(reinterpret_cast<intptr_t>(c->panel));
        case CTL_VALUE: break;
        default: return host.fault("control.get with unknown tag " + num(tag));
        }
        // The value, converted to the form the caller's record declares.
        int32_t form = v->type;
        if (form != HV_STRING && form != HV_INTEGER && form != HV_FLOAT && form != HV_IVECTOR &&
            form != HV_FVECTOR)
            form = c->type;
        switch (form) {
        case HV_STRING: {
            HostStringValue &s = v->str;
            if (!s.buf || s.bufLen <= 0) return host.fault("control.get of a text into no buffer");
            size_t n = std::min(c->text.size(), static_cast<size_t>(s.bufLen) - 1);
            std::memcpy(s.buf, c->text.data(), n);
            s.buf[n] = '\0';
            return;
        }
        case HV_INTEGER:
            v->intv.type = HV_INTEGER;
            v->intv.value = c->type == HV_FLOAT ? static_cast<intptr_t>(std::isnan(c->floatValue) ? 0.0 : std::clamp(c->floatValue, -1e15, 1e15))
                            : c->type == HV_IVECTOR ? c->vec[0]
                                                    : c->intValue;
            return;
        case HV_FLOAT:
            v->flt.type = HV_FLOAT;
            v->flt.value = c->type == HV_FLOAT ? c->floatValue : static_cast<double>(c->intValue);
            return;
        case HV_IVECTOR:
            v->ivec.type = HV_IVECTOR;
            for (int i = 0; i < 3; ++i) v->ivec.value[i] = c->vec[i];
            return;
        case HV_FVECTOR:
            v->fvec.type = HV_FVECTOR;
            for (int i = 0; i < 3; ++i) v->fvec.value[i] = c->vec[i];
            return;
        }
    }
    static void VT_CDECL controlSet(HostControl *control, int32_t tag, HostValue *v) {
        Host &host = h();
        ControlModel *c = host.liveControl(control, "control.set");
        std::vector<std::string> args{host.controlName(c), num(tag)};
        if (v) args.push_back(describeValue(*v));
        host.log("control.set", std::move(args));
        if (!c) return;
        if (!v) return host.fault("control.set with a null value record");
        switch (tag) {
        case CTL_X: c->x = static_cast<int>(v->intv.value); return;
        case CTL_Y: c->y = static_cast<int>(v->intv.value); return;
        case CTL_USERDRAW: c->drawHandler = v->intv.value; return;
        case CTL_USEREVENT: c->eventHandler = v->intv.value; return;
        case CTL_USERDATA: c->userData = v->intv.value; return;
        case CTL_VALUE: break;
        default: return host.fault("control.set with unknown tag " + num(tag));
        }
        switch (v->type) {
        case HV_STRING: {
            const HostStringValue &s = v->str;
            if (s.bufLen < 0) return host.fault("control.set of a text with a negative length");
            size_t n = s.buf ? strnlen(s.buf, static_cast<size_t>(s.bufLen)) : 0;
            c->text.assign(s.buf ? s.buf : "", n);
            break;
        }
        case HV_INTEGER:
            c->intValue = v->intv.value;
            c->floatValue = static_cast<double>(v->intv.value);
            break;
        case HV_FLOAT:
            c->floatValue = v->flt.value;
            // NaN reads back as 0 through an integer record, as a real host's field would show it.
            c->intValue = std::isnan(v->flt.value) ? 0 : static_cast<intptr_t>(std::clamp(v->flt.value, -1e15, 1e15));
            break;
        case HV_IVECTOR:
            for (int i = 0; i < 3; ++i) c->vec[i] = v->ivec.value[i];
            break;
        case HV_FVECTOR:
            for (int i = 0; i < 3; ++i) c->vec[i] = static_cast<int32_t>(std::clamp(v->fvec.value[i], -2e9, 2e9));
            break;
        default: return host.fault("control.set of a value of unknown type " + num(v->type));
        }
        if (v->type != c->type)
            host.fault("control.set of " + c->key + " with value type " + num(v->type) + ", expected " +
                       num(c->type));
        if (isType(*c, "InfoControl")) {
            host.infos_.push_back(c->text);
            if (host.observer) host.observer("info", c->text);
        }
    }
    static std::string describeValue(const HostValue &v) {
        switch (v.type) {
        case HV_STRING: {
            if (!v.str.buf || v.str.bufLen < 0) return "text null";
            return "text \"" + std::string(v.str.buf, strnlen(v.str.buf, static_cast<size_t>(v.str.bufLen))) + "\"";
        }
        case HV_INTEGER: return "int " + num(static_cast<long long>(v.intv.value));
        case HV_FLOAT: return "float " + real(v.flt.value);
        case HV_IVECTOR:
            return "ivec " + num(v.ivec.value[0]) + " " + num(v.ivec.value[1]) + " " + num(v.ivec.value[2]);
        case HV_FVECTOR:
            return "fvec " + real(v.fvec.value[0]) + " " + real(v.fvec.value[1]) + " " + real(v.fvec.value[2]);
        default: return "type " + num(v.type);
        }
    }

    // ---- raster services ----
    static void VT_CDECL drawRGBBox(HostRaster *raster, int32_t r, int32_t g, int32_t b, int32_t x, int32_t y,
                                    int32_t w, int32_t hgt) {
        Host &host = h();
        host.log("raster.drawRGBBox", {"raster", num(r), num(g), num(b), num(x), num(y), num(w), num(hgt)});
        Host::RasterModel *m = host.liveRaster(raster, "raster.drawRGBBox");
        if (!m) return;
        Rgb colour{channel(r), channel(g), channel(b)};
        m->picture.fillBox(x, y, w, hgt, colour);
        if (host.painting_) {
            host.painting_->paintRaster = m->serial;
            if (colour == kListBarColour && w == kListBarWidth && hgt == kListBarHeight)
                host.painting_->lastPaint.barTops.push_back(y);
        }
    }
    static void VT_CDECL drawText(HostRaster *raster, const char *text, int32_t colour, int32_t x, int32_t y) {
        Host &host = h();
        host.log("raster.drawText", {"raster", quote(text), num(colour), num(x), num(y)});
        Host::RasterModel *m = host.liveRaster(raster, "raster.drawText");
        if (!m) return;
        if (!text) return host.fault("raster.drawText with a null text");
        m->picture.drawText(x, y, text, textColour(colour));
        if (host.painting_) {
            host.painting_->paintRaster = m->serial;
            ListPaint &lp = host.painting_->lastPaint;
            bool onBar = std::find(lp.barTops.begin(), lp.barTops.end(), y) != lp.barTops.end();
            lp.texts.push_back({text, x, y, onBar});
        }
    }
    static HostRaster *VT_CDECL rasterCreate(int32_t w, int32_t hgt, int32_t flags) {
        Host &host = h();
        host.log("raster.create", {num(w), num(hgt), num(flags)});
        if (host.conditions_.failRasterCreate) return nullptr;
        if (w <= 0 || hgt <= 0 || w > kMaxRasterSide || hgt > kMaxRasterSide) return nullptr;
        auto m = std::make_unique<Host::RasterModel>();
        m->serial = static_cast<int>(host.rasters_.size());
        m->picture = Picture(w, hgt);
        host.rasters_.push_back(std::move(m));
        return reinterpret_cast<HostRaster *>(host.rasters_.back().get());
    }
    static void VT_CDECL rasterDestroy(HostRaster *raster) {
        Host &host = h();
        host.log("raster.destroy", {"raster"});
        Host::RasterModel *m = host.liveRaster(raster, "raster.destroy");
        if (m) m->live = false;
    }
    static void VT_CDECL blitPanel(HostRaster *raster, int32_t x, int32_t y, HostPanel *panel, int32_t px,
                                   int32_t py, int32_t w, int32_t hgt) {
        Host &host = h();
        host.log("raster.blitPanel",
                 {"raster", num(x), num(y), "panel", num(px), num(py), num(w), num(hgt)});
        Host::RasterModel *m = host.liveRaster(raster, "raster.blitPanel");
        PanelModel *p = host.livePanel(panel, "raster.blitPanel");
        if (!m || !p) return;
        long long right = static_cast<long long>(px) + std::max(w, 0);
        long long bottom = static_cast<long long>(py) + std::max(hgt, 0);
        p->picture.growTo(static_cast<int>(std::clamp<long long>(right, 0, kMaxPanelSide)),
                          static_cast<int>(std::clamp<long long>(bottom, 0, kMaxPanelSide)), kPanelBackground);
        p->picture.copyFrom(m->picture, x, y, px, py, w, hgt);
    }

    // ---- item and light info ----
    static const SceneLight *light(Host &host, HostItem *item, const char *op) {
        auto id = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(item));
        for (const SceneLight &l : host.scene_.lights)
            if (l.id == id && item) return &l;
        host.fault(std::string(op) + " of an unknown item " + ptr(item));
        return nullptr;
    }
    static HostItem *asItem(uint32_t id) { return reinterpret_cast<HostItem *>(static_cast<uintptr_t>(id)); }
    static HostItem *VT_CDECL itemFirst(int32_t type, HostItem *parent) {
        Host &host = h();
        host.log("item.first", {num(type), ptr(parent)});
        if (type != ITEM_TYPE_LIGHT || parent || host.scene_.lights.empty()) return nullptr;
        return asItem(host.scene_.lights.front().id);
    }
    static HostItem *VT_CDECL itemNext(HostItem *item) {
        Host &host = h();
        host.log("item.next", {ptr(item)});
        auto &ls = host.scene_.lights;
        for (size_t i = 0; i < ls.size(); ++i)
            if (item && ls[i].id == static_cast<uint32_t>(reinterpret_cast<uintptr_t>(item)))
                return i + 1 < ls.size() ? asItem(ls[i + 1].id) : nullptr;
        host.fault("item.next of an unknown item " + ptr(item));
        return nullptr;
    }
    static const char *VT_CDECL itemName(HostItem *item) {
        Host &host = h();
        host.log("item.name", {ptr(item)});
        const SceneLight *l = light(host, item, "item.name");
        return l ? l->name.c_str() : "";
    }
    static int32_t VT_CDECL lightType(HostItem *item) {
        Host &host = h();
        host.log("light.type", {ptr(item)});
        const SceneLight *l = light(host, item, "light.type");
        return l ? l->lightType : 0;
    }
    static void VT_CDECL lightColor(HostItem *item, double time, double rgb[3]) {
        Host &host = h();
        host.log("light.color", {ptr(item), real(time)});
        const SceneLight *l = light(host, item, "light.color");
        if (!rgb) return host.fault("light.color with a null destination");
        // The scene holds one value per light: the value at time 0.
        for (int i = 0; i < 3; ++i) rgb[i] = l ? l->color[i] * l->intensity : 0.0;
    }
    static int32_t VT_CDECL lightShadow(HostItem *item) {
        Host &host = h();
        host.log("light.shadowType", {ptr(item)});
        const SceneLight *l = light(host, item, "light.shadowType");
        return l ? l->shadowType : 0;
    }
    static uint32_t VT_CDECL lightFlags(HostItem *item) {
        Host &host = h();
        host.log("light.flags", {ptr(item)});
        const SceneLight *l = light(host, item, "light.flags");
        return l ? l->flags : 0u;
    }
    static double VT_CDECL lightRange(HostItem *item) {
        Host &host = h();
        host.log("light.range", {ptr(item)});
        const SceneLight *l = light(host, item, "light.range");
        return l ? l->range : 0.0;
    }

    // ---- messages and commands ----
    static void VT_CDECL messageError(const char *text, const char *second) {
        Host &host = h();
        host.log("message.error", {quote(text), quote(second)});
        ErrorBox box{text ? text : "", second ? std::optional<std::string>(second) : std::nullopt};
        host.errors_.push_back(box);
        if (host.observer) host.observer("error", box.secondLine ? box.text + " / " + *box.secondLine : box.text);
    }
    static int32_t VT_CDECL evaluate(void *context, const char *command) {
        Host &host = h();
        host.log("generic.evaluate", {quote(command)});
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
};

// ---------------------------------------------------------------------------

Host::Host(Scene scene, HostConditions conditions)
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
    log("activate", {num(conditions_.interfaceVersion)}, true);
    int32_t rc = entry(conditions_.interfaceVersion, &HostGlue::global, &local_, serverData);
    log("activate.result", {num(rc)}, true);
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

bool Host::eventFail(const std::string &text) {
    lastEventError_ = text;
    fault(text);
    return false;
}

PanelModel *Host::livePanel(HostPanel *panel, const char *op) {
    for (auto &p : panels_) {
        if (reinterpret_cast<HostPanel *>(p.get()) != panel) continue;
        if (p->destroyed) {
            fault(std::string(op) + " on a destroyed panel");
            return nullptr;
        }
        return p.get();
    }
    fault(std::string(op) + " on an unknown panel " + ptr(panel));
    return nullptr;
}

ControlModel *Host::liveControl(HostControl *control, const char *op) {
    auto it = controlByHandle_.find(control);
    if (it != controlByHandle_.end()) return it->second;
    for (auto &p : panels_)
        for (auto &c : p->controls)
            if (c->handle == control) {
                fault(std::string(op) + " on control " + c->key + " of a destroyed panel");
                return nullptr;
            }
    fault(std::string(op) + " on an unknown control " + ptr(control));
    return nullptr;
}

Host::RasterModel *Host::liveRaster(HostRaster *raster, const char *op) {
    for (auto &r : rasters_) {
        if (reinterpret_cast<HostRaster *>(r.get()) != raster) continue;
        if (!r->live) {
            fault(std::string(op) + " on a destroyed raster");
            return nullptr;
        }
        return r.get();
    }
    fault(std::string(op) + " on an unknown raster " + ptr(raster));
    return nullptr;
}

std::string Host::controlName(const ControlModel *c) const { return c ? c->key : "?"; }

ControlModel *Host::findIn(const PanelModel *p, std::string_view key) const {
    if (!p) return nullptr;
    for (auto &c : p->controls)
        if (c->key == key) return c.get();
    return nullptr;
}

ControlModel *Host::findControl(std::string_view key) const {
    const PanelModel *p = open_ ? open_ : lastPanel();
    return findIn(p, key);
}

// Size, value form, label width and key of a new control.
void Host::shapeControl(ControlModel &c) const {
    const std::string &t = c.typeName;
    const bool labelled = !c.label.empty() && t != "ButtonControl";
    c.labelWidth = labelled ? font::textWidth(c.label) + 8 : 0;
    c.bodyHeight = 20;
    c.key = c.label;
    if (t == "FloatControl") {
        c.type = HV_FLOAT;
        c.bodyWidth = 64;
    } else if (t == "EditControl" || t == "InfoControl") {
        c.type = HV_STRING;
        int chars = c.desc.type == HV_STRING && c.desc.string.width > 0 ? c.desc.string.width : 20;
        c.bodyWidth = std::min(chars, 200) * font::kAdvance + 8;
    } else if (t == "MiniRGBControl") {
        c.type = HV_IVECTOR;
        c.bodyWidth = 3 * 40;
        if (c.key.empty()) c.key = "color";
    } else if (t == "DragButtonControl") {
        c.type = HV_IVECTOR;
        c.bodyWidth = 16;
        if (c.key.empty()) c.key = "drag";
    } else if (t == "ChoiceControl") {
        c.type = HV_INTEGER;
        int w = 0;
        for (auto &it : c.items) w += font::textWidth(it) + 12;
        c.bodyWidth = std::max(w, 20);
        if (c.key.empty()) {
            if (!c.items.empty() && c.items[0] == "Distant") c.key = "lighttype";
            else if (!c.items.empty() && c.items[0] == "Off") c.key = "shadow";
            else c.key = "choice";
        }
    } else if (t == "ButtonControl") {
        c.type = HV_INTEGER;
        c.bodyWidth = font::textWidth(c.label) + 16;
        if (c.desc.type == CD_AREA && c.desc.area.width > 0) c.bodyWidth = std::min(c.desc.area.width, 2000);
        if (c.key.empty()) c.key = "button";
    } else if (t == "AreaControl") {
        c.type = HV_INTEGER;
        c.bodyWidth = c.desc.type == CD_AREA && c.desc.area.width > 0 ? std::min(c.desc.area.width, 4000) : 20;
        c.bodyHeight = c.desc.type == CD_AREA && c.desc.area.height > 0 ? std::min(c.desc.area.height, 4000) : 20;
        if (c.key.empty()) c.key = "list";
    } else if (t == "VSlideControl") {
        c.type = HV_INTEGER;
        c.bodyWidth = 16;
        c.bodyHeight = c.desc.type == CD_RANGE && c.desc.range.width > 0 ? std::min(c.desc.range.width, 4000) : 100;
        if (c.key.empty()) c.key = "slider";
    }
    if (c.key.empty()) c.key = t;
}

void Host::layoutPanelPicture(PanelModel *p) {
    int w = 100, hgt = 40;
    for (auto &c : p->controls) {
        w = std::max(w, c->hotX() + c->bodyWidth + 8);
        hgt = std::max(hgt, c->y + c->bodyHeight + 8);
    }
    if (p->height > 0) hgt = p->height;
    w = std::clamp(w, 1, kMaxPanelSide);
    hgt = std::clamp(hgt, 1, kMaxPanelSide);
    p->width = w;
    p->picture = Picture(w, hgt, kPanelBackground);
}

void Host::callDraw(ControlModel *c, int32_t mode) {
    if (painting_) return fault("area draw requested from inside a draw handler of " + painting_->key);
    log("plugin.draw", {c->key, num(mode)}, true);
    c->lastPaint = ListPaint{};
    c->lastPaint.valid = true;
    painting_ = c;
    reinterpret_cast<HostDrawFunc>(c->drawHandler)(c->handle, reinterpret_cast<void *>(c->userData), mode);
    painting_ = nullptr;
}

bool Host::fireEvent(ControlModel *c) {
    if (!c->eventHandler) return eventFail("control " + c->key + " has no event handler");
    log("plugin.event", {c->key}, true);
    reinterpret_cast<HostControlEventFunc>(c->eventHandler)(c->handle, reinterpret_cast<void *>(c->userData));
    return true;
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
    return static_cast<size_t>(
        std::count_if(calls_.begin(), calls_.end(), [&](const Call &c) { return !c.callback && c.name == name; }));
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

// ---- driver events --------------------------------------------------------

namespace {
const char *kNotOpen = "no panel is open: driver events work only inside open";
}

// The open panel's control for an event, or null with the failure recorded.
ControlModel *Host::eventTarget(std::string_view key, const std::string &missing) {
    if (!open_) {
        eventFail(kNotOpen);
        return nullptr;
    }
    ControlModel *c = findControl(key);
    if (!c) eventFail(missing);
    return c;
}

bool Host::clickY(int y) {
    ControlModel *list = eventTarget("list", "the panel has no list area");
    if (!list) return false;
    list->mouseY = y;
    list->mouseX = 0;
    return fireEvent(list);
}

bool Host::click(const std::string &name) {
    ControlModel *list = eventTarget("list", "the panel has no list area");
    if (!list) return false;
    if (!list->lastPaint.valid) return eventFail("the list has not been painted, so no row can be clicked");
    for (const PaintedText &t : list->lastPaint.texts) {
        if (t.text != name) continue;
        if (t.y + kRowPitch <= 0 || t.y >= list->bodyHeight) continue;  // scrolled out of view
        return clickY(std::clamp(t.y + kListBarHeight / 2, 0, list->bodyHeight - 1));
    }
    return eventFail("no visible row of the list shows \"" + name + "\"");
}

bool Host::scroll(int y) {
    ControlModel *s = eventTarget("slider", "the panel has no slider");
    if (!s) return false;
    s->intValue = y;
    return fireEvent(s);
}

bool Host::key(uint16_t code) {
    if (!open_) return eventFail(kNotOpen);
    if (!open_->keyHandler) return eventFail("the panel has no key handler");
    log("plugin.key", {num(code)}, true);
    reinterpret_cast<HostPanelKeyFunc>(open_->keyHandler)(reinterpret_cast<HostPanel *>(open_),
                                                          reinterpret_cast<void *>(open_->userData), code);
    return true;
}

bool Host::typeText(const std::string &text) {
    for (char ch : text)
        if (!key(static_cast<uint16_t>(static_cast<unsigned char>(ch)))) return false;
    return true;
}

bool Host::setPrefix(const std::string &text) {
    ControlModel *c = eventTarget("prefix", "the panel has no prefix field");
    if (!c) return false;
    c->text = text;
    return fireEvent(c);
}

bool Host::setIntensity(double percent) {
    ControlModel *c = eventTarget("Intensity", "the panel has no Intensity field");
    if (!c) return false;
    c->floatValue = percent;
    return fireEvent(c);
}

bool Host::setRange(double range) {
    ControlModel *c = eventTarget("Range", "the panel has no Range field");
    if (!c) return false;
    c->floatValue = range;
    return fireEvent(c);
}

bool Host::setColor(int r, int g, int b) {
    ControlModel *c = eventTarget("color", "the panel has no colour control");
    if (!c) return false;
    c->vec[0] = r;
    c->vec[1] = g;
    c->vec[2] = b;
    return fireEvent(c);
}

bool Host::setLightType(int index) {
    ControlModel *c = eventTarget("lighttype", "the panel has no light type choice");
    if (!c) return false;
    c->intValue = index;
    return fireEvent(c);
}

bool Host::setShadow(int index) {
    ControlModel *c = eventTarget("shadow", "the panel has no shadow type choice");
    if (!c) return false;
    c->intValue = index;
    return fireEvent(c);
}

bool Host::dragEvent(int distance, int counter) {
    ControlModel *c = eventTarget("drag", "the panel has no drag button");
    if (!c) return false;
    c->vec[0] = distance;
    c->vec[1] = 0;
    c->vec[2] = counter;
    g_lastDragCounter = counter;
    return fireEvent(c);
}

bool Host::drag(const std::vector<int> &distances) {
    // A fresh counter: two past the last one sent, so it never continues a drag.
    int counter = g_lastDragCounter > INT_MAX - 1000000 || g_lastDragCounter < 0 ? 2 : g_lastDragCounter + 2;
    if (!dragEvent(0, counter)) return false;
    for (int d : distances)
        if (!dragEvent(d, ++counter)) return false;
    return true;
}

bool Host::press(const std::string &controlKey) {
    ControlModel *c = eventTarget(controlKey, "the panel has no control \"" + controlKey + "\"");
    if (!c) return false;
    return fireEvent(c);
}

// ---- queries --------------------------------------------------------------

const ControlModel *Host::control(std::string_view key) const { return findControl(key); }

std::vector<std::string> Host::listedNames() const {
    std::vector<std::string> out;
    const ControlModel *list = findControl("list");
    if (list)
        for (auto &t : list->lastPaint.texts) out.push_back(t.text);
    return out;
}

std::vector<std::string> Host::selectedNames() const {
    std::vector<std::string> out;
    const ControlModel *list = findControl("list");
    if (list)
        for (auto &t : list->lastPaint.texts)
            if (t.onBar) out.push_back(t.text);
    return out;
}

const std::vector<std::string> &Host::propertyControlKeys() {
    static const std::vector<std::string> keys{"color", "Intensity", "drag",  "lighttype",      "shadow",
                                               "Range", "copy",      "paste", "Clear selection"};
    return keys;
}

std::optional<bool> Host::propertyGhosted() const {
    int ghosted = 0, normal = 0;
    for (auto &k : propertyControlKeys()) {
        const ControlModel *c = findControl(k);
        if (!c) return std::nullopt;
        (c->drawState == DR_GHOST ? ghosted : normal)++;
    }
    if (ghosted && normal) return std::nullopt;
    return ghosted > 0;
}

std::string Host::infoText() const {
    const ControlModel *c = findControl("info");
    return c ? c->text : std::string();
}

std::string Host::prefixText() const {
    const ControlModel *c = findControl("prefix");
    return c ? c->text : std::string();
}

Picture Host::listPicture() const {
    const ControlModel *list = findControl("list");
    if (!list || list->paintRaster < 0 || static_cast<size_t>(list->paintRaster) >= rasters_.size()) return {};
    return rasters_[static_cast<size_t>(list->paintRaster)]->picture;
}

const Picture *Host::panelPicture() const {
    const PanelModel *p = open_ ? open_ : lastPanel();
    return p ? &p->picture : nullptr;
}

}  // namespace sim
