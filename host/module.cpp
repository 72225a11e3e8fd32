// module.cpp - the module descriptor, the server record and the activation.

#include "../apply/apply_edits.h"
#include "../panel/panel.h"

#if defined(_WIN32)
#define VT_EXPORT_DATA
#else
#define VT_EXPORT_DATA __attribute__((visibility("default")))
#endif

static EditorState editorState;  // the one editor record, all zero at load

EditorState *editorStatePointer;
ItemInfo *itemInfoTable;
LightInfo *lightInfoTable;

static void *VT_CDECL startModule(void) { return reinterpret_cast<void *>(static_cast<intptr_t>(4)); }

static void VT_CDECL stopModule(void *) {}

static int32_t VT_CDECL activateEditor(int32_t version, HostGlobalFunc global, void *local, void *)
{
    if (version < LAYOUT_GENERIC_MIN_VERSION) return AFUNC_BADVERSION;

    MessageFuncs *messages = static_cast<MessageFuncs *>(global(MESSAGES_NAME, 0));
    PanelServices *panels = static_cast<PanelServices *>(global(PANEL_SERVICES_NAME, 0));
    RasterServices *rasters = static_cast<RasterServices *>(global(RASTER_SERVICES_NAME, 0));
    itemInfoTable = static_cast<ItemInfo *>(global(ITEM_INFO_NAME, 0));
    lightInfoTable = static_cast<LightInfo *>(global(LIGHT_INFO_NAME, 0));
    // The scan and the apply step cannot run without the scene tables or the
    // command record, so their absence is a missing host table like the others.
    if (!messages || !panels || !rasters || !itemInfoTable || !lightInfoTable || !local)
        return AFUNC_BADGLOBAL;

    EditorState *state = &editorState;
    editorStatePointer = state;
    panels->globalFun = global;
    panels->user_data = messages;
    state->handleTable.panelServices = panels;
    state->handleTable.rasterServices = rasters;
    state->scrollOffset = 0;
    scanLights(state);
    state->scrollMax = state->lightCount * ROW_PITCH - LIST_HEIGHT;
    if (state->scrollMax < 0) state->scrollMax = 0;
    deselectAllRows(state);
    runEditorPanel(state, static_cast<LayoutGenericLocal *>(local));
    return AFUNC_OK;
}

static const ServerRecord serverTable[] = {
    {LAYOUT_GENERIC_CLASS, "vantorel", activateEditor, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

extern "C" {
VT_EXPORT_DATA extern ModuleDescriptor _mod_descrip;
ModuleDescriptor _mod_descrip = {
    MODULE_SYNC_WORD, MODULE_SYSTEM_VERSION, MODULE_MACHINE_CODE, startModule, stopModule, serverTable,
};
}
