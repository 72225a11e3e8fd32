// OK with no edit gives every light back as the host reported it: colour x
// intensity within what the commands' six decimals can carry, and type,
// shadow type, range and flags unchanged. Checked over edge and random triples
// on what the host sees: the commands and the scene after them.
#include "plugin_fixture.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <random>

using namespace plugintest;
using sim::Close;

namespace {

// "%f" rounds to six decimals: half a unit of the sixth decimal. Reading that
// text back gives the double nearest to it, which is at most as far again (the
// value printed is itself a candidate). So a number that went through a
// command is within 1e-6 of the plug-in's.
constexpr double kPrinted = 1e-6;

// The product of two such numbers c and i is off by at most
// |c| kPrinted + |i| kPrinted + kPrinted^2 (c and i being the values the host
// stored), plus a few roundings of the split and of the product themselves.
double productTolerance(double colour, double intensity, double reported) {
    return kPrinted * (std::fabs(colour) + std::fabs(intensity) + kPrinted) +
           8 * DBL_EPSILON * std::fabs(reported);
}

struct Reported {
    double rgb[3];
};

std::string text(const double v[3]) {
    char buf[128];
    snprintf(buf, sizeof buf, "(%.17g, %.17g, %.17g)", v[0], v[1], v[2]);
    return buf;
}

// One activation on up to 510 lights, OK without an edit; every light is then
// checked against what the host reported before.
void checkUntouched(const sim::PluginLibrary &lib, const std::vector<scene::Light> &lights) {
    scene::Scene scene = sceneOf(lights);
    std::vector<Reported> before;
    for (const scene::Light &l : scene.lights) {
        Reported r;
        for (int k = 0; k < 3; ++k) r.rgb[k] = l.color[k] * l.intensity;
        before.push_back(r);
    }
    sim::Host host(scene);
    host.setLogging(false);
    ASSERT_EQ(testsupport::runOpened(host, lib, [](sim::Host &) { return Close::Ok; }), 0);
    for (const sim::CommandRecord &c : host.commandRecords())
        ASSERT_TRUE(c.accepted) << c.text << ": " << c.reason;

    for (size_t i = 0; i < lights.size(); ++i) {
        const scene::Light &was = scene.lights[i], &now = host.scene().lights[i];
        const std::string where = "light " + std::to_string(i) + ", reported " + text(before[i].rgb) +
                                  ", now colour " + text(now.color) + " at " + std::to_string(now.intensity);
        for (int k = 0; k < 3; ++k) {
            // The colour shown stays within +-1, so its printing costs the product
            // at most kPrinted x (1 + |intensity|).
            EXPECT_LE(std::fabs(now.color[k]), 1.0 + kPrinted) << where;
            const double product = now.color[k] * now.intensity;
            EXPECT_LE(std::fabs(product - before[i].rgb[k]),
                      productTolerance(now.color[k], now.intensity, before[i].rgb[k]))
                << where << ", component " << k;
        }
        EXPECT_EQ(now.lightType, was.lightType) << where;
        EXPECT_EQ(now.shadowType, was.shadowType) << where;
        EXPECT_EQ(now.flags, was.flags) << where;
        // The range goes out only for a limited one, and then through "%f" too.
        if (was.flags & 1u) EXPECT_LE(std::fabs(now.range - was.range), kPrinted) << where;
        else EXPECT_EQ(now.range, was.range) << where;
    }
}

// Lights whose colour times intensity is the triple given; the other settings vary.
scene::Light lightReporting(size_t n, double r, double g, double b, double intensity = 1.0) {
    scene::Light l = light("L" + std::to_string(n), static_cast<int>(n % 5), intensity, r, g, b);
    l.shadowType = static_cast<int32_t>(n % 3);
    l.flags = static_cast<uint32_t>(n % 4) | (n % 7 == 0 ? 0x80000000u : 0u);
    l.range = 0.25 * static_cast<double>(n % 11) + 1e-3;
    return l;
}

void checkInBatches(const sim::PluginLibrary &lib, const std::vector<scene::Light> &all) {
    for (size_t from = 0; from < all.size(); from += 500) {
        std::vector<scene::Light> batch(all.begin() + static_cast<long>(from),
                                        all.begin() + static_cast<long>(std::min(all.size(), from + 500)));
        checkUntouched(lib, batch);
        if (::testing::Test::HasFailure()) return;
    }
}

}  // namespace

class ScanProperty : public PluginTest {};

TEST_F(ScanProperty, EveryEdgeTripleComesBackAsReported) {
    // Signed zeros, denormals, the smallest normal, values just either side of
    // what six decimals show, ordinary, huge and the largest finite values.
    const double magnitudes[] = {
        0.0,   4.9e-324, 2.2250738585072014e-308, 1e-300, 1e-7, 4.9e-7, 5e-7, 1e-6, 0.4, 1.0, 255.0, 1e15,
        1e300, DBL_MAX};
    std::vector<double> values;
    for (double m : magnitudes) {
        values.push_back(m);
        values.push_back(-m);
    }
    std::vector<scene::Light> lights;
    for (double r : values)
        for (double g : values)
            for (double b : values) lights.push_back(lightReporting(lights.size(), r, g, b));
    checkInBatches(lib, lights);
}

TEST_F(ScanProperty, RandomTriplesAndLayoutSettingsComeBackAsReported) {
    std::mt19937_64 rnd(20261208);
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rnd); };
    auto anyMagnitude = [&]() {
        // Log-uniform over the whole finite range, denormals included; a fifth are zeros.
        if (rnd() % 5 == 0) return 0.0;
        return std::ldexp(uniform(0.5, 1.0), static_cast<int>(rnd() % 2098) - 1073);
    };
    auto sign = [&](double x) { return rnd() % 2 ? -x : x; };
    std::vector<scene::Light> lights;
    for (int n = 0; n < 6000; ++n) {
        const size_t id = lights.size();
        switch (n % 3) {
        case 0:  // any triple the host may report, as colour at intensity 1
            lights.push_back(
                lightReporting(id, sign(anyMagnitude()), sign(anyMagnitude()), sign(anyMagnitude())));
            break;
        case 1: {  // a colour as Layout's controls give it, at an intensity of either sign
            double c[3];
            for (double &x : c) x = rnd() % 4 == 0 ? 0.0 : static_cast<double>(rnd() % 256) / 255.0;
            lights.push_back(lightReporting(id, c[0], c[1], c[2], sign(uniform(0, 3))));
            break;
        }
        default: {  // one or two zero components, the others of one magnitude, mixed signs
            const double m = anyMagnitude();
            double c[3] = {sign(m * uniform(0.5, 1)), sign(m), sign(m * uniform(0, 1))};
            c[rnd() % 3] = sign(0.0);
            if (rnd() % 2) c[rnd() % 3] = sign(0.0);
            lights.push_back(lightReporting(id, c[0], c[1], c[2]));
            break;
        }
        }
    }
    checkInBatches(lib, lights);
}

TEST_F(ScanProperty, ANegativeLightShowsItsOwnColourAtANegativeIntensity) {
    // Colour (0.4, 0, 1) at -100%: the host reports (-0.4, -0, -1).
    sim::Host host(sceneOf({light("Blue", 2, -1.0, 0.4, 0.0, 1.0)}));
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("Blue"));
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, -100.0);
        EXPECT_EQ(h.control("color")->vec[0], 102);
        EXPECT_EQ(h.control("color")->vec[1], 0);
        EXPECT_EQ(h.control("color")->vec[2], 255);
        return Close::Ok;
    });
    EXPECT_EQ(
        slice(host.commands(), 2, 2),
        (std::vector<std::string>{"LightIntensity -1.000000", "LightColor 0.400000 0.000000 1.000000"}));
    EXPECT_DOUBLE_EQ(host.scene().lights[0].intensity, -1.0);
    EXPECT_DOUBLE_EQ(host.scene().lights[0].color[2], 1.0);
}
