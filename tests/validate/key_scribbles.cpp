// key_scribbles.cpp - a stand-in plug-in whose key handler, once it has done
// its work, writes into the copy buffer's row and shows a wrong text in the
// prefix field: two checks fail on the same event, and the validator must
// report the first of them.
#include "model/editor_state.h"
#include "panel/panel.h"

#define onPanelKey realOnPanelKey
#include "panel/prefix_select.cpp"  // NOLINT(bugprone-suspicious-include): the real handler, renamed, to wrap it
#undef onPanelKey

void VT_CDECL onPanelKey(HostPanel *panel, void *userData, uint16_t key) {
    realOnPanelKey(panel, userData, key);
    EditorState *state = editorStatePointer;
    state->rows[CLIPBOARD_ROW].range += 1;
    static char wrong[] = "scribbled";
    stringValue.str.buf = wrong;
    stringValue.str.bufLen = sizeof wrong - 1;
    HostControl *field = state->handleTable.prefixField;
    field->set(field, CTL_VALUE, &stringValue);
}
