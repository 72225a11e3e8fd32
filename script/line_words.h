// line_words.h - one script line split into its words.
//
// '#' outside double quotes starts a comment. Words are separated by blanks
// (what std::isspace calls a blank); double quotes group a word and may hold
// blanks and '#', with \" and \\ for " and \ (any other backslash stays as
// it is); quoted and plain parts next to each other make one word, and "" is
// an empty word.
#ifndef VANTOREL_SCRIPT_LINE_WORDS_H
#define VANTOREL_SCRIPT_LINE_WORDS_H

#include <string>
#include <vector>

namespace script {

struct LineWords {
    std::vector<std::string> words;
    std::string source;  // the line up to its comment, trailing blanks removed
};

// Splits a line (without its line end). Returns false with why set when a
// double quote is not closed.
bool splitLine(const std::string &line, LineWords &out, std::string &why);

}  // namespace script

#endif
