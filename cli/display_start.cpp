// display_start.cpp - opening the display with its libraries' messages as notes.
#include "display_start.h"

#include <cstdio>
#include <iostream>
#include <sstream>

#include <unistd.h>

#include "diagnostics.h"
#include "window/window.h"

namespace vhost {

namespace {

// Reads back what went to the capture file.
std::string readBack(std::FILE *f) {
    std::string text;
    if (std::fseek(f, 0, SEEK_SET) != 0) return text;
    char buf[4096];
    for (;;) {
        const std::size_t n = std::fread(buf, 1, sizeof buf, f);
        if (n == 0) return text;
        text.append(buf, n);
    }
}

}  // namespace

std::string displayNote(const std::string &line) {
    std::string text = line;
    for (const char *prefix : {"error: ", "ERROR: ", "Error: "})
        if (text.rfind(prefix, 0) == 0) {
            text.erase(0, std::char_traits<char>::length(prefix));
            break;
        }
    return diagnosticText(Severity::Note, "SDL: " + text);
}

bool startDisplay(std::string &error) {
    // stderr goes to a temporary file while SDL probes the display drivers.
    std::cerr.flush();
    (void)std::fflush(stderr);
    std::FILE *capture = std::tmpfile();
    const int saved = capture ? ::dup(STDERR_FILENO) : -1;
    const bool redirected = saved >= 0 && ::dup2(::fileno(capture), STDERR_FILENO) >= 0;
    const bool ok =
        window::start(error, [](const std::string &line) { std::cerr << displayNote(line) << '\n'; });
    (void)std::fflush(stderr);
    if (redirected) (void)::dup2(saved, STDERR_FILENO);
    if (saved >= 0) (void)::close(saved);
    if (capture) {
        std::istringstream lines(redirected ? readBack(capture) : std::string());
        (void)std::fclose(capture);
        for (std::string line; std::getline(lines, line);)
            if (!line.empty()) std::cerr << displayNote(line) << '\n';
    }
    return ok;
}

}  // namespace vhost
