// scene_gen.h - big LWSC 3 scenes for timing the scene-file path and the host.
//
// Each light is written the way Layout 6.5 writes one: its name, its nine
// motion channels (position, rotation, scale) as one-key envelopes, then its
// colour, intensity, type, cone and shadow settings. Values vary from light to
// light but follow from the light's index and the seed alone, so the same
// arguments always give the same bytes. Colours are whole 0-255 steps written
// as six-decimal fractions, the largest component 1, and intensities are
// positive, so a session that edits nothing writes the file back unchanged.
#ifndef VANTOREL_BENCH_SCENE_GEN_H
#define VANTOREL_BENCH_SCENE_GEN_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace scenegen {

struct Options {
    std::size_t lights = 0;    // lights to write
    std::size_t maxBytes = 0;  // when non-zero: stop before the file would exceed this size
    std::uint32_t seed = 1;
    bool crlf = false;  // "\r\n" line ends instead of "\n"
};

// The whole scene file. `written` receives the number of lights in it.
std::string makeScene(const Options &options, std::size_t &written);

}  // namespace scenegen

#endif
