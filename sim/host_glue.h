// host_glue.h - inside the simulated Layout: the C functions behind the host
// tables the plug-in calls, and the small helpers they share. Not for users of
// the simulated host; they include host.h.
//
// The functions are split by the table they serve:
//   host.cpp          global lookup, activation, bookkeeping, outcome
//   host_panels.cpp   panel services and control operations
//   host_rasters.cpp  raster services
//   host_scene.cpp    item and light info, messages, the command entry
//   host_driver.cpp   driver events and queries (the test-facing API)
#ifndef VANTOREL_SIM_HOST_GLUE_H
#define VANTOREL_SIM_HOST_GLUE_H

#include <algorithm>
#include <cstdint>
#include <string>

#include "host.h"
#include "panel_facts.h"

namespace sim {

// The host whose activation is running; the C tables reach it through this.
extern Host *g_host;

// Step counter of the last drag event any host sent, process-wide, so that a
// new gesture never continues one that a plug-in instance saw earlier.
extern int g_lastDragCounter;

constexpr Rgb kListBarColour{30, 30, 128};
constexpr int kRowPitch = kListRowPitch;
constexpr int kMaxRasterSide = 8192;
constexpr int kMaxPanelSide = 4096;

// Arguments as the call log shows them.
std::string quote(const char *s);
std::string num(long long v);
std::string real(double v);
std::string ptr(const void *p);

inline uint8_t channel(int32_t v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }
inline Rgb textColour(int32_t code) { return code == kTextColourCode ? kTextColour : Rgb{0, 0, 0}; }
inline bool isType(const ControlModel &c, const char *t) { return c.typeName == t; }

// The C tables. Each function finds the running host and forwards to it.
struct HostGlue {
    static Host &h() { return *g_host; }

    // ---- global lookup ----
    static void *VT_CDECL global(const char *name, int32_t mode);

    // ---- panel services and control operations (host_panels.cpp) ----
    static HostPanel *VT_CDECL panelCreate(const char *title, void *data);
    static void VT_CDECL panelDestroy(HostPanel *panel);
    static int32_t VT_CDECL panelOpen(HostPanel *panel, int32_t flags);
    static void VT_CDECL panelGet(HostPanel *panel, int32_t tag, void *out);
    static void VT_CDECL panelSet(HostPanel *panel, int32_t tag, void *in);
    static HostControl *VT_CDECL addControl(HostPanel *panel, const char *typeName, ControlDesc *desc,
                                            const char *label);
    static void VT_CDECL controlDraw(HostControl *control, int32_t mode);
    static void VT_CDECL controlGet(HostControl *control, int32_t tag, HostValue *v);
    static void VT_CDECL controlSet(HostControl *control, int32_t tag, HostValue *v);
    static std::string describeValue(const HostValue &v);

    // ---- raster services (host_rasters.cpp) ----
    static void VT_CDECL drawRGBBox(HostRaster *raster, int32_t r, int32_t g, int32_t b, int32_t x, int32_t y,
                                    int32_t w, int32_t hgt);
    static void VT_CDECL drawText(HostRaster *raster, const char *text, int32_t colour, int32_t x, int32_t y);
    static HostRaster *VT_CDECL rasterCreate(int32_t w, int32_t hgt, int32_t flags);
    static void VT_CDECL rasterDestroy(HostRaster *raster);
    static void VT_CDECL blitPanel(HostRaster *raster, int32_t x, int32_t y, HostPanel *panel, int32_t px,
                                   int32_t py, int32_t w, int32_t hgt);

    // ---- item and light info, messages and commands (host_scene.cpp) ----
    static const scene::Light *light(Host &host, HostItem *item, const char *op);
    static HostItem *asItem(uint32_t id);
    static HostItem *VT_CDECL itemFirst(int32_t type, HostItem *parent);
    static HostItem *VT_CDECL itemNext(HostItem *item);
    static const char *VT_CDECL itemName(HostItem *item);
    static int32_t VT_CDECL lightType(HostItem *item);
    static void VT_CDECL lightColor(HostItem *item, double time, double rgb[3]);
    static int32_t VT_CDECL lightShadow(HostItem *item);
    static uint32_t VT_CDECL lightFlags(HostItem *item);
    static double VT_CDECL lightRange(HostItem *item);
    static void VT_CDECL messageError(const char *text, const char *second);
    static int32_t VT_CDECL evaluate(void *context, const char *command);
};

}  // namespace sim

#endif
