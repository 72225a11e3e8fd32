// null_host.h - a host that does nothing, for timing the plug-in's own work.
//
// Every table the plug-in looks up is here, and every function in it returns
// at once: a fixed value, a value read from the control record, or nothing.
// The scene is answered from arrays. The only work the host does on the
// plug-in's behalf is what any host must do: an area's draw request calls the
// area's draw handler, as Layout repaints an area control on draw(control, 3).
//
// The scene and the control records are read only while the plug-in scans
// and builds its panel; the timed event handlers touch them through the
// control functions alone.
#ifndef VANTOREL_BENCH_NULL_HOST_H
#define VANTOREL_BENCH_NULL_HOST_H

#include <functional>
#include <string>
#include <vector>

#include "host/layout_generic.h"
#include "host/messages.h"
#include "host/module_descriptor.h"
#include "host/panel_services.h"
#include "host/raster_services.h"
#include "host/scene_info.h"

namespace nullhost {

// A control handle points at this record: the operations first, then what
// the plug-in registered and the fixed answers of get(CTL_VALUE).
struct Control {
    HostControl ops;
    const char *typeName = "";
    std::string label;
    int serial = 0;  // creation order from 0

    // Registered by the plug-in.
    intptr_t userData = 0;
    HostControlEventFunc eventHandler = nullptr;
    HostDrawFunc drawHandler = nullptr;

    // What get answers; the benchmark may change them between events.
    intptr_t intValue = 0;
    double floatValue = 0;
    int32_t vec[3] = {0, 0, 0};
    const char *text = "";
    int32_t mouseY = 0;

    // Fires the control's event handler, as the host does for a user action.
    void event() { eventHandler(&ops, reinterpret_cast<void *>(userData)); }
    // Calls the area's draw handler.
    void paint(int32_t mode) { drawHandler(&ops, reinterpret_cast<void *>(userData), mode); }
};

class Host {
public:
    using OpenFunc = std::function<void(Host &)>;

    explicit Host(int lightCount);
    ~Host();
    Host(const Host &) = delete;
    Host &operator=(const Host &) = delete;

    // Runs one activation; onOpen runs inside the modal open, which then
    // answers Cancel (so nothing is sent to the scene). Returns the result.
    int activate(HostActivateFunc entry, void *serverData, OpenFunc onOpen);

    // The control created with this type and label; the nth of them from 0.
    // Null if there is none.
    Control *find(const char *typeName, const char *label, int nth = 0);

    // The panel's key handler and its user data, as registered.
    void key(uint16_t code) { keyHandler_(panel(), keyData_, code); }
    HostPanel *panel() { return reinterpret_cast<HostPanel *>(&panelToken_); }

    int lightCount() const { return static_cast<int>(names_.size()); }
    int controlsCreated() const { return static_cast<int>(controls_.size()); }

private:
    friend struct Glue;
    std::vector<std::string> names_;
    std::vector<Control *> controls_;
    OpenFunc onOpen_;
    HostPanelKeyFunc keyHandler_ = nullptr;
    void *keyData_ = nullptr;
    int panelToken_ = 0;

    PanelServices panelTable_{};
    RasterServices rasterTable_{};
    ItemInfo itemTable_{};
    LightInfo lightTable_{};
    MessageFuncs messageTable_{};
    LayoutGenericLocal local_{};
};

}  // namespace nullhost

#endif
