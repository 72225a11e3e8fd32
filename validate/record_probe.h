// record_probe.h - the plug-in's record as the probe build's test hook shows
// it (probe/editor_probe.h), for the checks no host call can make.
#ifndef VANTOREL_VALIDATE_RECORD_PROBE_H
#define VANTOREL_VALIDATE_RECORD_PROBE_H

#include "loader.h"
#include "probe/editor_probe.h"

namespace validate {

class RecordProbe {
public:
    RecordProbe() = default;  // none: the checks of the record are not made
    explicit RecordProbe(VantorelEditorProbeFunc probe) : probe_(probe) {}
    // The probe the library exports, or none (the shipped plug-in has none).
    static RecordProbe of(const sim::PluginLibrary &lib);

    bool available() const { return probe_ != nullptr; }
    // The record as it is now; false without a probe, or before an activation
    // has set the record up.
    bool look(VantorelEditorView &view) const {
        return probe_ && probe_(VANTOREL_EDITOR_PROBE_VERSION, &view) == 1;
    }

private:
    VantorelEditorProbeFunc probe_ = nullptr;
};

// The checks only the probe makes possible, as the report names them.
extern const char *const kRecordChecks;

}  // namespace validate

#endif
