// diagnostics.cpp - vantorel-host's messages, one prefix scheme.
#include "diagnostics.h"

#include <iostream>

namespace vhost {

namespace {

constexpr const char *kProgram = "vantorel-host";

}  // namespace

const char *severityWord(Severity severity) {
    switch (severity) {
    case Severity::Error: return "error";
    case Severity::Warning: return "warning";
    case Severity::Note: return "note";
    }
    return "error";
}

std::string diagnosticText(Severity severity, const std::string &text, const std::string &file, int line) {
    // A file without a line is named in the text, as GCC names a file it cannot open.
    const bool located = !file.empty() && line > 0;
    std::string prefix = located ? file + ":" + std::to_string(line) : std::string(kProgram);
    prefix += std::string(": ") + severityWord(severity) + ": ";
    if (!located && !file.empty()) prefix += file + ": ";
    std::string out;
    std::size_t from = 0;
    for (;;) {
        const std::size_t end = text.find('\n', from);
        out += prefix + text.substr(from, end == std::string::npos ? std::string::npos : end - from);
        if (end == std::string::npos || end + 1 == text.size()) return out;
        out += '\n';
        from = end + 1;
    }
}

void Diagnostics::report(Severity severity, const std::string &text) { reportAt(severity, "", 0, text); }

void Diagnostics::reportAt(Severity severity, const std::string &file, int line, const std::string &text) {
    if (severity == Severity::Error) ++errors_;
    if (severity == Severity::Warning) ++warnings_;
    out_ << diagnosticText(severity, text, file, line) << '\n';
}

DiagnosticSink Diagnostics::sink() {
    return [this](Severity severity, const std::string &text) { report(severity, text); };
}

Diagnostics &diagnostics() {
    static Diagnostics onStandardError(std::cerr);
    return onStandardError;
}

}  // namespace vhost
