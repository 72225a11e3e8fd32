// Tests of loading the plug-in: refusals, fresh instances, state that carries
// over between activations of one loaded library.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "host.h"
#include "loader.h"
#include "tests/support/deliver.h"

using sim::Action;
using sim::Button;

namespace {

TEST(Loader, RefusesMissingAndForeignFilesWithAClearMessage) {
    try {
        sim::PluginLibrary::load("no-such-file.p");
        FAIL() << "loaded a missing file";
    } catch (const sim::LoadError &e) {
        EXPECT_NE(std::string(e.what()).find("no such file"), std::string::npos) << e.what();
    }
    std::filesystem::path junk = std::filesystem::temp_directory_path() / "vantorel-loader-test-junk.p";
    {
        std::ofstream out(junk);
        out << "not a library\n";
    }
    EXPECT_THROW(sim::PluginLibrary::load(junk.string()), sim::LoadError);
    std::filesystem::remove(junk);
}

#ifdef VANTOREL_PLUGIN_PATH

TEST(Loader, FindsTheDescriptorAndServer) {
    sim::PluginLibrary lib = sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH);
    EXPECT_EQ(lib.descriptor().sync, static_cast<uint32_t>(MODULE_SYNC_WORD));
    EXPECT_NE(lib.activation(), nullptr);
    EXPECT_NE(lib.startupData(), nullptr);
    EXPECT_THROW(sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH, sim::PluginLibrary::Instance::Fresh,
                                          "LayoutGeneric", "someone-else"),
                 sim::LoadError);
}

// Copy in one activation, paste in the next: the clipboard lives as long as
// the library. A fresh load starts without it.
TEST(Loader, ActivationsOfOneLibraryShareStateAndFreshLoadsDoNot) {
    sim::PluginLibrary lib = sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH);
    sim::Host host(scene::makeDemoScene());
    ASSERT_EQ(testsupport::runOpened(host, lib,
                                     [](sim::Host &h) {
                                         DELIVER(h, Action::clickName("Key"));
                                         DELIVER(h, Action::press(Button::Copy));
                                         return sim::Close::Cancel;
                                     }),
              0);
    sim::Host second(scene::makeDemoScene());
    testsupport::runOpened(second, lib, [](sim::Host &h) {
        DELIVER(h, Action::clickName("Fill"));
        DELIVER(h, Action::press(Button::Paste));
        EXPECT_EQ(h.infoText(), "Paste Intensity");
        return sim::Close::Ok;
    });
    // Fill (the second light) now carries Key's limited range.
    EXPECT_DOUBLE_EQ(second.scene().lights[1].range, 12.5);

    sim::PluginLibrary fresh = sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH);
    sim::Host third(scene::makeDemoScene());
    testsupport::runOpened(third, fresh, [](sim::Host &h) {
        DELIVER(h, Action::clickName("Fill"));
        DELIVER(h, Action::press(Button::Paste));
        EXPECT_EQ(h.infoText(), "Can't Paste");
        return sim::Close::Cancel;
    });
    EXPECT_TRUE(host.faults().empty());
    EXPECT_TRUE(second.faults().empty());
    EXPECT_EQ(third.livePanels() + third.liveRasters(), 0);
}

#endif

}  // namespace
