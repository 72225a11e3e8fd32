// diagnostics.h - the one way vantorel-host prints a message of its own.
//
// Every message the host itself gives (not the plug-in's transcript) has one
// of two forms, as GCC's have:
//
//     vantorel-host: error: TEXT        a message about the run as a whole
//     NAME:LINE: error: TEXT            a message about one line of a file
//
// with "warning" or "note" in place of "error". The second form is kept for
// messages about a script or scene line so that editors (Emacs' compile mode,
// Vim's quickfix) jump to the line, as they do for a compiler's.
//
// Not diagnostics, and never written through this: the session transcript
// ("result: N", "error: TEXT" for each error box the plug-in shows, "info:
// TEXT" for each info text), which is the plug-in's output, and the lines
// other programs read as data ("saved: FILE", "recorded: FILE", "kept: ...",
// "diff: ...").
#ifndef VANTOREL_CLI_DIAGNOSTICS_H
#define VANTOREL_CLI_DIAGNOSTICS_H

#include <functional>
#include <ostream>
#include <string>

namespace vhost {

enum class Severity { Error, Warning, Note };

// "error", "warning", "note".
const char *severityWord(Severity severity);

// The line for one diagnostic, without its line feed. A text of several
// lines gives as many lines, each with the prefix, so that every line of
// stderr says whose it is. With a file and a line: "FILE:LINE: SEVERITY:
// TEXT"; with a file alone: "vantorel-host: SEVERITY: FILE: TEXT"; else
// "vantorel-host: SEVERITY: TEXT".
std::string diagnosticText(Severity severity, const std::string &text, const std::string &file = "",
                           int line = 0);

// Where the messages of a library that does not know this printer go (the
// window, the validator): one call per message.
using DiagnosticSink = std::function<void(Severity, const std::string &text)>;

// Writes diagnostics to a stream (std::cerr in the program, a string stream
// in tests) and counts them.
class Diagnostics {
public:
    explicit Diagnostics(std::ostream &out) : out_(out) {}

    void error(const std::string &text) { report(Severity::Error, text); }
    void warning(const std::string &text) { report(Severity::Warning, text); }
    void note(const std::string &text) { report(Severity::Note, text); }
    void report(Severity severity, const std::string &text);

    // A message about a line of a file: "NAME:LINE: error: TEXT".
    void errorAt(const std::string &file, int line, const std::string &text) {
        reportAt(Severity::Error, file, line, text);
    }
    void reportAt(Severity severity, const std::string &file, int line, const std::string &text);

    // A sink that reports here, for code that takes a DiagnosticSink.
    DiagnosticSink sink();

    // The stream itself, for the lines that are data, not diagnostics
    // ("saved: FILE", the transcript).
    std::ostream &stream() { return out_; }

    int errors() const { return errors_; }
    int warnings() const { return warnings_; }

private:
    std::ostream &out_;
    int errors_ = 0;
    int warnings_ = 0;
};

// The program's printer, on std::cerr.
Diagnostics &diagnostics();

}  // namespace vhost

#endif
