// two_servers.cpp - a stand-in plug-in whose descriptor lists a second server
// and whose activation does nothing; the descriptor check must fail it.
#include "host/layout_generic.h"
#include "host/module_descriptor.h"

static void *VT_CDECL start(void) { return reinterpret_cast<void *>(static_cast<intptr_t>(4)); }
static void VT_CDECL stop(void *) {}
static int32_t VT_CDECL activate(int32_t, HostGlobalFunc, void *, void *) { return AFUNC_OK; }

static const ServerRecord servers[] = {
    {LAYOUT_GENERIC_CLASS, "vantorel", activate, nullptr},
    {LAYOUT_GENERIC_CLASS, "vantorel-extra", activate, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

extern "C" {
__attribute__((visibility("default"))) extern ModuleDescriptor _mod_descrip;
ModuleDescriptor _mod_descrip = {MODULE_SYNC_WORD, MODULE_SYSTEM_VERSION, MODULE_MACHINE_CODE, start, stop,
                                 servers};
}
