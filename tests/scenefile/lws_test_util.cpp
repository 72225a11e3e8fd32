#include "lws_test_util.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace lwstest {

std::string readBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string fixture(const std::string &name) {
    std::string bytes = readBytes(std::string(VANTOREL_SCENEFILE_FIXTURES) + "/" + name);
    EXPECT_FALSE(bytes.empty()) << "missing fixture " << name;
    return bytes;
}

scenefile::LwsDocument parseOrFail(const std::string &bytes, const std::string &name) {
    scenefile::LwsDocument doc;
    scenefile::LoadError err;
    const bool ok = scenefile::LwsDocument::parse(bytes, name, doc, err);
    EXPECT_TRUE(ok) << err.toString();
    return doc;
}

std::vector<std::string> splitKeepEol(const std::string &bytes) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            out.push_back(bytes.substr(start, i + 1 - start));
            start = i + 1;
        }
    }
    if (start < bytes.size()) out.push_back(bytes.substr(start));
    return out;
}

double fromPrintf(double v) {
    char buf[512];
    std::snprintf(buf, sizeof buf, "%f", v);
    return std::strtod(buf, nullptr);
}

scene::Scene asPluginSendsBack(const scene::Scene &scene) {
    scene::Scene out = scene;
    for (scene::Light &l : out.lights) {
        double p[3];
        for (int c = 0; c < 3; ++c) p[c] = l.color[c] * l.intensity;
        const double m = p[0] > p[1] ? p[0] : p[1];
        const double intensity = m > p[2] ? m : p[2];
        l.intensity = fromPrintf(intensity);
        for (int c = 0; c < 3; ++c) {
            // A black light has no defined colour; white is sent for it.
            l.color[c] = fromPrintf(intensity != 0.0 ? p[c] / intensity : 1.0);
        }
        if (l.flags & 1u) l.range = fromPrintf(l.range);
        // Its type command for a code outside 0..4 selects a distant light.
        if (l.lightType < 0 || l.lightType > 4) l.lightType = 0;
    }
    return out;
}

RenderedEdit renderAgainstUnedited(const scenefile::LwsDocument &doc, const scene::Scene &edited) {
    RenderedEdit r;
    const scene::Scene unedited = asPluginSendsBack(doc.scene());
    r.bytes = doc.render(edited, &unedited, r.notes);
    return r;
}

std::vector<std::string> changedLines(const std::string &before, const std::string &after) {
    const auto a = splitKeepEol(before);
    const auto b = splitKeepEol(after);
    EXPECT_EQ(a.size(), b.size());
    std::vector<std::string> out;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i] != b[i]) out.push_back(b[i]);
    }
    return out;
}

std::size_t countMentions(const std::vector<std::string> &lines, const std::string &a, const std::string &b) {
    std::size_t n = 0;
    for (const auto &l : lines) n += l.find(a) != std::string::npos && l.find(b) != std::string::npos;
    return n;
}

}  // namespace lwstest
