// lws_test_util.h - helpers for the scene-file tests.
#ifndef VANTOREL_TESTS_SCENEFILE_LWS_TEST_UTIL_H
#define VANTOREL_TESTS_SCENEFILE_LWS_TEST_UTIL_H

#include <cstddef>
#include <string>
#include <vector>

#include "scenefile/lws_document.h"

namespace lwstest {

std::string readBytes(const std::string &path);
std::string fixture(const std::string &name);  // bytes of tests/scenefile/fixtures/NAME

// Parses or fails the current test.
scenefile::LwsDocument parseOrFail(const std::string &bytes, const std::string &name);

// Splits into lines with their line ends kept, so lines compare byte for byte.
std::vector<std::string> splitKeepEol(const std::string &bytes);

// What the host sees and sends back for a light: colour x intensity at time 0,
// split into intensity = largest component and colour = product / intensity,
// each value printed with %f and read back as the simulated Layout would; a
// type outside 0..4 comes back as 0 (distant).
scene::Scene asPluginSendsBack(const scene::Scene &scene);

double fromPrintf(double v);  // %f, then parsed

// A document rendered with `edited` against what an OK without edits sends.
struct RenderedEdit {
    std::string bytes;
    scenefile::LwsDocument::Notes notes;
};
RenderedEdit renderAgainstUnedited(const scenefile::LwsDocument &doc, const scene::Scene &edited);

// Lines of `after` that differ from `before`; the test fails unless both have
// the same count.
std::vector<std::string> changedLines(const std::string &before, const std::string &after);

// How many of `lines` hold both `a` and `b`.
std::size_t countMentions(const std::vector<std::string> &lines, const std::string &a, const std::string &b);
inline bool mentions(const std::vector<std::string> &lines, const std::string &a, const std::string &b) {
    return countMentions(lines, a, b) > 0;
}

}  // namespace lwstest

#endif
