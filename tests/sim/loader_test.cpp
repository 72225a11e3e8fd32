// Tests of loading the plug-in: refusals, fresh instances, state that carries
// over between activations of one loaded library.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "host.h"
#include "loader.h"
#include "tests/support/deliver.h"

using sim::Action;
using sim::Button;

namespace {

// The message of the LoadError that loading `path` throws, and its problem.
std::string refusal(const std::string &path, sim::LoadProblem expected,
                    sim::PluginLibrary::Instance instance = sim::PluginLibrary::Instance::Fresh,
                    const std::string &serverName = "vantorel") {
    try {
        (void)sim::PluginLibrary::load(path, instance, "LayoutGeneric", serverName);
    } catch (const sim::LoadError &e) {
        EXPECT_EQ(e.problem(), expected) << e.what();
        return e.what();
    }
    ADD_FAILURE() << "loaded " << path;
    return {};
}

TEST(Loader, RefusesMissingAndForeignFilesWithAClearMessage) {
    // What is wrong with the file, and no command-line option: that is the caller's to add.
    EXPECT_EQ(refusal("no-such-file.p", sim::LoadProblem::NoFile),
              "cannot load plug-in 'no-such-file.p': no such file");
    EXPECT_EQ(refusal(".", sim::LoadProblem::NoFile, sim::PluginLibrary::Instance::Shared),
              "cannot load plug-in '.': it is a folder, not a file");
    std::filesystem::path junk = std::filesystem::temp_directory_path() / "vantorel-loader-test-junk.p";
    {
        std::ofstream out(junk);
        out << "not a library\n";
    }
    for (auto instance : {sim::PluginLibrary::Instance::Fresh, sim::PluginLibrary::Instance::Shared}) {
        const std::string m = refusal(junk.string(), sim::LoadProblem::NotALibrary, instance);
        EXPECT_EQ(m.rfind("cannot load plug-in '" + junk.string() + "': ", 0), 0u) << m;
        EXPECT_NE(m.find("; check that it is a plug-in library built for this machine"), std::string::npos)
            << m;
        EXPECT_EQ(m.find("--"), std::string::npos) << m;
    }
    std::filesystem::remove(junk);
}

#ifdef VANTOREL_PLUGIN_PATH

TEST(Loader, FindsTheDescriptorAndServer) {
    sim::PluginLibrary lib = sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH);
    EXPECT_EQ(lib.descriptor().sync, static_cast<uint32_t>(MODULE_SYNC_WORD));
    EXPECT_NE(lib.activation(), nullptr);
    EXPECT_NE(lib.startupData(), nullptr);
    EXPECT_EQ(refusal(VANTOREL_PLUGIN_PATH, sim::LoadProblem::NotStarted, sim::PluginLibrary::Instance::Fresh,
                      "someone-else"),
              "'" VANTOREL_PLUGIN_PATH
              "' is not the expected plug-in: it has no LayoutGeneric server named "
              "'someone-else'");
}

#ifndef _WIN32
// A fresh instance needs its private copy; without a place for it nothing is
// loaded, while the shared instance needs none.
TEST(Loader, AFreshInstanceWithoutATemporaryFolderIsRefused) {
    const char *was = std::getenv("TMPDIR");
    const std::string saved = was ? was : "";
    ASSERT_EQ(setenv("TMPDIR", "/no-such-folder/vantorel", 1), 0);
    const std::string m = refusal(VANTOREL_PLUGIN_PATH, sim::LoadProblem::NoPrivateCopy);
    EXPECT_NO_THROW(
        (void)sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH, sim::PluginLibrary::Instance::Shared));
    if (was) setenv("TMPDIR", saved.c_str(), 1);
    else unsetenv("TMPDIR");
    EXPECT_EQ(m.rfind("cannot load plug-in '" VANTOREL_PLUGIN_PATH "': no temporary folder: ", 0), 0u) << m;
}
#endif

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
