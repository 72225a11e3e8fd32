// host_panels.cpp - the simulated Layout's panel services and control
// operations: panels, controls with values and draw states, the modal open.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>

#include "font.h"
#include "host_glue.h"

namespace sim {

// ---- control types ----------------------------------------------------------

namespace {

int areaSide(const ControlModel &c, int32_t side, int limit) {
    return c.desc.type == CD_AREA && side > 0 ? std::min(side, limit) : 20;
}
int stringWidth(const ControlModel &c) {
    const int chars = c.desc.type == HV_STRING && c.desc.string.width > 0 ? c.desc.string.width : 20;
    return std::min(chars, 200) * font::kAdvance + 8;
}
int choiceWidth(const ControlModel &c) {
    int w = 0;
    for (auto &it : c.items) w += font::textWidth(it) + 12;
    return std::max(w, 20);
}
int buttonWidth(const ControlModel &c) {
    if (c.desc.type == CD_AREA && c.desc.area.width > 0) return std::min(c.desc.area.width, 2000);
    return font::textWidth(c.label) + 16;
}
int sliderHeight(const ControlModel &c) {
    return c.desc.type == CD_RANGE && c.desc.range.width > 0 ? std::min(c.desc.range.width, 4000) : 100;
}

// Every control type the host knows: its value's form, the key of one added
// without a label, and its body's size (height 20 unless given).
struct ControlShape {
    const char *typeName;
    int32_t form;
    const char *unlabelledKey;  // null: the type name
    int (*width)(const ControlModel &);
    int (*height)(const ControlModel &);
};

const ControlShape kShapes[] = {
    {"FloatControl", HV_FLOAT, nullptr, [](const ControlModel &) { return 64; }, nullptr},
    {"EditControl", HV_STRING, nullptr, stringWidth, nullptr},
    {"InfoControl", HV_STRING, nullptr, stringWidth, nullptr},
    {"MiniRGBControl", HV_IVECTOR, "color", [](const ControlModel &) { return 3 * 40; }, nullptr},
    {"DragButtonControl", HV_IVECTOR, "drag", [](const ControlModel &) { return 16; }, nullptr},
    {"ChoiceControl", HV_INTEGER, "choice", choiceWidth, nullptr},
    {"ButtonControl", HV_INTEGER, "button", buttonWidth, nullptr},
    {"AreaControl", HV_INTEGER, "list",
     [](const ControlModel &c) { return areaSide(c, c.desc.area.width, 4000); },
     [](const ControlModel &c) { return areaSide(c, c.desc.area.height, 4000); }},
    {"VSlideControl", HV_INTEGER, "slider", [](const ControlModel &) { return 16; }, sliderHeight},
};

const ControlShape *shapeOf(const char *typeName) {
    for (const ControlShape &s : kShapes)
        if (std::strcmp(s.typeName, typeName) == 0) return &s;
    return nullptr;
}

// The role of a new control: the first control of the panel that fits a
// role's rule plays it.
std::optional<Role> roleOnPanel(const PanelModel &p, const ControlModel &c) {
    const std::optional<Role> role =
        recogniseRole(c.typeName, c.label, c.items.empty() ? nullptr : c.items[0].c_str());
    for (auto &other : p.controls)
        if (role && other->role == role) return std::nullopt;
    return role;
}

// Size, value form, label width and key of a new control.
void shapeControl(ControlModel &c, const ControlShape &shape) {
    const bool labelled = !c.label.empty() && c.typeName != "ButtonControl";
    c.labelWidth = labelled ? font::textWidth(c.label) + 8 : 0;
    c.type = shape.form;
    c.bodyWidth = shape.width(c);
    c.bodyHeight = shape.height ? shape.height(c) : 20;
    c.key = !c.label.empty()      ? c.label
            : c.role              ? roleRule(*c.role).key
            : shape.unlabelledKey ? shape.unlabelledKey
                                  : c.typeName;
}

}  // namespace

HostPanel *VT_CDECL HostGlue::panelCreate(const char *title, void *data) {
    Host &host = h();
    if (host.logging()) host.log("panel.create", {quote(title), ptr(data)});
    if (host.conditions_.failPanelCreate) return nullptr;
    auto p = std::make_unique<PanelModel>();
    p->serial = static_cast<int>(host.panels_.size()) + 1;
    p->title = title ? title : "";
    host.panels_.push_back(std::move(p));
    return reinterpret_cast<HostPanel *>(host.panels_.back().get());
}

void VT_CDECL HostGlue::panelDestroy(HostPanel *panel) {
    Host &host = h();
    if (host.logging()) host.log("panel.destroy", {"panel"});
    PanelModel *p = host.livePanel(panel, "panel.destroy");
    if (!p) return;
    if (host.open_ == p) host.fault("panel.destroy called while the panel is open");
    p->destroyed = true;
    for (auto &c : p->controls) host.controlByHandle_.erase(c->handle);
}

int32_t VT_CDECL HostGlue::panelOpen(HostPanel *panel, int32_t flags) {
    Host &host = h();
    if (host.logging()) host.log("panel.open", {"panel", num(flags)});
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

void VT_CDECL HostGlue::panelGet(HostPanel *panel, int32_t tag, void *out) {
    Host &host = h();
    if (host.logging()) host.log("panel.get", {"panel", num(tag)});
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

void VT_CDECL HostGlue::panelSet(HostPanel *panel, int32_t tag, void *in) {
    Host &host = h();
    PanelModel *p = host.livePanel(panel, "panel.set");
    switch (tag) {
    case PAN_HEIGHT: {
        int32_t v = 0;
        if (in) std::memcpy(&v, in, sizeof v);
        if (host.logging()) host.log("panel.set", {"panel", num(tag), num(v)});
        if (!p) return;
        if (!in) return host.fault("panel.set height with a null value");
        p->height = v;
        return;
    }
    case PAN_USERDATA:
        if (host.logging()) host.log("panel.set", {"panel", num(tag), ptr(in)});
        if (p) p->userData = reinterpret_cast<intptr_t>(in);
        return;
    case PAN_USERKEYS:
        if (host.logging()) host.log("panel.set", {"panel", num(tag), ptr(in)});
        if (p) p->keyHandler = reinterpret_cast<intptr_t>(in);
        return;
    default:
        if (host.logging()) host.log("panel.set", {"panel", num(tag), ptr(in)});
        host.fault("panel.set with unknown tag " + num(tag));
    }
}

HostControl *VT_CDECL HostGlue::addControl(HostPanel *panel, const char *typeName, ControlDesc *desc,
                                           const char *label) {
    Host &host = h();
    if (host.logging())
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
    const ControlShape *shape = shapeOf(typeName);
    if (!shape) {
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
    c->role = roleOnPanel(*p, *c);
    shapeControl(*c, *shape);
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

void VT_CDECL HostGlue::controlDraw(HostControl *control, int32_t mode) {
    Host &host = h();
    ControlModel *c = host.liveControl(control, "control.draw");
    if (host.logging()) host.log("control.draw", {host.controlName(c), num(mode)});
    if (!c) return;
    ++c->drawCount;
    if (mode == DR_RENDER || mode == DR_GHOST) c->drawState = mode;
    else if (mode != DR_REFRESH) host.fault("control.draw with unknown mode " + num(mode));
    if (c->drawHandler && isType(*c, "AreaControl")) host.callDraw(c, mode);
}

void VT_CDECL HostGlue::controlGet(HostControl *control, int32_t tag, HostValue *v) {
    Host &host = h();
    ControlModel *c = host.liveControl(control, "control.get");
    if (host.logging()) host.log("control.get", {host.controlName(c), num(tag)});
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
        v->intv.value = c->type == HV_FLOAT
                            ? static_cast<intptr_t>(
                                  std::isnan(c->floatValue) ? 0.0 : std::clamp(c->floatValue, -1e15, 1e15))
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

void VT_CDECL HostGlue::controlSet(HostControl *control, int32_t tag, HostValue *v) {
    Host &host = h();
    ControlModel *c = host.liveControl(control, "control.set");
    if (host.logging()) {
        std::vector<std::string> args{host.controlName(c), num(tag)};
        if (v) args.push_back(describeValue(*v));
        host.log("control.set", std::move(args));
    }
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
        c->intValue =
            std::isnan(v->flt.value) ? 0 : static_cast<intptr_t>(std::clamp(v->flt.value, -1e15, 1e15));
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

std::string HostGlue::describeValue(const HostValue &v) {
    switch (v.type) {
    case HV_STRING: {
        if (!v.str.buf || v.str.bufLen < 0) return "text null";
        return "text \"" + std::string(v.str.buf, strnlen(v.str.buf, static_cast<size_t>(v.str.bufLen))) +
               "\"";
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

// ---- panel and control bookkeeping ---------------------------------------

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

ControlModel *Host::findControl(Role role) const {
    const PanelModel *p = open_ ? open_ : lastPanel();
    if (!p) return nullptr;
    for (auto &c : p->controls)
        if (c->role == role) return c.get();
    return nullptr;
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
    if (drawing_) p->picture = Picture(w, hgt, kPanelBackground);
}

void Host::callDraw(ControlModel *c, int32_t mode) {
    if (painting_) return fault("area draw requested from inside a draw handler of " + painting_->key);
    if (logging()) log("plugin.draw", {c->key, num(mode)}, true);
    c->lastPaint = ListPaint{};
    c->lastPaint.valid = true;
    painting_ = c;
    reinterpret_cast<HostDrawFunc>(c->drawHandler)(c->handle, reinterpret_cast<void *>(c->userData), mode);
    painting_ = nullptr;
}

Delivery Host::fireEvent(ControlModel *c) {
    if (!c->eventHandler) return eventFail("control " + c->key + " has no event handler");
    if (logging()) log("plugin.event", {c->key}, true);
    reinterpret_cast<HostControlEventFunc>(c->eventHandler)(c->handle, reinterpret_cast<void *>(c->userData));
    return Delivery::done();
}

}  // namespace sim
