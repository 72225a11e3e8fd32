// editor_probe.cpp - the probe build's test hook (editor_probe.h), linked
// with the plug-in's objects into vantorel_probe.p and nowhere else.
#include "validate/probe/editor_probe.h"

#include "model/editor_state.h"

extern "C" {

__attribute__((visibility("default"))) int32_t vantorelEditorProbe(int32_t version, VantorelEditorView *view);

int32_t vantorelEditorProbe(int32_t version, VantorelEditorView *view) {
    const EditorState *state = editorStatePointer;
    if (!state || !view || version != VANTOREL_EDITOR_PROBE_VERSION) return 0;
    // A count out of bounds is what the checks are for; the rows past it
    // are taken within the table.
    const int32_t from = state->lightCount < 0               ? 0
                         : state->lightCount > CLIPBOARD_ROW ? CLIPBOARD_ROW
                                                             : state->lightCount;
    view->lightCount = state->lightCount;
    view->prefixLength = state->prefixLength;
    view->prefixText = state->prefixText;
    view->copyValid = state->clipboardValid;
    view->copyRow = &state->rows[CLIPBOARD_ROW];
    view->copyRowSize = sizeof(LightRow);
    view->rowsPastFilled = &state->rows[from];
    view->rowsPastFilledSize = sizeof(LightRow) * static_cast<size_t>(CLIPBOARD_ROW - from);
    view->record = state;
    view->recordSize = sizeof(EditorState);
    return 1;
}
}
