// Tests of the descriptor step and the linked-in loader on hand-made module
// descriptors: no file, no platform loader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loader.h"
#include "plugin_instance.h"

namespace {

// What the hand-made plug-ins below were asked to do, in order.
std::vector<std::string> &calls() {
    static std::vector<std::string> log;
    return log;
}

int startupToken = 7;
void *VT_CDECL startOk() {
    calls().push_back("startup");
    return &startupToken;
}
void *VT_CDECL startRefused() {
    calls().push_back("startup");
    return nullptr;
}
void VT_CDECL stop(void *data) {
    calls().push_back(data == &startupToken ? "shutdown" : "shutdown(wrong data)");
}
int32_t VT_CDECL first(int32_t, HostGlobalFunc, void *, void *) { return 1; }
int32_t VT_CDECL second(int32_t, HostGlobalFunc, void *, void *) { return 2; }

const ServerRecord kEnd = {nullptr, nullptr, nullptr, nullptr};
const ServerRecord kOne[] = {{"LayoutGeneric", "vantorel", first, nullptr}, kEnd};
const ServerRecord kOther[] = {{"LayoutGeneric", "someone-else", first, nullptr}, kEnd};
const ServerRecord kNoEntry[] = {{"LayoutGeneric", "vantorel", nullptr, nullptr}, kEnd};
// The one asked for comes second, under a name listed twice: the first of
// that name counts.
const ServerRecord kSeveral[] = {
    {"LayoutGeneric", "other", first, nullptr},    {"ImageFilter", "vantorel", first, nullptr},
    {"LayoutGeneric", nullptr, first, nullptr},    {"LayoutGeneric", "vantorel", second, nullptr},
    {"LayoutGeneric", "vantorel", first, nullptr}, kEnd};

ModuleDescriptor descriptor(const ServerRecord *servers, void *(VT_CDECL *startup)() = startOk) {
    return {MODULE_SYNC_WORD, MODULE_SYSTEM_VERSION, MODULE_MACHINE_CODE, startup, stop, servers};
}

TEST(PluginInstance, EachRefusalNamesTheCheckThatFailedAndEndsWhatWasStarted) {
    struct Case {
        const char *name;
        ModuleDescriptor d;
        bool null;
        sim::StartProblem problem;
        std::vector<std::string> calls;
        const char *message;
    };
    ModuleDescriptor wrongSync = descriptor(kOne);
    wrongSync.sync = 0x12345678;
    ModuleDescriptor noStartup = descriptor(kOne, nullptr);
    const std::vector<std::string> none, started = {"startup"}, ended = {"startup", "shutdown"};
    const Case cases[] = {
        {"nothing found", descriptor(kOne), true, sim::StartProblem::NoDescriptor, none,
         "'p.p' is not a Layout plug-in: it exports no _mod_descrip"},
        {"sync word", wrongSync, false, sim::StartProblem::WrongSyncWord, none,
         "'p.p' is not a Layout plug-in: its module descriptor has a wrong synchronisation word"},
        {"no startup", noStartup, false, sim::StartProblem::Incomplete, none,
         "'p.p' has an incomplete module descriptor (no startup function or server table)"},
        {"no server table", descriptor(nullptr), false, sim::StartProblem::Incomplete, none,
         "'p.p' has an incomplete module descriptor (no startup function or server table)"},
        {"startup null", descriptor(kOne, startRefused), false, sim::StartProblem::StartupRefused, started,
         "plug-in 'p.p' refused to start: its startup function returned null"},
        {"no such server", descriptor(kOther), false, sim::StartProblem::NoSuchServer, ended,
         "'p.p' is not the expected plug-in: it has no LayoutGeneric server named 'vantorel'"},
        {"no activation", descriptor(kNoEntry), false, sim::StartProblem::NoActivation, ended,
         "plug-in 'p.p': server vantorel has no activation entry"},
    };
    for (const Case &c : cases) {
        calls().clear();
        sim::StartedInstance s = sim::startInstance(c.null ? nullptr : &c.d);
        EXPECT_FALSE(s.instance) << c.name;
        EXPECT_EQ(s.error.problem, c.problem) << c.name;
        EXPECT_EQ(s.error.message("p.p"), c.message) << c.name;
        EXPECT_EQ(calls(), c.calls) << c.name;
    }
}

TEST(PluginInstance, FindsTheNamedServerAndShutsDownOnceWhenTheLastHolderEnds) {
    const ModuleDescriptor d = descriptor(kSeveral);
    calls().clear();
    {
        sim::StartedInstance s = sim::startInstance(&d);
        ASSERT_TRUE(s.instance);
        EXPECT_EQ(s.error.problem, sim::StartProblem::None);
        EXPECT_EQ(s.instance->activation(), &second);
        EXPECT_EQ(s.instance->startupData(), &startupToken);
        EXPECT_EQ(&s.instance->descriptor(), &d);
        sim::PluginInstance moved = std::move(*s.instance);
        s.instance.reset();  // the moved-from one ends without a shutdown
        EXPECT_EQ(calls(), std::vector<std::string>{"startup"});
    }
    EXPECT_EQ(calls(), (std::vector<std::string>{"startup", "shutdown"}));

    sim::StartedInstance other = sim::startInstance(&d, {"LayoutGeneric", "other"});
    ASSERT_TRUE(other.instance);
    EXPECT_EQ(other.instance->activation(), &first);
    EXPECT_EQ(sim::startInstance(&d, {"ImageFilter", "other"}).error.problem,
              sim::StartProblem::NoSuchServer);
}

void zeroState() { calls().push_back("reset"); }

TEST(LinkedIn, AFreshInstanceNeedsAResetHookAndTheOneStateUnused) {
    const ModuleDescriptor d = descriptor(kOne);
    using Instance = sim::PluginLibrary::Instance;
    calls().clear();
    try {
        (void)sim::PluginLibrary::linkedIn(d, Instance::Fresh);
        FAIL() << "a fresh instance without a way to zero the state";
    } catch (const sim::LoadError &e) {
        EXPECT_EQ(e.problem(), sim::LoadProblem::NoFreshInstance);
        EXPECT_NE(std::string(e.what()).find("needs a reset hook"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(calls().empty()) << "nothing may run when refused";
    {
        const sim::PluginLibrary fresh = sim::PluginLibrary::linkedIn(d, Instance::Fresh, zeroState);
        EXPECT_EQ(calls(), (std::vector<std::string>{"reset", "startup"}));
        EXPECT_EQ(fresh.activation(), &first);
        EXPECT_EQ(fresh.path(), "linked in");
        // While it lives, its state is in use: shared is fine, fresh is not.
        const sim::PluginLibrary shared = sim::PluginLibrary::linkedIn(d, Instance::Shared);
        try {
            (void)sim::PluginLibrary::linkedIn(d, Instance::Fresh, zeroState);
            FAIL() << "a second fresh instance of the one state";
        } catch (const sim::LoadError &e) {
            EXPECT_EQ(e.problem(), sim::LoadProblem::NoFreshInstance);
            EXPECT_NE(std::string(e.what()).find("another instance of it is in use"), std::string::npos)
                << e.what();
        }
    }
    EXPECT_EQ(calls(), (std::vector<std::string>{"reset", "startup", "startup", "shutdown", "shutdown"}));
    calls().clear();
    { const sim::PluginLibrary again = sim::PluginLibrary::linkedIn(d, Instance::Fresh, zeroState); }
    EXPECT_EQ(calls(), (std::vector<std::string>{"reset", "startup", "shutdown"}));

    // The descriptor step's refusals come through, and leave the state unused.
    const ModuleDescriptor bad = descriptor(kOther);
    try {
        (void)sim::PluginLibrary::linkedIn(bad, Instance::Fresh, zeroState);
        FAIL() << "started without its server";
    } catch (const sim::LoadError &e) {
        EXPECT_EQ(e.problem(), sim::LoadProblem::NotStarted);
        EXPECT_EQ(e.startProblem(), sim::StartProblem::NoSuchServer);
    }
    EXPECT_NO_THROW((void)sim::PluginLibrary::linkedIn(bad, Instance::Fresh, zeroState,
                                                       {"LayoutGeneric", "someone-else"}));
}

}  // namespace
