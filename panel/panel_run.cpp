// panel_run.cpp - building the editor panel, running it modally, tearing it down.

#include "../apply/apply_edits.h"
#include "panel.h"

static const char panelTitle[] = "Vantorel for 6.5 ver.2.0   by Ulvarn";
static const char openFailedText[] = "Coudln't open the panel !!";
static const char oldToolkitText[] = "Please use Version 18";

enum {
    MIN_TOOLKIT_VERSION = 18,
    PANEL_HEIGHT = 480,
    INFO_WIDTH = 40,     // characters
    PREFIX_WIDTH = 30,   // characters
    SLIDER_LENGTH = 400  // pixels
};

// Item lists of the two choices; they outlive every panel.
static const char *lightTypeItems[] = {"Distant", "Point", "Spot", "Linear", "Area", nullptr};
static const char *shadowTypeItems[] = {"Off", "Raytrace", "ShadowMap", nullptr};

void placeControl(HostControl *control, int32_t x, int32_t y)
{
    control->get(control, CTL_LABELWIDTH, &intValue);
    const int32_t labelWidth = static_cast<int32_t>(intValue.intv.value);
    intValue.intv.value = x - labelWidth;
    control->set(control, CTL_X, &intValue);
    intValue.intv.value = y;
    control->set(control, CTL_Y, &intValue);
}

static void setPointer(HostControl *control, int32_t tag, intptr_t pointer)
{
    intValue.intv.value = pointer;
    control->set(control, tag, &intValue);
}

// User data, then the event handler: the order the host sees for every control.
static void bindEvent(HostControl *control, EditorState *state, HostControlEventFunc handler)
{
    setPointer(control, CTL_USERDATA, reinterpret_cast<intptr_t>(state));
    setPointer(control, CTL_USEREVENT, reinterpret_cast<intptr_t>(handler));
}

static void describePlain(int32_t type) { controlDesc.type = type; }

static void describeArea(int32_t width, int32_t height)
{
    controlDesc.area.type = CD_AREA;
    controlDesc.area.width = width;
    controlDesc.area.height = height;
}

static void describeChoice(const char **items)
{
    controlDesc.choice.type = CD_CHOICE;
    controlDesc.choice.items = items;
    controlDesc.choice.vertical = 0;
}

static void describeString(int32_t width)
{
    controlDesc.string.type = HV_STRING;
    controlDesc.string.width = width;
}

static void describeRange(int32_t width, int32_t min, int32_t max)
{
    controlDesc.range.type = CD_RANGE;
    controlDesc.range.width = width;
    controlDesc.range.min = min;
    controlDesc.range.max = max;
}

// The controls, in creation order, with the descriptor each needs. Returns
// false as soon as the host fails to create one; later ones are not created.
static bool createControls(PanelServices *panels, HostPanel *panel, EditorState *state,
                           HostControl **listArea, HostControl **listSlider)
{
    HandleTable *h = &state->handleTable;

    describePlain(HV_FLOAT);
    if (!(h->intensityField = panels->addControl(panel, "FloatControl", &controlDesc, "Intensity")))
        return false;
    describeArea(0, -1);
    if (!(h->intensityDrag = panels->addControl(panel, "DragButtonControl", &controlDesc, ""))) return false;
    describeChoice(lightTypeItems);
    if (!(h->typeChoice = panels->addControl(panel, "ChoiceControl", &controlDesc, ""))) return false;
    describeChoice(shadowTypeItems);
    if (!(h->shadowChoice = panels->addControl(panel, "ChoiceControl", &controlDesc, ""))) return false;
    describePlain(HV_FLOAT);
    if (!(h->rangeField = panels->addControl(panel, "FloatControl", &controlDesc, "Range"))) return false;
    describePlain(HV_INTEGER);
    if (!(h->copyButton = panels->addControl(panel, "ButtonControl", &controlDesc, "copy"))) return false;
    describePlain(HV_INTEGER);
    if (!(h->pasteButton = panels->addControl(panel, "ButtonControl", &controlDesc, "paste"))) return false;
    describeString(INFO_WIDTH);
    if (!(h->infoField = panels->addControl(panel, "InfoControl", &controlDesc, "info"))) return false;
    describeArea(LIST_WIDTH, LIST_HEIGHT);
    if (!(*listArea = panels->addControl(panel, "AreaControl", &controlDesc, ""))) return false;
    describeArea(LIST_WIDTH, 0);
    if (!(h->clearButton = panels->addControl(panel, "ButtonControl", &controlDesc, "Clear selection")))
        return false;
    describeRange(SLIDER_LENGTH, 0, state->scrollMax);
    if (!(*listSlider = panels->addControl(panel, "VSlideControl", &controlDesc, ""))) return false;
    describeString(PREFIX_WIDTH);
    if (!(h->prefixField = panels->addControl(panel, "EditControl", &controlDesc, "prefix"))) return false;
    describePlain(HV_IVECTOR);
    if (!(h->colorControl = panels->addControl(panel, "MiniRGBControl", &controlDesc, ""))) return false;
    return true;
}

static void placeControls(const HandleTable *h, HostControl *listArea, HostControl *listSlider)
{
    placeControl(listArea, 8, 30);
    placeControl(listSlider, 220, 30);
    placeControl(h->prefixField, 38, 4);
    placeControl(h->clearButton, 8, 438);
    placeControl(h->intensityField, 328, 8);
    placeControl(h->intensityDrag, 428, 8);
    placeControl(h->typeChoice, 250, 38);
    placeControl(h->colorControl, 261, 68);
    placeControl(h->rangeField, 311, 98);
    placeControl(h->shadowChoice, 250, 128);
    placeControl(h->copyButton, 250, 158);
    placeControl(h->pasteButton, 374, 158);
    placeControl(h->infoField, 281, 188);
}

static void registerHandlers(PanelServices *panels, HostPanel *panel, EditorState *state, HostRaster *raster,
                             HostControl *listArea, HostControl *listSlider)
{
    HandleTable *h = &state->handleTable;
    setPointer(listArea, CTL_USERDATA, reinterpret_cast<intptr_t>(state));
    setPointer(listArea, CTL_USERDRAW, reinterpret_cast<intptr_t>(&drawLightList));
    panels->set(panel, PAN_USERKEYS, reinterpret_cast<void *>(&onPanelKey));
    panels->set(panel, PAN_USERDATA, state);
    h->listRaster = raster;
    h->listArea = listArea;
    bindEvent(listSlider, state, onListScroll);
    bindEvent(listArea, state, onListClick);
    bindEvent(h->clearButton, state, onClearSelection);
    bindEvent(h->prefixField, state, onPrefixEdit);
    bindEvent(h->intensityField, state, onIntensityChange);
    bindEvent(h->intensityDrag, state, onIntensityDrag);
    bindEvent(h->rangeField, state, onRangeChange);
    bindEvent(h->typeChoice, state, onTypeChange);
    bindEvent(h->shadowChoice, state, onShadowChange);
    bindEvent(h->colorControl, state, onColorChange);
    bindEvent(h->copyButton, state, onCopy);
    bindEvent(h->pasteButton, state, onPaste);
}

void runEditorPanel(EditorState *state, LayoutGenericLocal *local)
{
    PanelServices *panels = state->handleTable.panelServices;
    RasterServices *rasters = state->handleTable.rasterServices;
    MessageFuncs *messages = static_cast<MessageFuncs *>(panels->user_data);

    HostPanel *panel = panels->create(panelTitle, nullptr);
    if (!panel) return;

    int32_t toolkitVersion = 0;
    panels->get(panel, PAN_VERSION, &toolkitVersion);
    if (toolkitVersion < MIN_TOOLKIT_VERSION) {
        messages->error(oldToolkitText, nullptr);
        panels->destroy(panel);
        return;
    }

    HostRaster *raster = rasters->create(LIST_WIDTH, LIST_HEIGHT, 0);
    HostControl *listArea = nullptr;
    HostControl *listSlider = nullptr;
    if (!raster || !createControls(panels, panel, state, &listArea, &listSlider)) {
        messages->error(openFailedText, nullptr);
        panels->destroy(panel);
        if (raster) rasters->destroy(raster);
        return;
    }

    placeControls(&state->handleTable, listArea, listSlider);
    int32_t height = PANEL_HEIGHT;
    panels->set(panel, PAN_HEIGHT, &height);
    registerHandlers(panels, panel, state, raster, listArea, listSlider);

    state->prefixLength = 0;
    state->prefixText[0] = '\0';
    if (noneSelected()) ghostIfNoneSelected();

    if (panels->open(panel, PANF_MODAL_OK_CANCEL)) applyEdits(local);
    panels->destroy(panel);
    rasters->destroy(raster);
    state->handleTable.listRaster = nullptr;
}
