// lws_test_util.h - helpers for the scene-file tests.
#ifndef VANTOREL_TESTS_SCENEFILE_LWS_TEST_UTIL_H
#define VANTOREL_TESTS_SCENEFILE_LWS_TEST_UTIL_H

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

}  // namespace lwstest

#endif
