/* host_abi.h - calling convention and layout helpers shared by every host header.
 *
 * Layout calls every plug-in entry and every table slot with the C calling
 * convention. On 32-bit Windows that is __cdecl (caller pops the arguments);
 * on the 64-bit test build there is only one convention, so the macro is empty.
 */
#ifndef VANTOREL_HOST_ABI_H
#define VANTOREL_HOST_ABI_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) && (defined(__i386__) || defined(_M_IX86))
#define VT_CDECL __cdecl
#define VT_HOST_I686_WINDOWS 1
#else
#define VT_CDECL
#define VT_HOST_I686_WINDOWS 0
#endif

/* A slot the host fills but the plug-in never calls. Kept so that every named
 * slot of a table sits at its number. */
typedef void(VT_CDECL *HostUnusedSlot)(void);

/* Layout checks for the i686 Windows build only; the 64-bit test build has
 * wider pointers by design. */
#if VT_HOST_I686_WINDOWS && defined(__cplusplus)
#define VT_I686_LAYOUT(type, size) static_assert(sizeof(type) == (size), #type " size on i686")
#define VT_I686_OFFSET(type, field, off) \
    static_assert(offsetof(type, field) == (off), #type "." #field " offset on i686")
#else
#define VT_I686_LAYOUT(type, size)
#define VT_I686_OFFSET(type, field, off)
#endif

/* The slot a table field must sit at, in pointers from the table's start. */
#if defined(__cplusplus)
#define VT_SLOT(type, field, slot) \
    static_assert(offsetof(type, field) == (slot) * sizeof(void *), #type "." #field " slot")
#else
#define VT_SLOT(type, field, slot)
#endif

#endif
