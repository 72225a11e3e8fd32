// record_probe.cpp - finding the probe build's test hook in a loaded library.
#include "record_probe.h"

#include <cstring>

namespace validate {

RecordProbe RecordProbe::of(const sim::PluginLibrary &lib) {
    void *symbol = lib.symbol(VANTOREL_EDITOR_PROBE_SYMBOL);
    if (!symbol) return {};
    // The loader hands over an address; the hook is a function.
    VantorelEditorProbeFunc probe = nullptr;
    static_assert(sizeof probe == sizeof symbol, "function and data pointers have one size here");
    std::memcpy(&probe, &symbol, sizeof probe);
    return RecordProbe(probe);
}

const char *const kRecordChecks =
    "no row past the filled ones written, the copy buffer written by copy alone and carried over "
    "between activations, the rows the scan filled, the prefix as the record holds it (empty at each "
    "start, at most 255 characters), and the record left alone by a start that fails";

}  // namespace validate
