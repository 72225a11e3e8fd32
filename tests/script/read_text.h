// read_text.h - reading script text in tests.
#ifndef VANTOREL_TESTS_SCRIPT_READ_TEXT_H
#define VANTOREL_TESTS_SCRIPT_READ_TEXT_H

#include <gtest/gtest.h>

#include <string>

#include "script/reader.h"

namespace testsupport {

// The reader's refusal as "NAME:LINE: what", or "" when the text is taken.
inline std::string readError(const std::string &text, const std::string &name = "s.vts") {
    script::Script s;
    script::ReadError e;
    if (script::readScript(text, name, s, e)) return "";
    return name + ":" + std::to_string(e.line) + ": " + e.what;
}

// The script the text holds; the test fails if the reader refuses it.
inline script::Script readOrFail(const std::string &text, const std::string &name = "s.vts") {
    script::Script s;
    script::ReadError e;
    EXPECT_TRUE(script::readScript(text, name, s, e)) << name << ":" << e.line << ": " << e.what << "\n"
                                                      << text;
    return s;
}

}  // namespace testsupport

#endif
