// line_words.cpp - splitting a script line into words.
#include "script/line_words.h"

#include <cctype>

namespace script {

namespace {

bool blank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Where the comment starts: the first '#' outside quotes, else the end.
size_t commentStart(const std::string &line) {
    bool inQuote = false;
    for (size_t k = 0; k < line.size(); ++k) {
        const char c = line[k];
        if (inQuote && c == '\\' && k + 1 < line.size()) {
            ++k;
            continue;
        }
        if (c == '"') inQuote = !inQuote;
        else if (c == '#' && !inQuote) return k;
    }
    return line.size();
}

// The quoted part starting after the quote at i; i ends after the closing quote.
bool quotedPart(const std::string &line, size_t end, size_t &i, std::string &word) {
    while (i < end) {
        if (line[i] == '\\' && i + 1 < end && (line[i + 1] == '"' || line[i + 1] == '\\')) {
            word += line[i + 1];
            i += 2;
        } else if (line[i] == '"') {
            ++i;
            return true;
        } else {
            word += line[i++];
        }
    }
    return false;
}

}  // namespace

bool splitLine(const std::string &line, LineWords &out, std::string &why) {
    const size_t end = commentStart(line);
    out.words.clear();
    out.source = line.substr(0, end);
    while (!out.source.empty() && blank(out.source.back())) out.source.pop_back();
    size_t i = 0;
    while (i < end) {
        while (i < end && blank(line[i])) ++i;
        if (i >= end) break;
        std::string word;
        bool quoted = false;
        while (i < end && !blank(line[i])) {
            if (line[i] != '"') {
                word += line[i++];
                continue;
            }
            quoted = true;
            ++i;
            if (!quotedPart(line, end, i, word)) {
                why = "a double quote is not closed";
                return false;
            }
        }
        if (!word.empty() || quoted) out.words.push_back(word);
    }
    return true;
}

}  // namespace script
