// broken_apply.cpp - a faulty apply step for a stand-in plug-in: every value
// goes out with two decimals and without the finite test, so non-numbers and
// cut-short values reach Layout. The validator must reject this plug-in.
#include "apply/apply_edits.h"

#include <stdio.h>

void applyEdits(LayoutGenericLocal *local) {
    const EditorState *state = editorStatePointer;
    char text[1024];
    auto send = [&]() { local->evaluate(local->context, text); };
    snprintf(text, sizeof text, "EditLights");
    send();
    int32_t i = 0;
    HostItem *item = itemInfoTable->first(ITEM_TYPE_LIGHT, nullptr);
    snprintf(text, sizeof text, "SelectItem %x", static_cast<unsigned>(reinterpret_cast<uintptr_t>(item)));
    send();
    while (item) {
        if (i < state->lightCount) {
            const LightRow *row = &state->rows[i];
            snprintf(text, sizeof text, "LightIntensity %.2f", row->intensity);
            send();
            snprintf(text, sizeof text, "LightColor %f %f %f", row->colour[0], row->colour[1],
                     row->colour[2]);
            send();
            snprintf(text, sizeof text, "PointLight");
            send();
            snprintf(text, sizeof text, "ShadowType %d", row->shadowType);
            send();
        }
        item = itemInfoTable->next(item);
        snprintf(text, sizeof text, "SelectItem %x",
                 static_cast<unsigned>(reinterpret_cast<uintptr_t>(item)));
        send();
        ++i;
    }
}
