// deliver.h - driver events in tests: each one must reach the plug-in.
//
//   runOpened(host, lib, [](sim::Host &h) {   // fails the test if the panel
//       DELIVER(h, Action::clickName("Key")); // never opens; DELIVER fails it,
//       ...                                   // with the reason, if the event
//       return sim::Close::Ok;                // was not delivered
//   });
//
// A test whose events go nowhere (no panel open, a control missing) would
// otherwise pass whenever it only checks that nothing happened. DELIVER is an
// EXPECT, so it works inside a driver, which returns a Close.
#ifndef VANTOREL_TESTS_SUPPORT_DELIVER_H
#define VANTOREL_TESTS_SUPPORT_DELIVER_H

#include <gtest/gtest.h>

#include <string>

#include "host.h"

namespace testsupport {

inline ::testing::AssertionResult delivered(sim::Host &h, const sim::Action &a) {
    const sim::Delivery d = deliver(h, a);
    if (d) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "not delivered: " << d.why;
}

// One activation whose panel must open: the test fails, saying so, when the
// driver never ran, since then none of the session's events and checks did.
inline int runOpened(sim::Host &host, const sim::PluginLibrary &lib, sim::Host::Driver driver) {
    bool ran = false;
    const int result = host.activate(lib, [&](sim::Host &h) {
        ran = true;
        return driver(h);
    });
    EXPECT_TRUE(ran) << "the panel never opened (result " << result << "), so the session did not run";
    return result;
}
inline int runOpened(sim::Host &host, HostActivateFunc entry, void *serverData, sim::Host::Driver driver) {
    bool ran = false;
    const int result = host.activate(entry, serverData, [&](sim::Host &h) {
        ran = true;
        return driver(h);
    });
    EXPECT_TRUE(ran) << "the panel never opened (result " << result << "), so the session did not run";
    return result;
}

// Why an action that is to be refused was: its reason, or "(delivered)" when
// it reached the plug-in after all.
inline std::string refusal(sim::Host &h, const sim::Action &a) {
    const sim::Delivery d = deliver(h, a);
    return d ? std::string("(delivered)") : d.why;
}

}  // namespace testsupport

#define DELIVER(host, action) EXPECT_TRUE(::testsupport::delivered((host), (action)))

#endif
