/* apply_edits.h - writing the light table back to the scene as Layout commands. */
#ifndef VANTOREL_APPLY_EDITS_H
#define VANTOREL_APPLY_EDITS_H

#include "../model/editor_state.h"

/* Sends "EditLights", then for each light of the scene, in the host's order,
 * "SelectItem" and its row's values; ends with "SelectItem 0". */
void applyEdits(LayoutGenericLocal *local);

#endif
