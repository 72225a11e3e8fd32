// light_list.cpp - the scrolling list of light names and its selection bars.

#include "panel.h"

enum {
    TEXT_COLOUR = 4140,     // host colour code of the names
    BACKGROUND_GREY = 128,  // red = green = blue of the background
    BAR_RED = 30,
    BAR_GREEN = 30,
    BAR_BLUE = 128,
    BAR_HEIGHT = 14  // pixels; 2 pixels of background between bars
};

int32_t rowCount(const EditorState *state) { return state->lightCount; }

const char *rowName(const EditorState *state, int32_t row)
{
    if (row < 0 || row >= state->lightCount) return nullptr;
    return state->rows[row].name;
}

// A row's top in raster pixels. Positions beyond the 32-bit range lie far
// outside the raster either way, so they are held at its ends.
static int32_t rowTop(int32_t row, int32_t scrollOffset)
{
    const int64_t y = int64_t{ROW_PITCH} * row - scrollOffset;
    if (y > INT32_MAX) return INT32_MAX;
    if (y < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(y);
}

static int32_t readInt(HostControl *control, int32_t tag)
{
    control->get(control, tag, &intValue);
    return static_cast<int32_t>(intValue.intv.value);
}

void VT_CDECL drawLightList(HostControl *control, void *, int32_t)
{
    const EditorState *state = editorStatePointer;
    RasterServices *rasters = state->handleTable.rasterServices;
    HostRaster *raster = state->handleTable.listRaster;

    control->get(control, CTL_PANEL, &intValue);
    HostPanel *panel = reinterpret_cast<HostPanel *>(intValue.intv.value);
    const int32_t hotX = readInt(control, CTL_HOTX);
    const int32_t hotY = readInt(control, CTL_HOTY);
    const int32_t hotW = readInt(control, CTL_HOTW);
    const int32_t hotH = readInt(control, CTL_HOTH);

    const int32_t n = rowCount(state);
    rasters->drawRGBBox(raster, BACKGROUND_GREY, BACKGROUND_GREY, BACKGROUND_GREY, 0, 0, LIST_WIDTH,
                        LIST_HEIGHT);
    for (int32_t i = 0; i < n; ++i) {
        const int32_t y = rowTop(i, state->scrollOffset);
        if (state->rows[i].selected)
            rasters->drawRGBBox(raster, BAR_RED, BAR_GREEN, BAR_BLUE, 0, y, LIST_WIDTH, BAR_HEIGHT);
        rasters->drawText(raster, rowName(state, i), TEXT_COLOUR, 0, y);
    }
    rasters->blitPanel(raster, 0, 0, panel, hotX, hotY, hotW, hotH);
}

void VT_CDECL onListScroll(HostControl *control, void *)
{
    EditorState *state = editorStatePointer;
    int32_t offset = readInt(control, CTL_VALUE);
    // The slider's range is 0..scrollMax; a value outside it is held at the ends.
    if (offset < 0) offset = 0;
    if (offset > state->scrollMax) offset = state->scrollMax;
    state->scrollOffset = offset;
    HostControl *listArea = state->handleTable.listArea;
    listArea->draw(listArea, DR_REFRESH);
}

void VT_CDECL onListClick(HostControl *control, void *)
{
    EditorState *state = editorStatePointer;
    const int64_t listY = int64_t{readInt(control, CTL_MOUSEY)} + state->scrollOffset;
    // Rows are 16 pixels tall from y 0; positions above the first row belong to none.
    const int64_t row = listY >= 0 ? listY / ROW_PITCH : -1;
    if (row >= 0 && row < state->lightCount && row < state->clipboardRow)
        toggleRow(static_cast<int32_t>(row));
    HostControl *listArea = state->handleTable.listArea;
    listArea->draw(listArea, DR_REFRESH);
}

void toggleRow(int32_t row)
{
    if (editorStatePointer->rows[row].selected) deselectRow(row);
    else selectRow(row);
}
