// host.h - the simulated Layout: every host table a Layout-generic plug-in
// uses, with real behaviour, plus the test-facing API that drives a run.
//
// Quick start
// -----------
//   sim::PluginLibrary lib = sim::PluginLibrary::load(path);   // fresh instance
//   sim::Host host(scene::makeDemoScene());                       // conditions optional
//   int rc = host.activate(lib, [](sim::Host &h) {              // runs inside open
//       sim::Delivery d = deliver(h, sim::Action::clickName("Key"));  // the row of "Key"
//       if (d) d = deliver(h, sim::Action::intensity(50));            // field value, then its event
//       if (!d) std::cerr << d.why << '\n';  // a Delivery must be read: what was missing
//       EXPECT_EQ(h.selectedNames(), std::vector<std::string>{"Key"});
//       return sim::Close::Ok;              // or Close::Cancel
//   });
//   host.commands();    // every text evaluate received, in order
//   host.scene();       // the scene after the commands were applied
//   host.calls();       // ordered log of host calls and callbacks
//   host.errors();      // error boxes; host.infos(): texts set on the info field
//   host.control(sim::Role::Intensity)->floatValue;   // also after the panel closed
//
// Several activations of one loaded library share its static state: call
// host.activate(lib, ...) again, or use a second Host with the same library.
// PluginLibrary::load(path) copies the file first, so each load is a new
// instance with all-zero static state.
//
// Controls have a key, unique within their panel, by which the call log names
// them: their label, or for an unlabelled control its role's key (roles.h) or
// a name for its type ("list", "slider", "drag", "color", "button", "choice").
// The host recognises each control's role when the plug-in adds it (the table
// in roles.cpp) and finds controls by role: control(Role).
//
// Driver events (valid only while a panel is open inside a driver) are sent
// with deliver() (action.h), which plays every kind of Action through the
// primitives below. Each returns a Delivery; one that cannot be delivered
// says why and records a fault.
//   setAndFire(role, v)  the control's value (or the list area's mouse
//                        position), then its event handler: every control
//                        event goes this way
//   sendKey(code)        the panel's key handler
//   clickName(name, n)   click the n-th row (from 1) of the scene's lights
//                        named name (UTF-8, matched with the scene's names as
//                        nameReading() reads them): a list click at the middle
//                        of that row, after a slider event that scrolls it
//                        into view if it is out of view. Fails for a name the
//                        scene lacks, fewer rows of it than n, a row the list
//                        does not have (past the lights it lists), or a row
//                        painted with another text
//   closing(how)         the answer to OK or Cancel, which are no control's
//                        event: the driver is to return `how`
// Texts that a person types (prefix, type) are UTF-8; deliver() hands the
// plug-in the prefix in the bytes of the scene's names (nameReading():
// cp1252 when they read as cp1252), so that it compares with them as the
// user sees them, and a character the scene's code page lacks is refused.
// Queries: listedNames(), selectedNames() (rows on a selection bar in the
// list's last paint; texts as painted), listRowAt(y), nameReading(),
// control(role), control(key), propertyGhosted(), infoText(), prefixText(),
// listPicture(), panelPicture().
//
// Host behaviour worth knowing
//  - open() paints every area control that has a draw handler (mode 1) before
//    the driver runs; draw(control, 3) on an area control calls its draw
//    handler. Draw modes 1 and 2 set the control's draw state.
//  - Events are delivered to ghosted controls as well.
//  - Label width: text width of the label plus 8 pixels; 0 for buttons and
//    unlabelled controls. Font cells are 6 pixels wide.
//  - Text colour code 4140 is white; other codes draw black.
//  - The panel picture is sized from the controls when the panel opens and grows
//    to take blits that reach beyond it.
//  - Anything the plug-in does that a host would not accept (an unknown handle,
//    a control call after its panel was destroyed, an unknown tag) is recorded
//    in faults() and otherwise ignored.
#ifndef VANTOREL_SIM_HOST_H
#define VANTOREL_SIM_HOST_H

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "action.h"
#include "commands.h"
#include "host/layout_generic.h"
#include "host/messages.h"
#include "host/panel_services.h"
#include "host/raster_services.h"
#include "host/scene_info.h"
#include "loader.h"
#include "picture.h"
#include "roles.h"
#include "scene/name_text.h"
#include "scene/scene.h"

namespace sim {

constexpr int32_t kTextColourCode = 4140;       // the list's name colour
constexpr Rgb kTextColour{255, 255, 255};       // how the host shows it
constexpr Rgb kPanelBackground{172, 172, 172};  // panel picture before any blit

struct HostConditions {
    int32_t interfaceVersion = 4;          // passed to activation
    int32_t toolkitVersion = 20;           // panel get, tag 18
    std::set<std::string> missingGlobals;  // global lookups that answer null
    bool failPanelCreate = false;          // panel create answers null
    bool failRasterCreate = false;         // raster create answers null
    int failControl = 0;                   // the Nth addControl (from 1) answers null; 0: none
};

// One entry of the call log. Host calls made by the plug-in have callback
// false; calls the host makes into the plug-in have callback true.
struct Call {
    std::string name;               // e.g. "panel.addControl", "control.set", "raster.drawText"
    std::vector<std::string> args;  // arguments as text; controls by key
    bool callback = false;
    std::string text() const;  // "name(arg, arg)"
};

struct CommandRecord {
    std::string text;
    bool accepted = false;
    std::string reason;  // why it was rejected
};

struct ErrorBox {
    std::string text;
    std::optional<std::string> secondLine;
};

// What a paint of an area control drew into a raster.
struct PaintedText {
    std::string text;
    int x = 0, y = 0;
    bool onBar = false;  // a selection bar was drawn at this row's top
};
struct ListPaint {
    bool valid = false;
    std::vector<PaintedText> texts;  // in drawing order
    std::vector<int> barTops;        // y of each selection bar drawn
};

// A row of the list that shows the scene's light of that row (see click).
struct ListRow {
    size_t light = 0;    // position among the scene's lights, which is the row, from 0
    std::string name;    // the light's name as read (UTF-8)
    int occurrence = 1;  // 1 for the first row of that name, 2 for the second, ...
};

// What a driver event sets on its control before the control's event
// handler runs. Each form sets one part of the control and nothing else.
struct ControlValue {
    enum class Form : uint8_t {
        None,     // a button: nothing is set
        Integer,  // intValue (a slider, a choice)
        Number,   // floatValue (a float field)
        Vector,   // vec (a colour control, a drag button)
        Text,     // text (an edit field)
        Pointer,  // the mouse position (an area control)
    };
    Form form = Form::None;
    int32_t integer = 0;
    double number = 0;
    int32_t vec[3] = {0, 0, 0};  // Pointer: x, y
    std::string text;

    static ControlValue none() { return {}; }
    static ControlValue ofInteger(int32_t v) {
        ControlValue c;
        c.form = Form::Integer;
        c.integer = v;
        return c;
    }
    static ControlValue ofNumber(double v) {
        ControlValue c;
        c.form = Form::Number;
        c.number = v;
        return c;
    }
    static ControlValue ofVector(int32_t a, int32_t b, int32_t d) {
        ControlValue c;
        c.form = Form::Vector;
        c.vec[0] = a;
        c.vec[1] = b;
        c.vec[2] = d;
        return c;
    }
    static ControlValue ofText(std::string t) {
        ControlValue c;
        c.form = Form::Text;
        c.text = std::move(t);
        return c;
    }
    static ControlValue ofPointer(int32_t x, int32_t y) {
        ControlValue c = ofVector(x, y, 0);
        c.form = Form::Pointer;
        return c;
    }
};

struct PanelModel;

struct ControlModel {
    PanelModel *panel = nullptr;
    HostControl *handle = nullptr;  // what the plug-in holds
    int number = 0;                 // creation order within the panel, from 1
    std::string typeName;           // "FloatControl", ...
    std::string label;
    std::string key;                 // label, or a role's or type's name for unlabelled controls
    std::optional<Role> role;        // what the control is for, if the host recognised it
    ControlDesc desc{};              // copy of the descriptor handed to addControl
    std::vector<std::string> items;  // choice items, copied at creation
    int x = 0, y = 0;                // left edge (label included) and top
    int labelWidth = 0;
    int bodyWidth = 0, bodyHeight = 0;
    int hotX() const { return x + labelWidth; }
    int hotY() const { return y; }

    // Value, in the form of the control's type.
    int32_t type = HV_INTEGER;  // HV_ form of the value
    intptr_t intValue = 0;
    double floatValue = 0;
    int32_t vec[3] = {0, 0, 0};
    std::string text;

    int drawState = DR_RENDER;  // last DR_RENDER / DR_GHOST the plug-in asked for
    int drawCount = 0;          // every draw call, refreshes included
    intptr_t userData = 0, drawHandler = 0, eventHandler = 0;
    int mouseX = 0, mouseY = 0;
    ListPaint lastPaint;   // area controls: the last paint by the draw handler
    int paintRaster = -1;  // raster serial the last paint drew into, or -1
};

struct PanelModel {
    int serial = 0;
    std::string title;
    int height = 0, width = 0;  // height as set by the plug-in (0: host sizing)
    intptr_t userData = 0, keyHandler = 0;
    std::vector<std::unique_ptr<ControlModel>> controls;
    Picture picture;  // the panel as shown; blits land here
    bool opened = false, destroyed = false;
    std::optional<Close> outcome;
};

class Host {
public:
    using Driver = std::function<Close(Host &)>;

    explicit Host(scene::Scene scene, HostConditions conditions = {});
    ~Host();
    Host(const Host &) = delete;
    Host &operator=(const Host &) = delete;

    // Runs the plug-in's activation once. The driver runs inside each modal
    // open; without one the panel is cancelled at once. Returns the result.
    int activate(const PluginLibrary &lib, Driver driver = {});
    // Same with a raw entry and interface version (for loaders of one's own).
    int activate(HostActivateFunc entry, void *serverData, Driver driver = {});

    HostConditions &conditions() { return conditions_; }
    scene::Scene &scene() { return scene_; }
    const scene::Scene &scene() const { return scene_; }

    // ---- outcome ----
    std::vector<std::string> commands() const;  // evaluate's texts, in order
    const std::vector<CommandRecord> &commandRecords() const { return commands_; }
    const std::vector<ErrorBox> &errorBoxes() const { return errors_; }
    std::vector<std::string> errors() const;                          // first lines of the error boxes
    const std::vector<std::string> &infos() const { return infos_; }  // every info text set
    const std::vector<std::string> &faults() const { return faults_; }
    const std::vector<Call> &calls() const { return calls_; }
    std::vector<std::string> callNames() const;
    size_t countCalls(std::string_view name) const;  // host calls (not callbacks) of that name
    void clearCalls() { calls_.clear(); }
    bool logging() const { return logging_; }
    void setLogging(bool on) { logging_ = on; }  // off: no call log (for long runs)
    // Off: rasters and panel pictures keep no pixels, and the list's paints
    // (its texts and bars) are not kept, so click-by-name, listedNames() and
    // the pictures have nothing to show. For long runs that look at neither.
    bool drawing() const { return drawing_; }
    void setDrawing(bool on) { drawing_ = on; }
    int livePanels() const;
    int liveRasters() const;
    int panelsOpened() const { return panelsOpened_; }
    std::optional<Close> lastOutcome() const;
    const PanelModel *lastPanel() const;  // the newest panel, open or destroyed
    const PanelModel *openPanel() const { return open_; }

    // Called as things happen: "error", "info", "command", "fault".
    std::function<void(const std::string &kind, const std::string &text)> observer;
    // Where the front end shows the scene's names ("the scene panel shows
    // them"), added to the refusal of a click by a name the scene lacks.
    std::string namesShownBy;

    // ---- driver events (see deliver() in action.h) ----
    Delivery setAndFire(Role role, const ControlValue &value);
    Delivery sendKey(uint16_t code);
    Delivery clickName(const std::string &name, int occurrence);
    Delivery closing(Close how);
    // An event the driver cannot make (a text the scene cannot hold): refused, and recorded.
    Delivery refuse(const std::string &why) { return eventFail(why); }
    // The step counter that starts a new drag gesture: never one more than the
    // last counter any host sent in this process.
    static int freshDragCounter();

    // ---- queries (open panel, else the last panel) ----
    const ControlModel *control(Role role) const;
    const ControlModel *control(std::string_view key) const;  // by its key in the call log
    std::vector<std::string> listedNames() const;
    std::vector<std::string> selectedNames() const;
    // The row under list-area y when it shows the scene's light of that row;
    // nothing above or below the rows, or for a row painted with another text.
    std::optional<ListRow> listRowAt(int y) const;
    // How this scene's names read as UTF-8 (see name_text.h).
    scene::NameReading nameReading() const;
    // True if all nine property controls are ghosted, false if none is; empty if
    // they disagree or are missing.
    std::optional<bool> propertyGhosted() const;
    std::string infoText() const;
    std::string prefixText() const;
    Picture listPicture() const;  // the raster the list was last painted into
    const Picture *panelPicture() const;

private:
    friend struct HostGlue;
    struct RasterModel {
        int serial = 0;
        Picture picture;
        bool live = true;
    };

    void log(std::string name, std::vector<std::string> args, bool callback = false);
    void fault(const std::string &text);
    Delivery eventFail(const std::string &text);
    ControlModel *eventTarget(Role role, Delivery &why);
    ControlModel *findControl(Role role) const;
    long long listOffset() const;  // the list's scroll offset: the slider's value, held in its range
    const PaintedText *paintedRow(const ControlModel &list, size_t light) const;
    ControlModel *findControl(std::string_view key) const;
    ControlModel *findIn(const PanelModel *p, std::string_view key) const;
    ControlModel *liveControl(HostControl *c, const char *op);
    PanelModel *livePanel(HostPanel *p, const char *op);
    RasterModel *liveRaster(HostRaster *r, const char *op);
    std::string controlName(const ControlModel *c) const;
    Delivery fireEvent(ControlModel *c);
    void callDraw(ControlModel *c, int32_t mode);
    void layoutPanelPicture(PanelModel *p);

    scene::Scene scene_;
    HostConditions conditions_;
    CommandInterpreter interpreter_;
    Driver driver_;

    // Tables handed to the plug-in. The panel table is per host: the plug-in writes into it.
    PanelServices panelTable_{};
    RasterServices rasterTable_{};
    ItemInfo itemTable_{};
    LightInfo lightTable_{};
    MessageFuncs messageTable_{};
    LayoutGenericLocal local_{};

    std::vector<std::unique_ptr<PanelModel>> panels_;
    std::vector<std::unique_ptr<RasterModel>> rasters_;
    std::map<const void *, ControlModel *> controlByHandle_;
    std::vector<std::unique_ptr<HostControl>> controlHandles_;
    int panelsOpened_ = 0;
    PanelModel *open_ = nullptr;
    ControlModel *painting_ = nullptr;  // area control whose draw handler is running
    RasterModel *paintTarget_ = nullptr;

    std::vector<CommandRecord> commands_;
    std::vector<ErrorBox> errors_;
    std::vector<std::string> infos_;
    std::vector<std::string> faults_;
    std::vector<Call> calls_;
    bool logging_ = true;
    bool drawing_ = true;
};

}  // namespace sim

#endif
