// The host's messages: one prefix scheme, a located form for file lines, and
// every line of a message marked.
#include <gtest/gtest.h>

#include <sstream>

#include "diagnostics.h"

namespace {

using vhost::Severity;

TEST(Diagnostics, EachSeverityHasTheProgramPrefix) {
    std::ostringstream err;
    vhost::Diagnostics d(err);
    d.error("the plug-in cannot be loaded");
    d.warning("the scene has 511 lights");
    d.note("nothing was saved");
    EXPECT_EQ(err.str(),
              "vantorel-host: error: the plug-in cannot be loaded\n"
              "vantorel-host: warning: the scene has 511 lights\n"
              "vantorel-host: note: nothing was saved\n");
    EXPECT_EQ(d.errors(), 1);
    EXPECT_EQ(d.warnings(), 1);
}

TEST(Diagnostics, AFileLineComesFirstAsACompilerPutsIt) {
    std::ostringstream err;
    vhost::Diagnostics d(err);
    d.errorAt("edits.vts", 4, "expect selected Fill: expected [\"Fill\"], saw []");
    d.reportAt(Severity::Warning, "s.lws", 0, "cannot open the file");
    EXPECT_EQ(err.str(),
              "edits.vts:4: error: expect selected Fill: expected [\"Fill\"], saw []\n"
              "vantorel-host: warning: s.lws: cannot open the file\n");
    EXPECT_EQ(d.errors(), 1);
}

TEST(Diagnostics, EveryLineOfALongMessageIsMarked) {
    EXPECT_EQ(vhost::diagnosticText(Severity::Error, "--png is a folder\n--save cannot be written\n"),
              "vantorel-host: error: --png is a folder\nvantorel-host: error: --save cannot be written");
    EXPECT_EQ(vhost::diagnosticText(Severity::Note, "a\n\nb", "x.vts", 2),
              "x.vts:2: note: a\nx.vts:2: note: \nx.vts:2: note: b");
}

TEST(Diagnostics, ASinkReportsThroughThePrinter) {
    std::ostringstream err;
    vhost::Diagnostics d(err);
    const vhost::DiagnosticSink sink = d.sink();
    sink(Severity::Note, "SDL: no display");
    EXPECT_EQ(err.str(), "vantorel-host: note: SDL: no display\n");
}

}  // namespace
