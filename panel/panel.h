/* panel.h - the editor panel: construction, list view, property controls,
 * prefix selection, copy and paste. Every routine works on the one EditorState
 * that editorStatePointer names; handlers return nothing. */
#ifndef VANTOREL_PANEL_H
#define VANTOREL_PANEL_H

#include "../model/editor_state.h"

/* Process-wide value records and control descriptor: fill then set, or get then read. */
extern HostValue stringValue;   /* HV_STRING */
extern HostValue intValue;      /* HV_INTEGER */
extern HostValue floatValue;    /* HV_FLOAT */
extern HostValue ivecValue;     /* HV_IVECTOR */
extern ControlDesc controlDesc; /* refilled before each addControl */

/* Conversion of a shown value to a control integer: truncation toward zero,
 * NaN as 0 and values beyond the 32-bit range held at its ends. */
int32_t truncateToInt32(double value);

/* ---- Construction and modal run ---------------------------------------- */
void runEditorPanel(EditorState *state, LayoutGenericLocal *local);
void placeControl(HostControl *control, int32_t x, int32_t y);

/* ---- Light list --------------------------------------------------------- */
void VT_CDECL drawLightList(HostControl *control, void *userData, int32_t mode);
void VT_CDECL onListClick(HostControl *control, void *userData);
void VT_CDECL onListScroll(HostControl *control, void *userData);
void toggleRow(int32_t row);
int32_t rowCount(const EditorState *state);
const char *rowName(const EditorState *state, int32_t row);

/* ---- Property controls -------------------------------------------------- */
void refreshPropertyControls(LightRow row);
bool noneSelected(void);
void ghostIfNoneSelected(void);
void enablePropertyControls(void);
void VT_CDECL onColorChange(HostControl *control, void *userData);
void VT_CDECL onIntensityChange(HostControl *control, void *userData);
void VT_CDECL onIntensityDrag(HostControl *control, void *userData);
void VT_CDECL onTypeChange(HostControl *control, void *userData);
void VT_CDECL onShadowChange(HostControl *control, void *userData);
void VT_CDECL onRangeChange(HostControl *control, void *userData);
void VT_CDECL onClearSelection(HostControl *control, void *userData);

/* ---- Prefix selection --------------------------------------------------- */
void VT_CDECL onPanelKey(HostPanel *panel, void *userData, uint16_t key);
void VT_CDECL onPrefixEdit(HostControl *control, void *userData);
void matchPrefix(EditorState *state);
int beginsWith(const char *name, const char *prefix);
void selectRow(int32_t row);
void deselectRow(int32_t row);

/* ---- Copy and paste ----------------------------------------------------- */
void VT_CDECL onCopy(HostControl *control, void *userData);
void VT_CDECL onPaste(HostControl *control, void *userData);
void showInfo(const char *text);

#endif
