// temp_dir.h - a temporary folder of this test process's own.
//
// Tests run in parallel (ctest -j) and beside other checkouts' runs on the same
// machine, so fixed names in the shared temporary folder would collide. Each
// process gets one folder, made on first use and removed when it exits.
#ifndef VANTOREL_TESTS_SUPPORT_TEMP_DIR_H
#define VANTOREL_TESTS_SUPPORT_TEMP_DIR_H

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace testsupport {

// The folder, with a slash at the end.
inline const std::string &privateTempDir() {
    static const std::string dir = [] {
        std::string pattern = ::testing::TempDir();
        if (pattern.empty() || pattern.back() != '/') pattern += '/';
        pattern += "vantorel-test-XXXXXX";
        if (!::mkdtemp(pattern.data())) return ::testing::TempDir();
        static std::string made;
        made = pattern;
        (void)std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(made, ec);
        });
        return pattern + "/";
    }();
    return dir;
}

}  // namespace testsupport

#endif
