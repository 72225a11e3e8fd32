// apply_edits.cpp - the light table back to the scene, as Layout commands.

#include "apply_edits.h"

#include <math.h>
#include <stdarg.h>
#include <stdio.h>

// The longest finite double in %f is 317 characters (sign, 309 digits, point,
// six decimals); "LightColor" carries three of them.
enum { COMMAND_CAPACITY = 1024 };

static const char *lightTypeCommand(int32_t lightType)
{
    switch (lightType) {
    case 1: return "PointLight";
    case 2: return "Spotlight";
    case 3: return "LinearLight";
    case 4: return "AreaLight";
    default: return "DistantLight";
    }
}

static unsigned itemNumber(const HostItem *item)
{
    return static_cast<unsigned>(reinterpret_cast<uintptr_t>(item));
}

// Where commands are formatted before they go to Layout.
struct CommandSender {
    LayoutGenericLocal *local;    // the host's command record
    char text[COMMAND_CAPACITY];  // the command being sent
};

// Formats and sends one command; one that would not fit is not sent cut short.
#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
static void
sendCommand(CommandSender *out, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    // va_start above initialises args; clang-analyzer 14 loses track of it.
    const int n =
        vsnprintf(out->text, sizeof out->text, format, args);  // NOLINT(clang-analyzer-valist.Uninitialized)
    va_end(args);
    if (n < 0 || n >= static_cast<int>(sizeof out->text)) return;
    out->local->evaluate(out->local->context, out->text);
}

// A non-number is never sent as text: that setting keeps its scene value.
static void sendRow(CommandSender *out, const LightRow *row)
{
    if (isfinite(row->intensity)) sendCommand(out, "LightIntensity %f", row->intensity);
    if (isfinite(row->colour[0]) && isfinite(row->colour[1]) && isfinite(row->colour[2]))
        sendCommand(out, "LightColor %f %f %f", row->colour[0], row->colour[1], row->colour[2]);
    sendCommand(out, "%s", lightTypeCommand(row->lightType));
    sendCommand(out, "ShadowType %d", row->shadowType);
    if ((row->flags & LIGHT_FLAG_LIMITED_RANGE) && isfinite(row->range))
        sendCommand(out, "LightRange %f", row->range);
}

void applyEdits(LayoutGenericLocal *local)
{
    const EditorState *state = editorStatePointer;
    CommandSender out;
    out.local = local;

    sendCommand(&out, "EditLights");
    int32_t i = 0;
    HostItem *item = itemInfoTable->first(ITEM_TYPE_LIGHT, nullptr);
    sendCommand(&out, "SelectItem %x", itemNumber(item));
    while (item) {
        // Lights past the filled rows have no row: they are selected and left as they are.
        if (i < state->lightCount) sendRow(&out, &state->rows[i]);
        item = itemInfoTable->next(item);
        sendCommand(&out, "SelectItem %x", itemNumber(item));
        if (i < INT32_MAX) ++i;
    }
}
