// session_fuzz.cpp - libFuzzer target: bytes become scenes and sessions of
// panel actions (session_decoder.h); the plug-in (linked in) runs them on the
// simulated Layout and every check of vantorel-host --validate applies, the
// light-table model included. Any problem aborts, so the fuzzer keeps the
// input.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "check.h"
#include "host.h"
#include "loader.h"
#include "model/editor_state.h"
#include "record_probe.h"
#include "session.h"
#include "session_decoder.h"

extern "C" ModuleDescriptor _mod_descrip;
// The probe build's hook, linked in with the plug-in (validate/probe/).
extern "C" int32_t vantorelEditorProbe(int32_t version, VantorelEditorView *view);

namespace {

// The plug-in's objects are linked in, so its state exists once; this zeroes
// it as a fresh load would (the editor record exists once the first
// activation has named it).
void resetPlugIn() {
    if (editorStatePointer) std::memset(editorStatePointer, 0, sizeof(EditorState));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const validate::Session s = fuzz::decodeSession(data, size);
    if (s.empty()) return 0;
    // Each input starts from a fresh instance: an all-zero editor record.
    const sim::PluginLibrary lib =
        sim::PluginLibrary::linkedIn(_mod_descrip, sim::PluginLibrary::Instance::Fresh, resetPlugIn);
    std::string problem = validate::checkSession(
        [&](sim::Host &host, sim::Host::Driver driver) { return host.activate(lib, std::move(driver)); }, s,
        validate::RecordProbe(&vantorelEditorProbe));
    if (!problem.empty()) {
        std::fprintf(stderr, "session check failed: %s\n%s", problem.c_str(), validate::describe(s).c_str());
        std::abort();
    }
    return 0;
}
