/* messages.h - the "Info Messages 2" table: message boxes for the user.
 * May be called at any time during an activation. */
#ifndef VANTOREL_MESSAGES_H
#define VANTOREL_MESSAGES_H

#include "host_abi.h"

#ifdef __cplusplus
extern "C" {
#endif

#define MESSAGES_NAME "Info Messages 2"

typedef struct MessageFuncs {
    HostUnusedSlot info; /* 0 */
    /* 1: show an error box with one or two lines; the second may be null. */
    void(VT_CDECL *error)(const char *text, const char *secondText);
} MessageFuncs;

#ifdef __cplusplus
}

VT_SLOT(MessageFuncs, error, 1);
VT_I686_LAYOUT(MessageFuncs, 8);
#endif

#endif
