/* editor_state.h - the editor's one record: host handles, the light table and
 * the scalars the list, selection, prefix, copy buffer and drag need.
 *
 * There is exactly one EditorState, static, all zero when the library loads,
 * reached through editorStatePointer. Every table in it has a fixed size.
 */
#ifndef VANTOREL_EDITOR_STATE_H
#define VANTOREL_EDITOR_STATE_H

#include "../host/layout_generic.h"
#include "../host/messages.h"
#include "../host/panel_services.h"
#include "../host/raster_services.h"
#include "../host/scene_info.h"

enum {
    ROW_CAPACITY = 512,  /* rows in the table */
    MAX_LIGHTS = 510,    /* rows the scan may fill: 0..509 */
    CLIPBOARD_ROW = 511, /* the copy buffer's row */
    TEXT_CAPACITY = 256, /* names and the prefix: 255 characters and a zero */
    LIST_WIDTH = 200,    /* list raster width, pixels */
    LIST_HEIGHT = 400,   /* list raster height, pixels */
    ROW_PITCH = 16       /* list pixels from one row's top to the next */
};

/* Host tables and controls by fixed slot. */
struct HandleTable {
    PanelServices *panelServices;   /* 0: "LWPanelServices" */
    RasterServices *rasterServices; /* 1: "RasterServices" */
    HostRaster *listRaster;         /* 2: the 200 x 400 list picture */
    HostControl *listArea;          /* 3: area showing the list */
    HostControl *prefixField;       /* 4: edit control "prefix" */
    HostControl *colorControl;      /* 5: mini RGB control */
    HostControl *intensityField;    /* 6: float control "Intensity", percent */
    HostControl *intensityDrag;     /* 7: drag button beside it */
    HostControl *typeChoice;        /* 8: light type choice */
    HostControl *rangeField;        /* 9: float control "Range" */
    HostControl *shadowChoice;      /* 10: shadow type choice */
    HostControl *copyButton;        /* 11: button "copy" */
    HostControl *pasteButton;       /* 12: button "paste" */
    void *unused13;                 /* 13: never filled */
    void *unused14;                 /* 14: never filled */
    HostControl *infoField;         /* 15: info control "info" */
    HostControl *clearButton;       /* 16: button "Clear selection" */
};

/* One light's editable settings. */
struct LightRow {
    char name[TEXT_CAPACITY]; /* the host's name, at most 255 characters */
    double intensity;         /* fraction: 1.0 is 100 percent */
    double colour[3];         /* red, green, blue as fractions; within +-1 after a scan */
    int32_t lightType;        /* 0 distant, 1 point, 2 spot, 3 linear, 4 area */
    int32_t shadowType;       /* 0 off, 1 ray traced, 2 shadow map */
    double range;             /* scene distance units */
    uint32_t flags;           /* host flag word; bit 0: limited range */
    uint8_t selected;         /* 1 while selected */
};

struct EditorState {
    HandleTable handleTable;        /* host tables and controls */
    LightRow rows[ROW_CAPACITY];    /* 0..lightCount-1 lights; 511 copy buffer */
    int32_t currentRow;             /* row the property controls show */
    int32_t lightCount;             /* rows filled by the scan, 0..510 */
    int32_t clipboardRow;           /* copy buffer's row; 511 after every scan */
    double colorScratch[3];         /* where the host writes a light's colour */
    int32_t scrollOffset;           /* list scroll, pixels, 0..scrollMax */
    int32_t scrollMax;              /* lightCount * 16 - 400, at least 0 */
    char prefixText[TEXT_CAPACITY]; /* name prefix, NUL-terminated */
    int32_t prefixLength;           /* characters in prefixText, 0..255 */
    uint8_t clipboardValid;         /* 1 once a row has been copied */
    int32_t dragLastCount;          /* drag step counter of the last drag event */
    double dragBaseIntensity;       /* current row's intensity when the drag began */
};

static_assert(sizeof(HandleTable) == 17 * sizeof(void *), "HandleTable holds 17 slots");
static_assert(offsetof(HandleTable, infoField) == 15 * sizeof(void *), "infoField is slot 15");
static_assert(offsetof(HandleTable, clearButton) == 16 * sizeof(void *), "clearButton is slot 16");

/* Process-wide pointers set by the activation. */
extern EditorState *editorStatePointer;
extern ItemInfo *itemInfoTable;
extern LightInfo *lightInfoTable;

/* Fills rows 0..lightCount-1 from the scene, then clipboardRow and lightCount. */
void scanLights(EditorState *state);
/* Clears the selected flag of every filled row. Touches no control. */
void deselectAllRows(EditorState *state);

#endif
