// copy_paste.cpp - carrying one light's settings onto the selected lights.

#include "panel.h"

#include <string.h>

void showInfo(const char *text)
{
    HostControl *info = editorStatePointer->handleTable.infoField;
    stringValue.str.buf = const_cast<char *>(text);
    stringValue.str.bufLen = static_cast<int32_t>(strlen(text));
    info->set(info, CTL_VALUE, &stringValue);
}

void VT_CDECL onCopy(HostControl *, void *)
{
    EditorState *state = editorStatePointer;
    state->clipboardValid = 1;
    state->rows[state->clipboardRow] = state->rows[state->currentRow];
    showInfo("Copy Intensity");
}

void VT_CDECL onPaste(HostControl *, void *)
{
    EditorState *state = editorStatePointer;
    if (state->clipboardValid != 1) {
        showInfo("Can't Paste");
        return;
    }
    const LightRow *clip = &state->rows[state->clipboardRow];
    for (int32_t i = 0; i < state->lightCount; ++i) {
        LightRow *row = &state->rows[i];
        if (!row->selected) continue;
        // Every setting, but each row keeps its own name and stays selected.
        row->intensity = clip->intensity;
        for (int c = 0; c < 3; ++c) row->colour[c] = clip->colour[c];
        row->lightType = clip->lightType;
        row->shadowType = clip->shadowType;
        row->range = clip->range;
        row->flags = clip->flags;
    }
    showInfo("Paste Intensity");
    refreshPropertyControls(state->rows[state->currentRow]);
}
