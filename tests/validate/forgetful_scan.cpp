// forgetful_scan.cpp - a stand-in plug-in whose scan also empties the copy
// buffer row, so a row copied in one activation is gone in the next (its
// "copied" flag stays set). Only a check across activations sees it: the
// validator must fail the lifecycle and shrink it to the activations that show it.
#include "model/editor_state.h"

#include <string.h>

void realScanLights(EditorState *state);
#define scanLights realScanLights
#include "model/scan.cpp"  // NOLINT(bugprone-suspicious-include): the real scan, renamed, to wrap it
#undef scanLights

void scanLights(EditorState *state) {
    realScanLights(state);
    memset(&state->rows[CLIPBOARD_ROW], 0, sizeof(LightRow));
}
