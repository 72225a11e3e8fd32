// null_host.cpp - the tables of the host that does nothing.

#include "null_host.h"

#include <cstring>

namespace nullhost {

namespace {
Host *current = nullptr;  // the host whose activation is running

constexpr int32_t kToolkitVersion = 20;
constexpr int32_t kAreaWidth = 200, kAreaHeight = 400;

HostItem *itemOf(int index) { return reinterpret_cast<HostItem *>(static_cast<intptr_t>(index) + 1); }
int indexOf(HostItem *item) { return static_cast<int>(reinterpret_cast<intptr_t>(item) - 1); }
Control *controlOf(HostControl *c) { return reinterpret_cast<Control *>(c); }
}  // namespace

struct Glue {
    // ---- global lookup ----
    static void *VT_CDECL global(const char *name, int32_t) {
        Host &h = *current;
        if (!std::strcmp(name, PANEL_SERVICES_NAME)) return &h.panelTable_;
        if (!std::strcmp(name, RASTER_SERVICES_NAME)) return &h.rasterTable_;
        if (!std::strcmp(name, ITEM_INFO_NAME)) return &h.itemTable_;
        if (!std::strcmp(name, LIGHT_INFO_NAME)) return &h.lightTable_;
        if (!std::strcmp(name, MESSAGES_NAME)) return &h.messageTable_;
        return nullptr;
    }

    // ---- panels ----
    static HostPanel *VT_CDECL panelCreate(const char *, void *) { return current->panel(); }
    static void VT_CDECL panelDestroy(HostPanel *) {}
    static int32_t VT_CDECL panelOpen(HostPanel *, int32_t) {
        if (current->onOpen_) current->onOpen_(*current);
        return 0;
    }
    static void VT_CDECL panelGet(HostPanel *, int32_t tag, void *out) {
        if (tag == PAN_VERSION) *static_cast<int32_t *>(out) = kToolkitVersion;
    }
    static void VT_CDECL panelSet(HostPanel *, int32_t tag, void *in) {
        if (tag == PAN_USERKEYS) current->keyHandler_ = reinterpret_cast<HostPanelKeyFunc>(in);
        else if (tag == PAN_USERDATA) current->keyData_ = in;
    }
    static HostControl *VT_CDECL addControl(HostPanel *, const char *typeName, ControlDesc *,
                                            const char *label) {
        Control *c = new Control;
        c->ops.draw = &controlDraw;
        c->ops.get = &controlGet;
        c->ops.set = &controlSet;
        c->typeName = typeName;  // the plug-in's string literals outlive the panel
        c->label = label ? label : "";
        c->serial = static_cast<int>(current->controls_.size());
        current->controls_.push_back(c);
        return &c->ops;
    }

    // ---- controls ----
    static void VT_CDECL controlDraw(HostControl *control, int32_t mode) {
        Control *c = controlOf(control);
        if (c->drawHandler) c->paint(mode);
    }
    static void VT_CDECL controlGet(HostControl *control, int32_t tag, HostValue *v) {
        const Control *c = controlOf(control);
        switch (tag) {
        case CTL_VALUE:
            switch (v->type) {
            case HV_STRING: {
                const size_t n = std::strlen(c->text);
                const size_t cap = v->str.bufLen > 0 ? static_cast<size_t>(v->str.bufLen) - 1 : 0;
                const size_t m = n < cap ? n : cap;
                std::memcpy(v->str.buf, c->text, m);
                v->str.buf[m] = '\0';
                return;
            }
            case HV_FLOAT: v->flt.value = c->floatValue; return;
            case HV_IVECTOR:
                v->ivec.value[0] = c->vec[0];
                v->ivec.value[1] = c->vec[1];
                v->ivec.value[2] = c->vec[2];
                return;
            default: v->intv.value = c->intValue; return;
            }
        case CTL_MOUSEY: v->intv.value = c->mouseY; return;
        case CTL_PANEL: v->intv.value = reinterpret_cast<intptr_t>(&current->panelToken_); return;
        case CTL_HOTW: v->intv.value = kAreaWidth; return;
        case CTL_HOTH: v->intv.value = kAreaHeight; return;
        case CTL_USERDATA: v->intv.value = c->userData; return;
        default: v->intv.value = 0; return;  // positions, label width, mouse x
        }
    }
    static void VT_CDECL controlSet(HostControl *control, int32_t tag, HostValue *v) {
        Control *c = controlOf(control);
        switch (tag) {
        case CTL_USERDATA: c->userData = v->intv.value; return;
        case CTL_USEREVENT: c->eventHandler = reinterpret_cast<HostControlEventFunc>(v->intv.value); return;
        case CTL_USERDRAW: c->drawHandler = reinterpret_cast<HostDrawFunc>(v->intv.value); return;
        default: return;  // values, positions: shown by nobody
        }
    }

    // ---- rasters ----
    static void VT_CDECL drawRGBBox(HostRaster *, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                    int32_t) {}
    static void VT_CDECL drawText(HostRaster *, const char *, int32_t, int32_t, int32_t) {}
    static HostRaster *VT_CDECL rasterCreate(int32_t, int32_t, int32_t) {
        return reinterpret_cast<HostRaster *>(&current->panelToken_);
    }
    static void VT_CDECL rasterDestroy(HostRaster *) {}
    static void VT_CDECL blitPanel(HostRaster *, int32_t, int32_t, HostPanel *, int32_t, int32_t, int32_t,
                                   int32_t) {}

    // ---- scene ----
    static HostItem *VT_CDECL itemFirst(int32_t type, HostItem *) {
        return type == ITEM_TYPE_LIGHT && current->lightCount() > 0 ? itemOf(0) : nullptr;
    }
    static HostItem *VT_CDECL itemNext(HostItem *item) {
        const int next = indexOf(item) + 1;
        return next < current->lightCount() ? itemOf(next) : nullptr;
    }
    static const char *VT_CDECL itemName(HostItem *item) {
        return current->names_[static_cast<size_t>(indexOf(item))].c_str();
    }
    static int32_t VT_CDECL lightType(HostItem *) { return 1; }
    static void VT_CDECL lightColor(HostItem *, double, double rgb[3]) { rgb[0] = rgb[1] = rgb[2] = 1.0; }
    static int32_t VT_CDECL lightShadow(HostItem *) { return 0; }
    static uint32_t VT_CDECL lightFlags(HostItem *) { return 0; }
    static double VT_CDECL lightRange(HostItem *) { return 1.0; }

    // ---- messages, commands ----
    static void VT_CDECL error(const char *, const char *) {}
    static int32_t VT_CDECL evaluate(void *, const char *) { return 1; }
};

Host::Host(int lightCount) {
    for (int i = 0; i < lightCount; ++i) names_.push_back("Light " + std::to_string(i + 1));
    panelTable_.create = &Glue::panelCreate;
    panelTable_.destroy = &Glue::panelDestroy;
    panelTable_.open = &Glue::panelOpen;
    panelTable_.get = &Glue::panelGet;
    panelTable_.set = &Glue::panelSet;
    panelTable_.addControl = &Glue::addControl;
    rasterTable_.drawRGBBox = &Glue::drawRGBBox;
    rasterTable_.drawText = &Glue::drawText;
    rasterTable_.create = &Glue::rasterCreate;
    rasterTable_.destroy = &Glue::rasterDestroy;
    rasterTable_.blitPanel = &Glue::blitPanel;
    itemTable_.first = &Glue::itemFirst;
    itemTable_.next = &Glue::itemNext;
    itemTable_.name = &Glue::itemName;
    lightTable_.type = &Glue::lightType;
    lightTable_.color = &Glue::lightColor;
    lightTable_.shadowType = &Glue::lightShadow;
    lightTable_.flags = &Glue::lightFlags;
    lightTable_.range = &Glue::lightRange;
    messageTable_.error = &Glue::error;
    local_.context = this;
    local_.evaluate = &Glue::evaluate;
}

Host::~Host() {
    for (Control *c : controls_) delete c;
}

int Host::activate(HostActivateFunc entry, void *serverData, OpenFunc onOpen) {
    for (Control *c : controls_) delete c;
    controls_.clear();
    keyHandler_ = nullptr;
    keyData_ = nullptr;
    onOpen_ = std::move(onOpen);
    Host *outer = current;
    current = this;
    const int rc = entry(4, &Glue::global, &local_, serverData);
    current = outer;
    return rc;
}

Control *Host::find(const char *typeName, const char *label, int nth) {
    for (Control *c : controls_)
        if (!std::strcmp(c->typeName, typeName) && c->label == label && nth-- == 0) return c;
    return nullptr;
}

}  // namespace nullhost
