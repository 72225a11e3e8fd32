// unified_diff.cpp - patience diff with a Myers fallback, written as diff -u.
#include "unified_diff.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <utility>
#include <vector>

namespace session {

namespace {

constexpr std::size_t kContext = 3;
// Past this depth of nested gaps the anchors stop paying for themselves (a
// text and its reverse would recurse once per line); Myers takes over.
constexpr int kMaxDepth = 48;
// Myers' search keeps one row of its table per edit: at most this many edits
// per gap, and this many steps in all, before the gap is paired in place.
constexpr std::size_t kMaxEdits = 2048;
constexpr std::size_t kMaxSteps = 40'000'000;

std::vector<std::string_view> splitLines(std::string_view s) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (start < s.size()) {
        const void *nl = std::memchr(s.data() + start, '\n', s.size() - start);
        const std::size_t end =
            nl ? static_cast<std::size_t>(static_cast<const char *>(nl) - s.data()) + 1 : s.size();
        out.push_back(s.substr(start, end - start));
        start = end;
    }
    return out;
}

struct Match {
    std::size_t a, b;
};

// The part of two texts the diff has to look at: everything but their common
// head and tail of whole lines, plus up to kContext lines of each for context.
// Cut at byte level before the texts are split into lines, so that a big file
// with edits in one place costs a comparison of bytes and little else.
struct Window {
    std::size_t aBegin = 0, aEnd = 0, bBegin = 0, bEnd = 0;  // byte ranges; aBegin == bBegin
    std::size_t firstLine = 0;                               // lines before aBegin (and bBegin)
};

bool lineStart(std::string_view s, std::size_t at, std::size_t floor) {
    return at == floor || s[at - 1] == '\n';
}

Window differingPart(std::string_view a, std::string_view b) {
    Window w;
    const std::size_t common = std::min(a.size(), b.size());
    const std::size_t prefix = static_cast<std::size_t>(
        std::mismatch(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(common), b.begin()).first -
        a.begin());
    // The head ends after the last line end both texts share.
    const std::size_t nl = prefix == 0 ? std::string_view::npos : a.rfind('\n', prefix - 1);
    const std::size_t head = nl == std::string_view::npos ? 0 : nl + 1;
    std::size_t suffix = 0;
    while (suffix < common - head && a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix]) ++suffix;
    // The tail starts at a line start on both sides; else after the first line
    // end inside it (the bytes after that are common, so both sides start a
    // line there).
    std::size_t ta = a.size() - suffix, tb = b.size() - suffix;
    if (!lineStart(a, ta, head) || !lineStart(b, tb, head)) {
        const std::size_t end = a.find('\n', ta);
        const std::size_t skip = end == std::string_view::npos ? a.size() - ta : end + 1 - ta;
        ta += skip;
        tb += skip;
    }
    // Context: kContext whole lines on each side, where there are that many.
    std::size_t begin = head;
    for (std::size_t k = 0; k < kContext && begin > 0; ++k) {
        const std::size_t before = begin >= 2 ? a.rfind('\n', begin - 2) : std::string_view::npos;
        begin = before == std::string_view::npos ? 0 : before + 1;
    }
    std::size_t extra = 0;  // bytes of the tail taken as context
    for (std::size_t k = 0; k < kContext && ta + extra < a.size(); ++k) {
        const std::size_t end = a.find('\n', ta + extra);
        extra = end == std::string_view::npos ? a.size() - ta : end + 1 - ta;
    }
    w.aBegin = w.bBegin = begin;
    w.aEnd = ta + extra;
    w.bEnd = tb + extra;
    w.firstLine =
        static_cast<std::size_t>(std::count(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(begin), '\n'));
    return w;
}

// Pairs equal lines of two sequences of line numbers (equal lines, equal
// numbers), in increasing order on both sides.
class Matcher {
public:
    Matcher(std::vector<std::uint32_t> a, std::vector<std::uint32_t> b, std::size_t distinct)
        : a_(std::move(a)), b_(std::move(b)), countA_(distinct), countB_(distinct), lastB_(distinct) {}

    std::vector<Match> run() {
        pair(0, a_.size(), 0, b_.size(), 0);
        return std::move(matches_);
    }

private:
    void pair(std::size_t a0, std::size_t a1, std::size_t b0, std::size_t b1, int depth) {
        while (a0 < a1 && b0 < b1 && a_[a0] == b_[b0]) matches_.push_back({a0++, b0++});
        std::size_t tail = 0;
        while (a1 - tail > a0 && b1 - tail > b0 && a_[a1 - 1 - tail] == b_[b1 - 1 - tail]) ++tail;
        a1 -= tail;
        b1 -= tail;
        if (a0 < a1 && b0 < b1) {
            const std::vector<Match> anchors =
                depth < kMaxDepth ? uniqueAnchors(a0, a1, b0, b1) : std::vector<Match>();
            if (anchors.empty()) {
                myers(a0, a1, b0, b1);
            } else {
                std::size_t pa = a0, pb = b0;
                for (const Match &m : anchors) {
                    pair(pa, m.a, pb, m.b, depth + 1);
                    matches_.push_back(m);
                    pa = m.a + 1;
                    pb = m.b + 1;
                }
                pair(pa, a1, pb, b1, depth + 1);
            }
        }
        for (std::size_t k = 0; k < tail; ++k) matches_.push_back({a1 + k, b1 + k});
    }

    // The lines found exactly once in each range, paired, and of those the
    // longest run that is increasing on both sides.
    std::vector<Match> uniqueAnchors(std::size_t a0, std::size_t a1, std::size_t b0, std::size_t b1) {
        for (std::size_t i = a0; i < a1; ++i) ++countA_[a_[i]];
        for (std::size_t j = b0; j < b1; ++j) {
            ++countB_[b_[j]];
            lastB_[b_[j]] = static_cast<std::uint32_t>(j);
        }
        std::vector<Match> candidates;
        for (std::size_t i = a0; i < a1; ++i)
            if (countA_[a_[i]] == 1 && countB_[a_[i]] == 1) candidates.push_back({i, lastB_[a_[i]]});
        for (std::size_t i = a0; i < a1; ++i) countA_[a_[i]] = 0;
        for (std::size_t j = b0; j < b1; ++j) countB_[b_[j]] = 0;
        if (candidates.empty()) return {};

        // Patience sorting: tops[k] ends the best increasing run of length k + 1.
        std::vector<std::size_t> tops, before(candidates.size());
        for (std::size_t c = 0; c < candidates.size(); ++c) {
            const auto at =
                std::lower_bound(tops.begin(), tops.end(), candidates[c].b,
                                 [&](std::size_t t, std::size_t b) { return candidates[t].b < b; });
            before[c] = at == tops.begin() ? SIZE_MAX : *(at - 1);
            if (at == tops.end()) tops.push_back(c);
            else *at = c;
        }
        std::vector<Match> run(tops.size());
        std::size_t c = tops.back();
        for (std::size_t k = run.size(); k-- > 0; c = before[c]) run[k] = candidates[c];
        return run;
    }

    // Myers' greedy search for the shortest edit script of one gap; rows of
    // the search are kept to walk the path back.
    void myers(std::size_t a0, std::size_t a1, std::size_t b0, std::size_t b1) {
        const long n = static_cast<long>(a1 - a0), m = static_cast<long>(b1 - b0);
        const long maxD = std::min<long>(n + m, static_cast<long>(kMaxEdits));
        const long offset = maxD + 1;
        std::vector<long> v(static_cast<std::size_t>(2 * maxD + 3), 0);
        std::vector<std::vector<long>> rows;
        std::size_t steps = 0;
        long found = -1;
        for (long d = 0; d <= maxD && found < 0; ++d) {
            for (long k = -d; k <= d; k += 2) {
                long x = (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1]))
                             ? v[offset + k + 1]
                             : v[offset + k - 1] + 1;
                long y = x - k;
                const long startX = x;
                while (x < n && y < m && a_[a0 + x] == b_[b0 + y]) ++x, ++y;
                steps += 1 + static_cast<std::size_t>(x - startX);
                v[offset + k] = x;
                if (x >= n && y >= m) {
                    found = d;
                    break;
                }
            }
            rows.emplace_back(v.begin() + (offset - d), v.begin() + (offset + d + 1));
            if (steps > kMaxSteps) break;
        }
        if (found < 0) {
            inPlace(a0, a1, b0, b1);
            return;
        }
        std::vector<Match> path;
        long x = n, y = m;
        for (long d = found; d > 0; --d) {
            const std::vector<long> &prev = rows[static_cast<std::size_t>(d - 1)];
            auto at = [&](long k) { return prev[static_cast<std::size_t>(k + d - 1)]; };
            const long k = x - y;
            const bool down = k == -d || (k != d && at(k - 1) < at(k + 1));
            const long prevK = down ? k + 1 : k - 1;
            const long startX = down ? at(prevK) : at(prevK) + 1;
            while (x > startX) {
                --x, --y;
                path.push_back({a0 + static_cast<std::size_t>(x), b0 + static_cast<std::size_t>(y)});
            }
            x = at(prevK);
            y = x - prevK;
        }
        while (x > 0) {
            --x, --y;
            path.push_back({a0 + static_cast<std::size_t>(x), b0 + static_cast<std::size_t>(y)});
        }
        matches_.insert(matches_.end(), path.rbegin(), path.rend());
    }

    // The fallback: line k of one side against line k of the other.
    void inPlace(std::size_t a0, std::size_t a1, std::size_t b0, std::size_t b1) {
        for (std::size_t k = 0; a0 + k < a1 && b0 + k < b1; ++k)
            if (a_[a0 + k] == b_[b0 + k]) matches_.push_back({a0 + k, b0 + k});
    }

    std::vector<std::uint32_t> a_, b_;
    std::vector<std::uint32_t> countA_, countB_, lastB_;  // by line number; zero between uses
    std::vector<Match> matches_;
};

// One run of changed lines: a[a0, a0 + aLen) became b[b0, b0 + bLen).
struct Change {
    std::size_t a0, aLen, b0, bLen;
};

std::vector<Change> changesBetween(const std::vector<Match> &matches, std::size_t na, std::size_t nb) {
    std::vector<Change> out;
    std::size_t a = 0, b = 0;
    auto close = [&](std::size_t toA, std::size_t toB) {
        if (toA > a || toB > b) out.push_back({a, toA - a, b, toB - b});
    };
    for (const Match &m : matches) {
        close(m.a, m.b);
        a = m.a + 1;
        b = m.b + 1;
    }
    close(na, nb);
    return out;
}

void appendRange(std::string &out, std::size_t start, std::size_t count) {
    // An empty range names the line before it, as diff -u does.
    out += std::to_string(count == 0 ? start : start + 1);
    if (count != 1) out += ',' + std::to_string(count);
}

void appendLine(std::string &out, char mark, std::string_view line) {
    out += mark;
    out.append(line.data(), line.size());
    if (line.empty() || line.back() != '\n') out += "\n\\ No newline at end of file\n";
}

// A name that patch reads back as it is: quoted, with C escapes, when it holds
// a quote, a backslash or a control character.
std::string headerName(const std::string &prefix, const std::string &name) {
    const bool plain = std::none_of(name.begin(), name.end(), [](char c) {
        return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 32 || c == 127;
    });
    if (plain) return prefix + name;
    std::string q = "\"" + prefix;
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') q += std::string("\\") + c;
        else if (c == '\n') q += "\\n";
        else if (c == '\t') q += "\\t";
        else if (c == '\r') q += "\\r";
        else if (u < 32 || u == 127) {
            const char digits[] = {'\\', static_cast<char>('0' + (u >> 6)),
                                   static_cast<char>('0' + ((u >> 3) & 7)), static_cast<char>('0' + (u & 7))};
            q.append(digits, 4);
        } else q += c;
    }
    return q + "\"";
}

}  // namespace

UnifiedDiff unifiedDiff(std::string_view before, std::string_view after, const std::string &name) {
    UnifiedDiff result;
    if (before == after) return result;
    const Window w = differingPart(before, after);
    const std::vector<std::string_view> a = splitLines(before.substr(w.aBegin, w.aEnd - w.aBegin));
    const std::vector<std::string_view> b = splitLines(after.substr(w.bBegin, w.bEnd - w.bBegin));

    // Lines as numbers, equal lines the same number; the common head and tail
    // are left out of the search.
    std::size_t head = 0, tail = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    std::unordered_map<std::string_view, std::uint32_t> numbers;
    numbers.reserve((a.size() + b.size() - 2 * (head + tail)) * 2);
    auto numbered = [&](const std::vector<std::string_view> &lines) {
        std::vector<std::uint32_t> out;
        out.reserve(lines.size() - head - tail);
        for (std::size_t i = head; i < lines.size() - tail; ++i)
            out.push_back(
                numbers.emplace(lines[i], static_cast<std::uint32_t>(numbers.size())).first->second);
        return out;
    };
    std::vector<std::uint32_t> na = numbered(a);
    std::vector<std::uint32_t> nb = numbered(b);
    std::vector<Match> middle = Matcher(std::move(na), std::move(nb), numbers.size()).run();
    std::vector<Match> matches;
    matches.reserve(head + middle.size() + tail);
    for (std::size_t i = 0; i < head; ++i) matches.push_back({i, i});
    for (const Match &m : middle) matches.push_back({m.a + head, m.b + head});
    for (std::size_t k = tail; k > 0; --k) matches.push_back({a.size() - k, b.size() - k});

    const std::vector<Change> changes = changesBetween(matches, a.size(), b.size());
    std::string &out = result.text;
    out += "--- " + headerName("a/", name) + "\n+++ " + headerName("b/", name) + "\n";
    for (std::size_t first = 0; first < changes.size();) {
        // A hunk takes every following change that is at most two contexts away.
        std::size_t last = first;
        while (last + 1 < changes.size() &&
               changes[last + 1].a0 - (changes[last].a0 + changes[last].aLen) <= 2 * kContext)
            ++last;
        const Change &f = changes[first], &l = changes[last];
        const std::size_t lead = std::min(kContext, f.a0);
        const std::size_t trail = std::min(kContext, a.size() - (l.a0 + l.aLen));
        const std::size_t aStart = f.a0 - lead, bStart = f.b0 - lead;
        const std::size_t aCount = l.a0 + l.aLen + trail - aStart, bCount = l.b0 + l.bLen + trail - bStart;
        out += "@@ -";
        appendRange(out, w.firstLine + aStart, aCount);
        out += " +";
        appendRange(out, w.firstLine + bStart, bCount);
        out += " @@\n";
        std::size_t at = aStart;
        for (std::size_t c = first; c <= last; ++c) {
            const Change &ch = changes[c];
            for (; at < ch.a0; ++at) appendLine(out, ' ', a[at]);
            for (std::size_t i = 0; i < ch.aLen; ++i) appendLine(out, '-', a[ch.a0 + i]);
            for (std::size_t j = 0; j < ch.bLen; ++j) appendLine(out, '+', b[ch.b0 + j]);
            at = ch.a0 + ch.aLen;
            result.removed += ch.aLen;
            result.added += ch.bLen;
        }
        for (std::size_t k = 0; k < trail; ++k, ++at) appendLine(out, ' ', a[at]);
        ++result.hunks;
        first = last + 1;
    }
    return result;
}

bool hasLoneCarriageReturn(std::string_view s) {
    for (std::size_t i = s.find('\r'); i != std::string_view::npos; i = s.find('\r', i + 1))
        if (i + 1 == s.size() || s[i + 1] != '\n') return true;
    return false;
}

}  // namespace session
