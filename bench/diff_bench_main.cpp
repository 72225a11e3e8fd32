// diff_bench_main.cpp - vantorel-diffbench: how long the unified diff behind
// vantorel-host --diff takes on two files (scripts/bench-diff.sh).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>

#include "session/unified_diff.h"

namespace {

const char kHelp[] =
    "Usage: vantorel-diffbench OLD NEW [RUNS]\n"
    "\n"
    "Diffs OLD against NEW as vantorel-host --diff does, RUNS times (default 5),\n"
    "and prints one line: the fastest run in milliseconds, the lines removed and\n"
    "added, and the hunks. With --out FILE after the files, the diff is also\n"
    "written to FILE (to check it with patch).\n"
    "\n"
    "Exit status: 0 measured, 1 a file could not be read or written, 2 bad usage.\n";

bool readFile(const char *path, std::string &out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    out = s.str();
    return !in.bad();
}

}  // namespace

int main(int argc, char **argv) {
    if (argc >= 2 && (std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help")) {
        return std::fputs(kHelp, stdout) == EOF || std::fflush(stdout) != 0 ? 1 : 0;
    }
    if (argc < 3) {
        (void)std::fputs("vantorel-diffbench: needs two files\nRun vantorel-diffbench --help for usage.\n",
                         stderr);
        return 2;
    }
    int runs = 5;
    const char *out = nullptr;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--out" && i + 1 < argc) {
            out = argv[++i];
        } else {
            char *end = nullptr;
            const long n = std::strtol(argv[i], &end, 10);
            if (*end != '\0' || n < 1 || n > 1000) {
                (void)std::fprintf(
                    stderr, "vantorel-diffbench: RUNS is a whole number from 1 to 1000, not '%s'\n", argv[i]);
                return 2;
            }
            runs = static_cast<int>(n);
        }
    }
    std::string a, b;
    for (const auto &[path, text] : {std::pair<const char *, std::string *>{argv[1], &a}, {argv[2], &b}}) {
        if (readFile(path, *text)) continue;
        (void)std::fprintf(stderr, "vantorel-diffbench: cannot read %s\n", path);
        return 1;
    }
    double best = 0;
    session::UnifiedDiff d;
    for (int r = 0; r < runs; ++r) {
        const auto t0 = std::chrono::steady_clock::now();
        d = session::unifiedDiff(a, b, "scene.lws");
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - t0;
        if (r == 0 || took.count() < best) best = took.count();
    }
    std::printf("%.1f ms, %zu line(s) removed, %zu added, %zu hunk(s)\n", best, d.removed, d.added, d.hunks);
    if (out) {
        std::ofstream f(out, std::ios::binary);
        f << d.text;
        if (!f.flush()) {
            (void)std::fprintf(stderr, "vantorel-diffbench: cannot write %s\n", out);
            return 1;
        }
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
