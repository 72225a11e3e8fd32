// property_controls.cpp - the controls that show the current light and edit
// every selected light at once.

#include "panel.h"

// The controls drawn ghosted while nothing is selected, in drawing order.
static HostControl *propertyControl(const HandleTable *h, int index)
{
    switch (index) {
    case 0: return h->colorControl;
    case 1: return h->intensityField;
    case 2: return h->intensityDrag;
    case 3: return h->typeChoice;
    case 4: return h->shadowChoice;
    case 5: return h->rangeField;
    case 6: return h->copyButton;
    case 7: return h->pasteButton;
    default: return h->clearButton;
    }
}
enum { PROPERTY_CONTROL_COUNT = 9 };

static void drawPropertyControls(int32_t mode)
{
    const HandleTable *h = &editorStatePointer->handleTable;
    for (int i = 0; i < PROPERTY_CONTROL_COUNT; ++i) {
        HostControl *control = propertyControl(h, i);
        control->draw(control, mode);
    }
}

void refreshPropertyControls(LightRow row)
{
    const HandleTable *h = &editorStatePointer->handleTable;
    // Callers pass a copy of the current row, so it also supplies range and colour.
    floatValue.flt.value = row.intensity * 100.0;
    h->intensityField->set(h->intensityField, CTL_VALUE, &floatValue);
    intValue.intv.value = row.lightType;
    h->typeChoice->set(h->typeChoice, CTL_VALUE, &intValue);
    intValue.intv.value = row.shadowType;
    h->shadowChoice->set(h->shadowChoice, CTL_VALUE, &intValue);
    floatValue.flt.value = row.range;
    h->rangeField->set(h->rangeField, CTL_VALUE, &floatValue);
    for (int c = 0; c < 3; ++c) ivecValue.ivec.value[c] = truncateToInt32(row.colour[c] * 255.0);
    h->colorControl->set(h->colorControl, CTL_VALUE, &ivecValue);
}

bool noneSelected(void)
{
    const EditorState *state = editorStatePointer;
    for (int32_t i = 0; i < state->lightCount; ++i)
        if (state->rows[i].selected) return false;
    return true;
}

void ghostIfNoneSelected(void)
{
    if (noneSelected()) drawPropertyControls(DR_GHOST);
}

void enablePropertyControls(void) { drawPropertyControls(DR_RENDER); }

static void refreshFromCurrentRow(void)
{
    const EditorState *state = editorStatePointer;
    refreshPropertyControls(state->rows[state->currentRow]);
}

static HostValue *readValue(HostControl *control, HostValue *value)
{
    control->get(control, CTL_VALUE, value);
    return value;
}

void VT_CDECL onColorChange(HostControl *, void *)
{
    EditorState *state = editorStatePointer;
    const HostIVecValue colour = readValue(state->handleTable.colorControl, &ivecValue)->ivec;
    for (int32_t i = 0; i < state->lightCount; ++i) {
        if (!state->rows[i].selected) continue;
        for (int c = 0; c < 3; ++c) state->rows[i].colour[c] = colour.value[c] / 255.0;
    }
    refreshFromCurrentRow();
}

void VT_CDECL onIntensityChange(HostControl *, void *)
{
    EditorState *state = editorStatePointer;
    const double percent = readValue(state->handleTable.intensityField, &floatValue)->flt.value;
    for (int32_t i = 0; i < state->lightCount; ++i)
        if (state->rows[i].selected) state->rows[i].intensity = percent / 100.0;
}

void VT_CDECL onIntensityDrag(HostControl *, void *)
{
    EditorState *state = editorStatePointer;
    const HostIVecValue drag = readValue(state->handleTable.intensityDrag, &ivecValue)->ivec;
    const int32_t distance = drag.value[0];
    const int32_t counter = drag.value[2];
    // Compared in 64 bits: a counter after INT32_MAX cannot continue a drag.
    if (int64_t{counter} == int64_t{state->dragLastCount} + 1) {
        const double intensity = state->dragBaseIntensity - distance / 1000.0;
        for (int32_t i = 0; i < state->lightCount; ++i)
            if (state->rows[i].selected) state->rows[i].intensity = intensity;
        // A current row left from a run on a larger scene has no light now: it stays as it is.
        if (state->currentRow < state->lightCount) state->rows[state->currentRow].intensity = intensity;
    } else {
        state->dragBaseIntensity = state->rows[state->currentRow].intensity;
    }
    state->dragLastCount = counter;
    refreshFromCurrentRow();
}

// A choice's index goes unchanged into one field of every selected row.
static void storeChoice(HostControl *choice, int32_t LightRow::*field)
{
    EditorState *state = editorStatePointer;
    const int32_t index = static_cast<int32_t>(readValue(choice, &intValue)->intv.value);
    for (int32_t i = 0; i < state->lightCount; ++i)
        if (state->rows[i].selected) state->rows[i].*field = index;
    refreshFromCurrentRow();
}

void VT_CDECL onTypeChange(HostControl *, void *)
{
    storeChoice(editorStatePointer->handleTable.typeChoice, &LightRow::lightType);
}

void VT_CDECL onShadowChange(HostControl *, void *)
{
    storeChoice(editorStatePointer->handleTable.shadowChoice, &LightRow::shadowType);
}

void VT_CDECL onRangeChange(HostControl *, void *)
{
    EditorState *state = editorStatePointer;
    const double range = readValue(state->handleTable.rangeField, &floatValue)->flt.value;
    for (int32_t i = 0; i < state->lightCount; ++i)
        if (state->rows[i].selected) state->rows[i].range = range;
    refreshFromCurrentRow();
}

void VT_CDECL onClearSelection(HostControl *, void *)
{
    EditorState *state = editorStatePointer;
    deselectAllRows(state);
    ghostIfNoneSelected();
    HostControl *listArea = state->handleTable.listArea;
    listArea->draw(listArea, DR_REFRESH);
}
