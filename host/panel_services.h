/* panel_services.h - the "LWPanelServices" table, its controls and value records.
 *
 * Index
 *   1. Tags, draw modes, open flags
 *   2. HostValue: the tagged value record of every control get and set
 *   3. ControlDesc: the descriptor handed to addControl
 *   4. Callbacks the host makes into the plug-in
 *   5. HostControl: the operations record every control handle points at
 *   6. PanelServices: the table itself, slot by slot
 *
 * Everything here is called on the host thread that ran the activation.
 */
#ifndef VANTOREL_PANEL_SERVICES_H
#define VANTOREL_PANEL_SERVICES_H

#include "host_abi.h"
#include "module_descriptor.h"

#ifdef __cplusplus
extern "C" {
#endif

#define PANEL_SERVICES_NAME "LWPanelServices"

/* ---- 1. Tags, draw modes, open flags ----------------------------------- */

/* Control tags for HostControl get and set. */
enum {
    CTL_X = 0,          /* left edge of the control, label included; int */
    CTL_Y = 1,          /* top edge; int */
    CTL_VALUE = 4,      /* the control's value, in the HostValue form of its type */
    CTL_HOTX = 5,       /* left edge of the hot (active) rectangle; int */
    CTL_HOTY = 6,       /* top edge of the hot rectangle; int */
    CTL_HOTW = 7,       /* width of the hot rectangle; int */
    CTL_HOTH = 8,       /* height of the hot rectangle; int */
    CTL_LABELWIDTH = 9, /* width of the label in front of the body; int */
    CTL_MOUSEX = 10,    /* mouse x of the last event, from the hot left edge; int */
    CTL_MOUSEY = 11,    /* mouse y of the last event, from the hot top edge; int */
    CTL_USERDRAW = 13,  /* area draw handler (HostDrawFunc), set as pointer */
    CTL_USEREVENT = 14, /* event handler (HostControlEventFunc), set as pointer */
    CTL_USERDATA = 16,  /* user data passed to the handlers; pointer */
    CTL_PANEL = 17      /* owning panel (HostPanel *); read only */
};

/* Panel tags for PanelServices get and set. */
enum {
    PAN_HEIGHT = 3,    /* panel height in pixels; plain int * */
    PAN_USERDATA = 12, /* user data passed to the key handler; the pointer itself */
    PAN_USERKEYS = 13, /* key handler (HostPanelKeyFunc); the pointer itself */
    PAN_VERSION = 18   /* toolkit version; plain int *, read only */
};

/* Draw modes for HostControl draw. */
enum {
    DR_RENDER = 1, /* draw normally, enabled */
    DR_GHOST = 2,  /* draw dimmed, disabled */
    DR_REFRESH = 3 /* repaint in the current state */
};

/* Flags for PanelServices open: modal, with OK and Cancel, mouse tracking. */
enum { PANF_MODAL_OK_CANCEL = 7 };

/* Value and descriptor type codes. */
enum {
    HV_STRING = 1,  /* HostStringValue */
    HV_INTEGER = 2, /* HostIntValue */
    HV_FLOAT = 3,   /* HostFloatValue */
    HV_IVECTOR = 5, /* HostIVecValue */
    HV_FVECTOR = 6, /* HostFVecValue */
    CD_CHOICE = 9,  /* ControlDesc only: ChoiceDesc */
    CD_RANGE = 15,  /* ControlDesc only: RangeDesc */
    CD_AREA = 19    /* ControlDesc only: AreaDesc */
};

/* ---- 2. HostValue ------------------------------------------------------ */

typedef struct HostStringValue {
    int32_t type;   /* HV_STRING */
    char *buf;      /* text buffer; on get the host writes into it */
    int32_t bufLen; /* set: characters in buf; get: capacity of buf in bytes */
} HostStringValue;

typedef struct HostIntValue {
    int32_t type;    /* HV_INTEGER */
    intptr_t value;  /* the number, or a pointer (user data, handler) */
    intptr_t defVal; /* default; unused by the plug-in */
} HostIntValue;

typedef struct HostFloatValue {
    int32_t type;     /* HV_FLOAT */
    int32_t alignPad; /* the double starts 8 bytes in, as on i686 Windows */
    double value;     /* the number */
    double defVal;    /* default; unused by the plug-in */
} HostFloatValue;

typedef struct HostIVecValue {
    int32_t type;     /* HV_IVECTOR */
    int32_t value[3]; /* the three components */
    int32_t defVal;   /* default; unused by the plug-in */
} HostIVecValue;

typedef struct HostFVecValue {
    int32_t type;     /* HV_FVECTOR */
    int32_t alignPad; /* the doubles start 8 bytes in */
    double value[3];  /* the three components */
    double defVal;    /* default; unused by the plug-in */
} HostFVecValue;

typedef union HostValue {
    int32_t type; /* the HV_ code that says which member is live */
    HostStringValue str;
    HostIntValue intv;
    HostFloatValue flt;
    HostIVecValue ivec;
    HostFVecValue fvec;
} HostValue;

/* ---- 3. ControlDesc ---------------------------------------------------- */

typedef struct StringDesc {
    int32_t type;  /* HV_STRING */
    int32_t width; /* field width in characters */
} StringDesc;

typedef struct ChoiceDesc {
    int32_t type;       /* CD_CHOICE */
    const char **items; /* null-terminated item texts; must outlive the panel */
    int32_t vertical;   /* 1 stacks the items, 0 lays them side by side */
} ChoiceDesc;

typedef struct RangeDesc {
    int32_t type;  /* CD_RANGE */
    int32_t width; /* slider length in pixels */
    int32_t min;   /* smallest value */
    int32_t max;   /* largest value */
} RangeDesc;

typedef struct AreaDesc {
    int32_t type;   /* CD_AREA */
    int32_t width;  /* pixels; 0 lets the host size it */
    int32_t height; /* pixels; 0 or -1 let the host size it */
} AreaDesc;

/* Integer, float and integer-vector controls use the type code alone. */
typedef union ControlDesc {
    int32_t type; /* HV_ or CD_ code that says which member is live */
    StringDesc string;
    ChoiceDesc choice;
    RangeDesc range;
    AreaDesc area;
} ControlDesc;

/* ---- 4. Callbacks ------------------------------------------------------ */

typedef struct HostPanel HostPanel;     /* opaque panel handle */
typedef struct HostControl HostControl; /* control handle, section 5 */

/* A control's value changed or it was pressed or clicked. */
typedef void(VT_CDECL *HostControlEventFunc)(HostControl *control, void *userData);
/* An area control must be painted; mode is a DR_ code. */
typedef void(VT_CDECL *HostDrawFunc)(HostControl *control, void *userData, int32_t mode);
/* A key was pressed over the panel; codes 32..126 are ASCII, 8 is backspace. */
typedef void(VT_CDECL *HostPanelKeyFunc)(HostPanel *panel, void *userData, uint16_t key);

/* ---- 5. HostControl ---------------------------------------------------- */

/* A control handle points at this record; the host may keep more after it. */
struct HostControl {
    /* 0: draw the control in a DR_ mode. */
    void(VT_CDECL *draw)(HostControl *control, int32_t mode);
    /* 1: read a CTL_ tag into the value record (CTL_VALUE in the control's form). */
    void(VT_CDECL *get)(HostControl *control, int32_t tag, HostValue *value);
    /* 2: write a CTL_ tag from the value record. */
    void(VT_CDECL *set)(HostControl *control, int32_t tag, HostValue *value);
};

/* ---- 6. PanelServices -------------------------------------------------- */

typedef struct PanelServices {
    /* 0: make a panel with the given title; null on failure. */
    HostPanel *(VT_CDECL *create)(const char *title, void *data);
    /* 1: destroy a panel and every control it holds. */
    void(VT_CDECL *destroy)(HostPanel *panel);
    /* 2: show the panel; with PANF_MODAL_OK_CANCEL returns when closed, non-zero on OK. */
    int32_t(VT_CDECL *open)(HostPanel *panel, int32_t flags);
    HostUnusedSlot handle; /* 3 */
    HostUnusedSlot draw;   /* 4 */
    HostUnusedSlot close;  /* 5 */
    /* 6: read a PAN_ tag; out points at what the tag documents. */
    void(VT_CDECL *get)(HostPanel *panel, int32_t tag, void *out);
    /* 7: write a PAN_ tag; in is what the tag documents. */
    void(VT_CDECL *set)(HostPanel *panel, int32_t tag, void *in);
    /* 8: add a control of a host type ("FloatControl", ...) with a descriptor and
     * label; null on failure. Only between create and open. */
    HostControl *(VT_CDECL *addControl)(HostPanel *panel, const char *typeName, ControlDesc *desc,
                                        const char *label);
    HostUnusedSlot nextControl; /* 9 */
    HostUnusedSlot getControl;  /* 10 */
    void *user_data;            /* 11: data slot the plug-in may write */
    HostGlobalFunc globalFun;   /* 12: data slot: the global lookup, for the host's own use */
} PanelServices;

#ifdef __cplusplus
}

VT_SLOT(PanelServices, destroy, 1);
VT_SLOT(PanelServices, open, 2);
VT_SLOT(PanelServices, get, 6);
VT_SLOT(PanelServices, set, 7);
VT_SLOT(PanelServices, addControl, 8);
VT_SLOT(PanelServices, user_data, 11);
VT_SLOT(PanelServices, globalFun, 12);
VT_SLOT(HostControl, set, 2);

VT_I686_LAYOUT(PanelServices, 52);
VT_I686_LAYOUT(HostStringValue, 12);
VT_I686_LAYOUT(HostIntValue, 12);
VT_I686_OFFSET(HostIntValue, value, 4);
VT_I686_LAYOUT(HostFloatValue, 24);
VT_I686_OFFSET(HostFloatValue, value, 8);
VT_I686_OFFSET(HostFloatValue, defVal, 16);
VT_I686_LAYOUT(HostIVecValue, 20);
VT_I686_OFFSET(HostIVecValue, value, 4);
VT_I686_LAYOUT(HostFVecValue, 40);
VT_I686_OFFSET(HostFVecValue, value, 8);
VT_I686_LAYOUT(HostValue, 40);
VT_I686_LAYOUT(ControlDesc, 16);
VT_I686_OFFSET(ChoiceDesc, items, 4);
VT_I686_OFFSET(ChoiceDesc, vertical, 8);
VT_I686_OFFSET(RangeDesc, max, 12);
VT_I686_OFFSET(AreaDesc, height, 8);
#endif

#endif
