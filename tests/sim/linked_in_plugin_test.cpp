// The linked-in loader with the plug-in's own objects linked into this test:
// one state for the whole program, made fresh by a reset hook.
#include <gtest/gtest.h>

#include <cstring>

#include "host.h"
#include "loader.h"
#include "model/editor_state.h"
#include "tests/support/deliver.h"

extern "C" ModuleDescriptor _mod_descrip;

namespace {

void zeroEditorRecord() {
    if (editorStatePointer) std::memset(editorStatePointer, 0, sizeof(EditorState));
}

// Copies Key's row, or pastes onto Fill; returns the info text after.
std::string copyOrPaste(const sim::PluginLibrary &lib, bool copy) {
    sim::Host host(scene::makeDemoScene());
    std::string info;
    const int rc = testsupport::runOpened(host, lib, [&](sim::Host &h) {
        DELIVER(h, sim::Action::clickName(copy ? "Key" : "Fill"));
        DELIVER(h, sim::Action::press(copy ? sim::Button::Copy : sim::Button::Paste));
        info = h.infoText();
        return sim::Close::Cancel;
    });
    EXPECT_EQ(rc, AFUNC_OK);
    EXPECT_TRUE(host.faults().empty());
    return info;
}

TEST(LinkedIn, TheSharedInstanceKeepsTheClipboardAndAResetOneStartsWithout) {
    using Instance = sim::PluginLibrary::Instance;
    {
        const sim::PluginLibrary lib = sim::PluginLibrary::linkedIn(_mod_descrip, Instance::Shared);
        EXPECT_EQ(copyOrPaste(lib, true), "Copy Intensity");
    }
    {
        const sim::PluginLibrary lib = sim::PluginLibrary::linkedIn(_mod_descrip, Instance::Shared);
        EXPECT_EQ(copyOrPaste(lib, false), "Paste Intensity");
    }
    const sim::PluginLibrary fresh =
        sim::PluginLibrary::linkedIn(_mod_descrip, Instance::Fresh, zeroEditorRecord);
    EXPECT_EQ(copyOrPaste(fresh, false), "Can't Paste");
    EXPECT_THROW((void)sim::PluginLibrary::linkedIn(_mod_descrip, Instance::Fresh), sim::LoadError);
}

}  // namespace
