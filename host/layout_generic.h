/* layout_generic.h - the record Layout hands to a LayoutGeneric activation. */
#ifndef VANTOREL_LAYOUT_GENERIC_H
#define VANTOREL_LAYOUT_GENERIC_H

#include "host_abi.h"

#ifdef __cplusplus
extern "C" {
#endif

#define LAYOUT_GENERIC_CLASS "LayoutGeneric"
enum { LAYOUT_GENERIC_MIN_VERSION = 2 }; /* oldest interface version served */

typedef struct LayoutGenericLocal {
    HostUnusedSlot saveScene;   /* 0 */
    HostUnusedSlot loadScene;   /* 1 */
    void *context;              /* 2: the host's context, first argument of evaluate */
    HostUnusedSlot commandName; /* 3 */
    HostUnusedSlot lookup;      /* 4 */
    /* 5: run one Layout command line such as "SelectItem 20000000"; the result
     * is the host's (0 when the command was not understood). */
    int32_t(VT_CDECL *evaluate)(void *context, const char *command);
} LayoutGenericLocal;

#ifdef __cplusplus
}

VT_SLOT(LayoutGenericLocal, context, 2);
VT_SLOT(LayoutGenericLocal, evaluate, 5);
VT_I686_LAYOUT(LayoutGenericLocal, 24);
#endif

#endif
