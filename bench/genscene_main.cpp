// genscene_main.cpp - vantorel-genscene: writes a big LWSC 3 scene for timing.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "scene_gen.h"

namespace {

const char kHelp[] =
    "Usage: vantorel-genscene LIGHTS [--max-bytes N] [--seed S] [--crlf] [-o FILE]\n"
    "\n"
    "Writes an LWSC 3 scene of LIGHTS lights, each with its nine motion channels\n"
    "as one-key envelopes and its colour, intensity, type, range and shadow\n"
    "settings, as Layout writes them. The same arguments always give the same\n"
    "bytes. About 900 bytes a light: 80000 lights make about 70 MB.\n"
    "\n"
    "  LIGHTS         number of lights (a whole number)\n"
    "  --max-bytes N  write fewer lights if needed so that the file stays within N bytes\n"
    "                 (for instance 268435456 for a scene just under 256 MiB)\n"
    "  --seed S       seed of the values (default 1)\n"
    "  --crlf         end lines with CR LF instead of LF\n"
    "  -o FILE        write to FILE instead of standard output\n"
    "  -h, --help     this text\n"
    "\n"
    "Standard error gets one line: the number of lights and bytes written.\n"
    "Exit status: 0 written, 1 the file could not be written, 2 bad usage.\n";

int usage(const std::string &message) {
    (void)std::fprintf(stderr, "vantorel-genscene: %s\nRun vantorel-genscene --help for usage.\n",
                       message.c_str());
    return 2;
}

bool parseCount(const char *text, unsigned long long limit, unsigned long long &out) {
    if (!text || !*text || *text == '-' || *text == '+') return false;
    errno = 0;
    char *end = nullptr;
    const unsigned long long v = std::strtoull(text, &end, 10);
    if (*end != '\0' || errno == ERANGE || v > limit) return false;
    out = v;
    return true;
}

}  // namespace

int main(int argc, char **argv) {
    scenegen::Options options;
    std::string output = "-";
    bool haveCount = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char *value = i + 1 < argc ? argv[i + 1] : nullptr;
        unsigned long long n = 0;
        if (arg == "-h" || arg == "--help") {
            // Help that cannot be written (a closed standard output) is a write error.
            return std::fputs(kHelp, stdout) == EOF || std::fflush(stdout) != 0 ? 1 : 0;
        } else if (arg == "--max-bytes") {
            if (!parseCount(value, 1ull << 40, n) || n == 0)
                return usage("--max-bytes needs a positive whole number of bytes");
            options.maxBytes = static_cast<std::size_t>(n);
            ++i;
        } else if (arg == "--seed") {
            if (!parseCount(value, 0xffffffffull, n))
                return usage("--seed needs a whole number from 0 to 4294967295");
            options.seed = static_cast<std::uint32_t>(n);
            ++i;
        } else if (arg == "--crlf") {
            options.crlf = true;
        } else if (arg == "-o") {
            if (!value || !*value) return usage("-o needs a file name");
            output = value;
            ++i;
        } else if (!arg.empty() && arg[0] != '-' && !haveCount) {
            if (!parseCount(arg.c_str(), 100000000ull, n))
                return usage("LIGHTS must be a whole number up to 100000000, not '" + arg + "'");
            options.lights = static_cast<std::size_t>(n);
            haveCount = true;
        } else {
            return usage("unexpected argument '" + arg + "'");
        }
    }
    if (!haveCount) return usage("give the number of lights");

    std::size_t written = 0;
    const std::string scene = scenegen::makeScene(options, written);
    FILE *f = output == "-" ? stdout : std::fopen(output.c_str(), "wb");
    if (!f) {
        (void)std::fprintf(
            stderr,
            "vantorel-genscene: %s: cannot open for writing (%s); check the folder exists and is writable\n",
            output.c_str(), std::strerror(errno));
        return 1;
    }
    const bool ok = std::fwrite(scene.data(), 1, scene.size(), f) == scene.size();
    const bool closed = f == stdout ? std::fflush(f) == 0 && !std::ferror(f) : std::fclose(f) == 0;
    if (!ok || !closed) {
        (void)std::fprintf(stderr, "vantorel-genscene: %s: error while writing; the file is incomplete\n",
                           output.c_str());
        if (f != stdout && std::remove(output.c_str()) != 0)
            (void)std::fprintf(
                stderr, "vantorel-genscene: %s: cannot remove the incomplete file (%s); delete it by hand\n",
                output.c_str(), std::strerror(errno));
        return 1;
    }
    (void)std::fprintf(stderr, "%zu lights, %zu bytes\n", written, scene.size());
    return 0;
}
