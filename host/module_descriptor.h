/* module_descriptor.h - what the host finds when it loads the library.
 *
 * The library exports one data symbol, _mod_descrip. Through it the host finds
 * startup and shutdown functions and a table of servers, each of which names a
 * class, a server name and an activation entry.
 */
#ifndef VANTOREL_MODULE_DESCRIPTOR_H
#define VANTOREL_MODULE_DESCRIPTOR_H

#include "host_abi.h"

#ifdef __cplusplus
extern "C" {
#endif

enum {
    MODULE_SYNC_WORD = 0x04121994, /* first word of every module descriptor */
    MODULE_SYSTEM_VERSION = 3,     /* module system version */
    MODULE_MACHINE_CODE = 0x300    /* machine type code */
};

/* Activation result codes. */
enum {
    AFUNC_OK = 0,         /* the run took place */
    AFUNC_BADVERSION = 1, /* the interface version is too old; nothing was done */
    AFUNC_BADGLOBAL = 2   /* a required host table is missing */
};

/* The host's global lookup: (table name, use mode 0) -> table, or null. */
typedef void *(VT_CDECL *HostGlobalFunc)(const char *name, int32_t useMode);

/* Activation entry: (interface version, global lookup, class-specific local
 * record, server data). Called on the host thread; returns an AFUNC_ code. */
typedef int32_t(VT_CDECL *HostActivateFunc)(int32_t version, HostGlobalFunc global, void *local,
                                            void *serverData);

typedef struct ServerRecord {
    const char *className;     /* host class, e.g. "LayoutGeneric"; null ends the table */
    const char *serverName;    /* name shown to the user */
    HostActivateFunc activate; /* entry called each time the user runs the server */
    void *tagInfo;             /* extra tag information, or null */
} ServerRecord;

typedef struct ModuleDescriptor {
    uint32_t sync;                               /* MODULE_SYNC_WORD */
    uint32_t sysVersion;                         /* MODULE_SYSTEM_VERSION */
    uint32_t machine;                            /* MODULE_MACHINE_CODE */
    void *(VT_CDECL *startup)(void);             /* called at load; non-null means ready */
    void(VT_CDECL *shutdown)(void *startupData); /* called before unload */
    const ServerRecord *servers;                 /* ended by an all-zero record */
} ModuleDescriptor;

/* Name under which the host looks the descriptor up. */
#define MODULE_DESCRIPTOR_SYMBOL "_mod_descrip"

#ifdef __cplusplus
}

VT_I686_LAYOUT(ServerRecord, 16);
VT_I686_LAYOUT(ModuleDescriptor, 24);
VT_I686_OFFSET(ModuleDescriptor, startup, 12);
VT_I686_OFFSET(ModuleDescriptor, servers, 20);
#endif

#endif
