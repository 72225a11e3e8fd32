// prefix_select.cpp - selecting lights by the beginning of their names.

#include "panel.h"

enum {
    KEY_BACKSPACE = 8,
    KEY_FIRST_PRINTABLE = 32,
    KEY_LAST_PRINTABLE = 126,
    KEY_NO_MATCH_1 = 4193,  // keys that leave prefix and selection alone
    KEY_NO_MATCH_2 = 4194,
    PREFIX_MAX = TEXT_CAPACITY - 1
};

int beginsWith(const char *name, const char *prefix)
{
    for (int32_t i = 0; prefix[i] != '\0'; ++i)
        if (name[i] != prefix[i]) return 0;
    return 1;
}

void selectRow(int32_t row)
{
    EditorState *state = editorStatePointer;
    state->rows[row].selected = 1;
    state->currentRow = row;
    refreshPropertyControls(state->rows[row]);
    enablePropertyControls();
}

void deselectRow(int32_t row)
{
    editorStatePointer->rows[row].selected = 0;
    ghostIfNoneSelected();
}

// Selects exactly the rows whose names begin with the prefix. The state after
// the walk is that of selecting or deselecting each row in turn: the last
// match is current, shown and enabled; no match leaves the controls ghosted.
// The controls are touched once, not once per row.
void matchPrefix(EditorState *state)
{
    if (state->prefixLength == 0) return;
    int32_t lastMatch = -1;
    for (int32_t i = 0; i < state->lightCount; ++i) {
        const int matches = beginsWith(state->rows[i].name, state->prefixText);
        state->rows[i].selected = static_cast<uint8_t>(matches);
        if (matches) lastMatch = i;
    }
    if (lastMatch >= 0) {
        state->currentRow = lastMatch;
        refreshPropertyControls(state->rows[lastMatch]);
        enablePropertyControls();
    } else if (state->lightCount > 0) {
        ghostIfNoneSelected();
    }
    HostControl *listArea = state->handleTable.listArea;
    listArea->draw(listArea, DR_REFRESH);
}

static void showPrefix(const EditorState *state)
{
    HostControl *field = state->handleTable.prefixField;
    stringValue.str.buf = const_cast<char *>(state->prefixText);
    stringValue.str.bufLen = state->prefixLength;
    field->set(field, CTL_VALUE, &stringValue);
}

void VT_CDECL onPanelKey(HostPanel *, void *, uint16_t key)
{
    EditorState *state = editorStatePointer;
    if (key == KEY_BACKSPACE) {
        if (state->prefixLength > 0) {
            state->prefixText[--state->prefixLength] = '\0';
            showPrefix(state);
        }
    } else if (key >= KEY_FIRST_PRINTABLE && key <= KEY_LAST_PRINTABLE) {
        // A full prefix takes no more characters.
        if (state->prefixLength < PREFIX_MAX) {
            state->prefixText[state->prefixLength++] = static_cast<char>(key);
            state->prefixText[state->prefixLength] = '\0';
            showPrefix(state);
        }
    }
    if (key != KEY_NO_MATCH_1 && key != KEY_NO_MATCH_2) matchPrefix(state);
}

void VT_CDECL onPrefixEdit(HostControl *, void *)
{
    EditorState *state = editorStatePointer;
    HostControl *field = state->handleTable.prefixField;
    char text[TEXT_CAPACITY] = {0};
    stringValue.str.buf = text;
    stringValue.str.bufLen = TEXT_CAPACITY;
    field->get(field, CTL_VALUE, &stringValue);
    text[PREFIX_MAX] = '\0';  // a longer text is cut to 255 characters
    int32_t n = 0;
    for (; text[n] != '\0'; ++n) state->prefixText[n] = text[n];
    state->prefixText[n] = '\0';
    state->prefixLength = n;
    matchPrefix(state);
}
