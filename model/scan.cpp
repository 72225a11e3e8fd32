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

// Splits the reported colour x intensity into the row's intensity and colour
// (the components divided by it). The intensity is the component of largest
// magnitude, with its sign; of a positive and a negative one of the same
// magnitude, the positive one. So a light is shown as Layout holds it: the
// colour's largest component is 1 and none is beyond 1 either way, and a
// negative light such as (0.4, 0, 1) at -100%, reported as (-0.4, -0, -1),
// keeps its colour at intensity -1. Colour x intensity is what the host
// reported, the sign of a zero component included. Because no colour component
// is beyond 1, the six decimals the commands carry cost each component of the
// product at most (1 + |intensity|) units of the sixth decimal; a large colour
// over a tiny intensity would multiply the intensity's rounding, and an
// intensity that prints as 0 would turn the light off.
static void splitColour(LightRow *row, const double reported[3])
{
    const double red = finiteComponent(reported[0]);
    const double green = finiteComponent(reported[1]);
    const double blue = finiteComponent(reported[2]);
    const double m = (red > green) ? red : green;
    const double largest = (m > blue) ? m : blue;
    const double n = (red < green) ? red : green;
    const double least = (n < blue) ? n : blue;

    if (largest == 0.0 && least == 0.0) {
        // Black: intensity 0 goes back to the scene; white makes a later raise visible.
        row->intensity = 0.0;
        row->colour[0] = row->colour[1] = row->colour[2] = 1.0;
        return;
    }
    // No quotient is beyond 1 in magnitude, so none overflows or is a non-number.
    const double intensity = (-least > largest) ? least : largest;
    row->intensity = intensity;
    row->colour[0] = red / intensity;
    row->colour[1] = green / intensity;
    row->colour[2] = blue / intensity;
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
