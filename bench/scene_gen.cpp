// scene_gen.cpp - big LWSC 3 scenes (see scene_gen.h).
#include "scene_gen.h"

#include <cstdio>

namespace scenegen {

namespace {

// A small deterministic generator (xorshift32); never 0 for a non-zero state.
struct Random {
    std::uint32_t state;
    explicit Random(std::uint32_t seed) : state(seed ? seed : 0x9e3779b9u) {}
    std::uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    // Uniform in [lo, hi).
    double range(double lo, double hi) { return lo + (hi - lo) * (next() / 4294967296.0); }
};

// Six decimals, trailing zeros and point removed, as LWSC 3 writes numbers.
void appendNumber(std::string &out, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6f", v);
    std::string s = buf;
    if (s.find('.') != std::string::npos) {
        while (!s.empty() && s.back() == '0') s.pop_back();
        if (!s.empty() && s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    out += s;
}

class Writer {
public:
    Writer(std::string &out, bool crlf) : out_(out), eol_(crlf ? "\r\n" : "\n") {}
    Writer &operator<<(const char *s) {
        out_ += s;
        return *this;
    }
    Writer &operator<<(const std::string &s) {
        out_ += s;
        return *this;
    }
    Writer &operator<<(double v) {
        appendNumber(out_, v);
        return *this;
    }
    Writer &operator<<(std::size_t v) {
        out_ += std::to_string(v);
        return *this;
    }
    Writer &operator<<(int v) {
        out_ += std::to_string(v);
        return *this;
    }
    void end() { out_ += eol_; }

private:
    std::string &out_;
    const char *eol_;
};

void writeHeader(Writer &w) {
    w << "LWSC";
    w.end();
    w << "3";
    w.end();
    w.end();
    w << "FirstFrame 1";
    w.end();
    w << "LastFrame 60";
    w.end();
    w << "FrameStep 1";
    w.end();
    w << "PreviewFirstFrame 0";
    w.end();
    w << "PreviewLastFrame 60";
    w.end();
    w << "PreviewFrameStep 1";
    w.end();
    w << "CurrentFrame 0";
    w.end();
    w << "FramesPerSecond 30";
    w.end();
    w.end();
}

void writeLight(Writer &w, std::size_t index, Random &rnd) {
    w << "AddLight";
    w.end();
    w << "LightName Light " << (index + 1);
    w.end();
    w << "ShowLight 1 5";
    w.end();
    w << "LightMotion";
    w.end();
    w << "NumChannels 9";
    w.end();
    for (int c = 0; c < 9; ++c) {
        double v;
        if (c < 3) v = rnd.range(-50.0, 50.0);             // position
        else if (c < 6) v = rnd.range(-3.14159, 3.14159);  // heading, pitch, bank
        else v = 1.0;                                      // scale
        w << "Channel " << c;
        w.end();
        w << "{ Envelope";
        w.end();
        w << "  1";
        w.end();
        w << "  Key " << v << " 0 0 0 0 0 0 0 0";
        w.end();
        w << "  Behaviors 1 1";
        w.end();
        w << "}";
        w.end();
    }
    w.end();
    // Colour: whole 0-255 steps with the largest component 255, so that the
    // light's colour and intensity are the split the editor shows.
    double rgb[3];
    for (double &x : rgb) x = static_cast<double>(rnd.next() % 256u) / 255.0;
    rgb[rnd.next() % 3u] = 1.0;
    const int type = static_cast<int>(rnd.next() % 5u);
    const int shadow = static_cast<int>(rnd.next() % 3u);
    const double intensity = static_cast<double>(1u + rnd.next() % 200u) / 100.0;
    const bool limited = rnd.next() % 4u == 0u;
    w << "LightColor " << rgb[0] << " " << rgb[1] << " " << rgb[2];
    w.end();
    w << "LightIntensity " << intensity;
    w.end();
    w << "AffectCaustics 0";
    w.end();
    w << "LightType " << type;
    w.end();
    if (limited) {
        w << "LightFalloffType 1";
        w.end();
        w << "LightRange " << static_cast<double>(1u + rnd.next() % 1000u) / 10.0;
        w.end();
    }
    if (type == 2) {
        w << "LightConeAngle 30";
        w.end();
        w << "LightEdgeAngle 5";
        w.end();
    }
    w << "ShadowType " << shadow;
    w.end();
    w << "ShadowColor 0 0 0";
    w.end();
    w.end();
}

void writeTrailer(Writer &w) {
    w << "AddCamera";
    w.end();
    w << "CameraName Camera";
    w.end();
    w << "ShowCamera 1 2";
    w.end();
    w << "ZoomFactor 3.2";
    w.end();
    w.end();
    w << "AmbientColor 1 1 1";
    w.end();
    w << "AmbientIntensity 0.25";
    w.end();
    w.end();
    w << "RenderMode 2";
    w.end();
    w << "RayTraceEffects 0";
    w.end();
}

}  // namespace

std::string makeScene(const Options &options, std::size_t &written) {
    std::string out, trailer, light;
    Writer head(out, options.crlf);
    writeHeader(head);
    Writer tail(trailer, options.crlf);
    writeTrailer(tail);
    std::size_t expected = options.lights * 1000u + trailer.size();
    if (options.maxBytes != 0 && options.maxBytes < expected) expected = options.maxBytes;
    out.reserve(expected);
    Random rnd(options.seed);
    written = 0;
    for (std::size_t i = 0; i < options.lights; ++i) {
        light.clear();
        Writer w(light, options.crlf);
        writeLight(w, i, rnd);
        if (options.maxBytes != 0 && out.size() + light.size() + trailer.size() > options.maxBytes) break;
        out += light;
        ++written;
    }
    out += trailer;
    return out;
}

}  // namespace scenegen
