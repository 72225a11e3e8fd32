// scan.cpp - filling the light table from the scene.

#include "editor_state.h"

#include <float.h>
#include <math.h>

// Copies at most TEXT_CAPACITY - 1 characters and always terminates; a null
// name from the host becomes the empty text.
static void copyName(char *dest, const char *source)
{
    int32_t n = 0;
    if (source)
        for (; n < TEXT_CAPACITY - 1 && source[n] != '\0'; ++n) dest[n] = source[n];
    dest[n] = '\0';
}

// A component the host reports as NaN counts as 0, and an infinite one as the
// largest finite value of its sign, so that no row ever holds a non-number.
static double finiteComponent(double value)
{
    if (isnan(value)) return 0.0;
    if (isinf(value)) return value > 0 ? DBL_MAX : -DBL_MAX;
    return value;
}

// Splits the reported colour x intensity into the row's intensity (the largest
// component) and colour (the components divided by it).
static void splitColour(LightRow *row, const double reported[3])
{
    const double red = finiteComponent(reported[0]);
    const double green = finiteComponent(reported[1]);
    const double blue = finiteComponent(reported[2]);
    const double m = (red > green) ? red : green;
    const double intensity = (m > blue) ? m : blue;

    if (intensity == 0.0) {
        // Black: intensity 0 goes back to the scene; white makes a later raise visible.
        row->intensity = 0.0;
        row->colour[0] = row->colour[1] = row->colour[2] = 1.0;
        return;
    }
    const double r = red / intensity, g = green / intensity, b = blue / intensity;
    if (isfinite(r) && isfinite(g) && isfinite(b)) {
        row->intensity = intensity;
        row->colour[0] = r;
        row->colour[1] = g;
        row->colour[2] = b;
    } else {
        // The quotient overflows (a tiny negative intensity): keep the product exact.
        row->intensity = 1.0;
        row->colour[0] = red;
        row->colour[1] = green;
        row->colour[2] = blue;
    }
}

void scanLights(EditorState *state)
{
    int32_t i = 0;
    HostItem *item = itemInfoTable->first(ITEM_TYPE_LIGHT, nullptr);
    while (item) {
        LightRow *row = &state->rows[i];
        copyName(row->name, itemInfoTable->name(item));
        lightInfoTable->color(item, 0.0, state->colorScratch);
        splitColour(row, state->colorScratch);
        row->lightType = lightInfoTable->type(item);
        row->shadowType = lightInfoTable->shadowType(item);
        row->range = lightInfoTable->range(item);
        row->flags = lightInfoTable->flags(item);
        row->selected = 0;
        item = itemInfoTable->next(item);
        ++i;
        if (i >= MAX_LIGHTS) item = nullptr;
    }
    state->clipboardRow = CLIPBOARD_ROW;
    state->lightCount = i;
}

void deselectAllRows(EditorState *state)
{
    for (int32_t i = 0; i < state->lightCount; ++i) state->rows[i].selected = 0;
}
