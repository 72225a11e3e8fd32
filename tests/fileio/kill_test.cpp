// kill_test.cpp - a save killed at any moment leaves either the old or the new file.
//
//   kill_test WORKDIR [ROUNDS] [MEGABYTES] [SEED]
//
// Generates two large LWSC 3 scenes (many lights, every motion channel an
// envelope; the second a little bigger, with other intensities), writes the
// first to WORKDIR/big.lws, then ROUNDS times (default 200) starts a process
// that saves the two scenes over big.lws in turn with fileio::replaceFile, the
// routine behind every file vantorel-host writes, and kills it with SIGKILL
// after a random delay of up to two saves' duration. After each kill
// big.lws must hold exactly the bytes of one of the two scenes. Temporary files
// of killed saves (hidden, "*.vantorel-part") are counted and removed.
// Prints one summary line; exit status 0 pass, 1 a check failed, 2 usage.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <dirent.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>

#include "fileio/durable_write.h"

namespace {

std::string makeScene(int lights, double intensity) {
    std::string s = "LWSC\n3\n\nFirstFrame 1\nLastFrame 60\nFrameStep 1\n\n";
    char buf[256];
    for (int i = 0; i < lights; ++i) {
        std::snprintf(buf, sizeof buf,
                      "AddLight\nLightName Light %d\nShowLight 0 7\nLightMotion\nNumChannels 9\n", i + 1);
        s += buf;
        for (int c = 0; c < 9; ++c) {
            std::snprintf(buf, sizeof buf,
                          "Channel %d\n{ Envelope\n  1\n  Key %g 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n", c,
                          c < 3 ? (i % 100) * 0.5 : 0.0);
            s += buf;
        }
        std::snprintf(buf, sizeof buf,
                      "LightColor 1 0.9 0.8\nLightIntensity %g\nLightType 1\nLightFalloffType 0\n"
                      "LightRange 10\nShadowType 1\n\n",
                      intensity + (i % 7) * 0.01);
        s += buf;
    }
    return s;
}

// Which of the scenes the file holds exactly: 0 or 1, -1 neither, -2 unreadable.
int whichScene(const std::string &path, const std::string scenes[2], std::size_t &size) {
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) return -2;
    static char buf[1 << 20];
    bool same[2] = {true, true};
    size = 0;
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        for (int k = 0; k < 2; ++k)
            same[k] =
                same[k] && size + n <= scenes[k].size() && std::memcmp(buf, scenes[k].data() + size, n) == 0;
        size += n;
    }
    const bool ok = !std::ferror(f);
    if (std::fclose(f) != 0 || !ok) return -2;
    for (int k = 0; k < 2; ++k)
        if (same[k] && size == scenes[k].size()) return k;
    return -1;
}

int removeLeftovers(const std::string &dir) {
    int n = 0;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d)) {
            const std::string name = e->d_name;
            if (name.find(".vantorel-part") != std::string::npos ||
                name.find(".vantorel-old") != std::string::npos) {
                if (std::remove((dir + "/" + name).c_str()) != 0) std::perror(("kill_test: " + name).c_str());
                ++n;
            }
        }
        closedir(d);
    }
    return n;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2 || argc > 5 || std::string(argv[1]) == "--help") {
        (void)std::fprintf(stderr, "usage: kill_test WORKDIR [ROUNDS] [MEGABYTES] [SEED]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 200;
    const int megabytes = argc > 3 ? std::atoi(argv[3]) : 20;
    const unsigned seed = argc > 4 ? static_cast<unsigned>(std::strtoul(argv[4], nullptr, 10)) : 20240601u;
    if (rounds < 1 || megabytes < 1) {
        (void)std::fprintf(stderr, "kill_test: ROUNDS and MEGABYTES must be at least 1\n");
        return 2;
    }
    const std::string target = dir + "/big.lws";
    ::mkdir(dir.c_str(), 0755);

    // About 820 bytes per light.
    const int lights = megabytes * 1024 * 1024 / 820;
    const std::string scenes[2] = {makeScene(lights, 1.0), makeScene(lights + lights / 10, 0.5)};

    std::string error;
    if (!fileio::replaceFile(target, scenes[0], error)) {
        (void)std::fprintf(stderr, "kill_test: cannot write the first scene: %s\n", error.c_str());
        return 2;
    }
    // One save's duration sets the range of the random delays.
    const auto t0 = std::chrono::steady_clock::now();
    if (!fileio::replaceFile(target, scenes[1], error) || !fileio::replaceFile(target, scenes[0], error)) {
        (void)std::fprintf(stderr, "kill_test: %s\n", error.c_str());
        return 2;
    }
    const long saveUs = static_cast<long>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0).count() /
        2);

    std::mt19937 rng(seed);
    std::uniform_int_distribution<long> delay(0, 2 * saveUs + 1000);
    int kept = 0, replaced = 0, leftovers = 0;
    int current = 0;  // the scene big.lws holds now
    for (int r = 0; r < rounds; ++r) {
        const pid_t pid = fork();
        if (pid < 0) {
            std::perror("kill_test: fork");
            return 2;
        }
        if (pid == 0) {
            std::string e;
            // First the scene big.lws does not hold, then the other, and so on.
            for (int i = 1 - current;; i = 1 - i)
                if (!fileio::replaceFile(target, scenes[i], e)) _exit(3);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(rng)));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFSIGNALED(status) || WTERMSIG(status) != SIGKILL) {
            (void)std::fprintf(
                stderr, "kill_test: round %d: the saving process ended by itself (status %d)\n", r, status);
            return 1;
        }
        std::size_t size = 0;
        const int k = whichScene(target, scenes, size);
        if (k == -2) {
            (void)std::fprintf(stderr, "kill_test: round %d: %s is missing or unreadable\n", r,
                               target.c_str());
            return 1;
        }
        if (k < 0) {
            (void)std::fprintf(stderr,
                               "kill_test: round %d: %s holds %zu bytes, neither scene (%zu or %zu bytes)\n",
                               r, target.c_str(), size, scenes[0].size(), scenes[1].size());
            return 1;
        }
        (k == current ? kept : replaced) += 1;
        current = k;
        leftovers += removeLeftovers(dir);
    }
    std::printf(
        "kill test: %d SIGKILLs during saves of %.1f/%.1f MB scenes (one save %.0f ms, seed %u): "
        "the old scene %d times, the new one %d times, never anything else; %d temporary files of "
        "killed saves removed\n",
        rounds, static_cast<double>(scenes[0].size()) / 1048576.0,
        static_cast<double>(scenes[1].size()) / 1048576.0, static_cast<double>(saveUs) / 1000.0, seed, kept,
        replaced, leftovers);
    return 0;
}
