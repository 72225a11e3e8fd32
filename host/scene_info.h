/* scene_info.h - the scene queries: "LW Item Info" and "LW Light Info".
 * Both may be called at any time during an activation. */
#ifndef VANTOREL_SCENE_INFO_H
#define VANTOREL_SCENE_INFO_H

#include "host_abi.h"

#ifdef __cplusplus
extern "C" {
#endif

#define ITEM_INFO_NAME "LW Item Info"
#define LIGHT_INFO_NAME "LW Light Info"

typedef struct HostItem HostItem; /* opaque item ID; null means none */

enum { ITEM_TYPE_LIGHT = 1 }; /* item type for first(): lights */

/* Light flag bit: the light's range is limited, so its range matters. */
enum { LIGHT_FLAG_LIMITED_RANGE = 1u };

typedef struct ItemInfo {
    /* 0: first item of a type (ITEM_TYPE_LIGHT), children of parent or all; null if none. */
    HostItem *(VT_CDECL *first)(int32_t itemType, HostItem *parent);
    /* 1: the item after this one of the same type; null after the last. */
    HostItem *(VT_CDECL *next)(HostItem *item);
    HostUnusedSlot firstChild; /* 2 */
    HostUnusedSlot nextChild;  /* 3 */
    HostUnusedSlot parent;     /* 4 */
    HostUnusedSlot goal;       /* 5 */
    HostUnusedSlot target;     /* 6 */
    HostUnusedSlot pivot;      /* 7 */
    /* 8: the item's name; the text stays valid until the scene changes. */
    const char *(VT_CDECL *name)(HostItem *item);
} ItemInfo;

typedef struct LightInfo {
    HostUnusedSlot ambient; /* 0 */
    /* 1: light type code: 0 distant, 1 point, 2 spot, 3 linear, 4 area. */
    int32_t(VT_CDECL *type)(HostItem *light);
    /* 2: colour times intensity at a time in seconds, written as r, g, b. */
    void(VT_CDECL *color)(HostItem *light, double time, double rgb[3]);
    /* 3: shadow type code: 0 off, 1 ray traced, 2 shadow map. */
    int32_t(VT_CDECL *shadowType)(HostItem *light);
    HostUnusedSlot coneAngles; /* 4 */
    /* 5: flag word; LIGHT_FLAG_LIMITED_RANGE among others. */
    uint32_t(VT_CDECL *flags)(HostItem *light);
    /* 6: range in scene distance units. */
    double(VT_CDECL *range)(HostItem *light);
} LightInfo;

#ifdef __cplusplus
}

VT_SLOT(ItemInfo, next, 1);
VT_SLOT(ItemInfo, name, 8);
VT_SLOT(LightInfo, type, 1);
VT_SLOT(LightInfo, color, 2);
VT_SLOT(LightInfo, shadowType, 3);
VT_SLOT(LightInfo, flags, 5);
VT_SLOT(LightInfo, range, 6);
VT_I686_LAYOUT(ItemInfo, 36);
VT_I686_LAYOUT(LightInfo, 28);
#endif

#endif
