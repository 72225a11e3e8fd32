// deliver.h - driver events in tests: each one must reach the plug-in.
//
//   DELIVER(h, Action::clickName("Key"));   // fails the test, with the reason,
//                                           // if the event was not delivered
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

// Why an action that is to be refused was: its reason, or "(delivered)" when
// it reached the plug-in after all.
inline std::string refusal(sim::Host &h, const sim::Action &a) {
    const sim::Delivery d = deliver(h, a);
    return d ? std::string("(delivered)") : d.why;
}

}  // namespace testsupport

#define DELIVER(host, action) EXPECT_TRUE(::testsupport::delivered((host), (action)))

#endif
