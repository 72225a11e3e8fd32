// unified_diff.h - the difference between two texts as a unified diff, the
// form diff -u writes and patch applies.
//
// Lines are what diff and patch take them to be: bytes up to and including a
// '\n'. The line end is part of the line, so a line of a CRLF file carries its
// '\r' into the diff, and a file whose lines end in a lone '\r' is one line.
// A last line without '\n' is followed by "\ No newline at end of file".
//
// Output: "--- a/NAME", "+++ b/NAME", then hunks with three lines of context,
// headers "@@ -START,COUNT +START,COUNT @@" (COUNT left out when it is 1, as
// diff -u does). Applied with patch to the first text it gives the second,
// byte for byte. Equal texts give an empty diff.
//
// The pairing of lines: the common head and tail are trimmed; lines that occur
// exactly once on each side anchor the rest (patience diff); the gaps between
// anchors get Myers' shortest edit script. A gap that would cost too much
// (thousands of edits with no unique line in it) is paired line by line in
// place instead: still a correct diff, only not the shortest.
#ifndef VANTOREL_SESSION_UNIFIED_DIFF_H
#define VANTOREL_SESSION_UNIFIED_DIFF_H

#include <cstddef>
#include <string>
#include <string_view>

namespace session {

struct UnifiedDiff {
    std::string text;  // the diff; empty when the texts are equal
    std::size_t hunks = 0;
    std::size_t removed = 0;  // lines starting with '-' (headers aside)
    std::size_t added = 0;    // lines starting with '+'
};

// before and after compared as lines; name goes into the two header lines.
UnifiedDiff unifiedDiff(std::string_view before, std::string_view after, const std::string &name);

// Whether some line of the text ends in a carriage return alone: diff and
// patch count lines by line feeds, so such lines show joined.
bool hasLoneCarriageReturn(std::string_view text);

}  // namespace session

#endif
