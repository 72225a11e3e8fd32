// The scene reader's numbers: the quick way for short decimals must give the
// very double strtod gives, bit for bit, and the rest must still be read.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "scenefile/lws_text.h"

namespace {

std::uint64_t bits(double v) {
    std::uint64_t b = 0;
    std::memcpy(&b, &v, sizeof v);
    return b;
}

void expectAsStrtod(const std::string &text) {
    double read = 12345;
    ASSERT_TRUE(scenefile::parseNumber(text, read)) << text;
    EXPECT_EQ(bits(read), bits(std::strtod(text.c_str(), nullptr))) << text;
}

TEST(LwsNumbers, ReadEveryDecimalAsStrtodDoes) {
    // Edges of the quick way: 2^53 and one more, 22 and 23 places, 19 and 20
    // digits, signs, zeros, no digit before or after the point.
    for (const char *t : {"0",
                          "-0",
                          "-0.0",
                          "+1",
                          "0.388235",
                          "9007199254740992",
                          "9007199254740993",
                          "0.0000000000000000000001",
                          "0.00000000000000000000001",
                          "1234567890123456789",
                          "12345678901234567890",
                          "0.1",
                          "0.2",
                          "0.3",
                          ".5",
                          "5.",
                          "-.25",
                          "1e3",
                          "1.5E-2",
                          "4.9e-324",
                          "2.2250738585072014e-308"})
        expectAsStrtod(t);
    // The largest double, all 309 digits of it.
    char largest[400];
    std::snprintf(largest, sizeof largest, "%.0f", DBL_MAX);
    expectAsStrtod(largest);

    // Random decimals as scene files write them (six places) and as people
    // type them (any number of digits and places).
    std::mt19937_64 rnd(20261209);
    char buf[64];
    for (int i = 0; i < 200000; ++i) {
        const double v = std::ldexp(static_cast<double>(rnd() >> 11), -static_cast<int>(rnd() % 64));
        std::snprintf(buf, sizeof buf, "%.*f", static_cast<int>(rnd() % 31), (rnd() & 1) ? -v : v);
        expectAsStrtod(buf);
        // Up to 19 digits with the point anywhere, after up to 12 zeros.
        const std::string digits =
            std::string(rnd() % 13, '0') + std::to_string(rnd() % 10000000000000000000ull);
        const std::size_t point = rnd() % (digits.size() + 1);
        expectAsStrtod(digits.substr(0, point) + "." + digits.substr(point));
    }
}

TEST(LwsNumbers, RefuseWhatIsNoDecimal) {
    double v = 7;
    for (const char *t : {"", "-", ".", "1e", "0x10", "1.2.3", "1,5", "inf", "nan", "1e999", " 1"})
        EXPECT_FALSE(scenefile::parseNumber(t, v)) << t;
    EXPECT_EQ(v, 7);
}

}  // namespace
