// The unified diff behind --diff: applied to the old text it gives the new one,
// byte for byte, whatever the line ends; its form is the one diff -u writes.
#include "session/unified_diff.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using session::unifiedDiff;

// A strict reader of unified diffs, as patch applies them: every context and
// removed line must match the old text exactly, hunk counts must match their
// bodies, and nothing may be left over. Fails the test on any mismatch.
std::string applyDiff(const std::string &old, const std::string &diff) {
    std::vector<std::string> lines;  // the diff, split at '\n', each without it
    for (std::size_t at = 0; at < diff.size();) {
        const std::size_t nl = diff.find('\n', at);
        EXPECT_NE(nl, std::string::npos) << "the diff's last line has no line end";
        if (nl == std::string::npos) return {};
        lines.push_back(diff.substr(at, nl - at));
        at = nl + 1;
    }
    std::vector<std::string> src;  // the old text's lines, each with its '\n'
    for (std::size_t at = 0; at < old.size();) {
        const std::size_t nl = old.find('\n', at);
        const std::size_t end = nl == std::string::npos ? old.size() : nl + 1;
        src.push_back(old.substr(at, end - at));
        at = end;
    }
    std::string out;
    std::size_t next = 0;  // next line of src to copy
    EXPECT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0].rfind("--- ", 0), 0u);
    EXPECT_EQ(lines[1].rfind("+++ ", 0), 0u);
    std::size_t i = 2;
    while (i < lines.size()) {
        unsigned long aStart = 0, aCount = 1, bStart = 0, bCount = 1;
        const std::string &h = lines[i];
        EXPECT_EQ(h.rfind("@@ -", 0), 0u) << h;
        const char *p = h.c_str() + 4;
        char *end = nullptr;
        aStart = std::strtoul(p, &end, 10);
        if (*end == ',') aCount = std::strtoul(end + 1, &end, 10);
        EXPECT_EQ(std::string(end, 2), " +") << h;
        bStart = std::strtoul(end + 2, &end, 10);
        if (*end == ',') bCount = std::strtoul(end + 1, &end, 10);
        EXPECT_EQ(std::string(end), " @@") << h;
        const std::size_t first = aCount == 0 ? aStart : aStart - 1;
        EXPECT_GE(first, next) << "hunks out of order: " << h;
        while (next < first && next < src.size()) out += src[next++];
        EXPECT_EQ(static_cast<unsigned long>(std::count(out.begin(), out.end(), '\n')),
                  bCount == 0 ? bStart : bStart - 1)
            << "the new side's start is not where the hunk lands: " << h;
        ++i;
        unsigned long seenA = 0, seenB = 0;
        while (i < lines.size() && lines[i].rfind("@@ ", 0) != 0) {
            const std::string &l = lines[i++];
            EXPECT_FALSE(l.empty());
            if (l.empty()) return {};
            std::string text = l.substr(1) + "\n";
            if (i < lines.size() && lines[i] == "\\ No newline at end of file") {
                text.pop_back();
                ++i;
            }
            if (l[0] == ' ' || l[0] == '-') {
                EXPECT_LT(next, src.size());
                if (next >= src.size()) return {};
                EXPECT_EQ(src[next], text) << "context or removed line does not match line " << next + 1;
                ++next;
                ++seenA;
            }
            if (l[0] == ' ' || l[0] == '+') {
                out += text;
                ++seenB;
            }
            EXPECT_TRUE(l[0] == ' ' || l[0] == '-' || l[0] == '+') << l;
        }
        EXPECT_EQ(seenA, aCount) << h;
        EXPECT_EQ(seenB, bCount) << h;
    }
    while (next < src.size()) out += src[next++];
    return out;
}

void expectApplies(const std::string &a, const std::string &b) {
    const session::UnifiedDiff d = unifiedDiff(a, b, "x.lws");
    if (a == b) {
        EXPECT_TRUE(d.text.empty());
        return;
    }
    EXPECT_EQ(applyDiff(a, d.text), b);
}

TEST(UnifiedDiff, TheFormOfDiffU) {
    const std::string a = "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15\n16\n";
    std::string b = a;
    b.replace(b.find("8\n"), 2, "eight\n");
    EXPECT_EQ(unifiedDiff(a, b, "s.lws").text,
              "--- a/s.lws\n+++ b/s.lws\n@@ -5,7 +5,7 @@\n 5\n 6\n 7\n-8\n+eight\n 9\n 10\n 11\n");
    // One line of context left at the top; a count of 1 is not written.
    EXPECT_EQ(unifiedDiff("a\n", "b\n", "s").text, "--- a/s\n+++ b/s\n@@ -1 +1 @@\n-a\n+b\n");
    // An insertion names the line before it, with a count of 0 on the old side.
    EXPECT_EQ(unifiedDiff("", "new\n", "s").text, "--- a/s\n+++ b/s\n@@ -0,0 +1 @@\n+new\n");
    EXPECT_EQ(unifiedDiff("a\nb\n", "a\nb\nc\n", "s").text,
              "--- a/s\n+++ b/s\n@@ -1,2 +1,3 @@\n a\n b\n+c\n");
    const session::UnifiedDiff d = unifiedDiff(a, b, "s.lws");
    EXPECT_EQ(d.hunks, 1u);
    EXPECT_EQ(d.removed, 1u);
    EXPECT_EQ(d.added, 1u);
    EXPECT_TRUE(unifiedDiff(a, a, "s.lws").text.empty());
}

TEST(UnifiedDiff, ChangesSixLinesApartShareAHunkSevenDoNot) {
    std::string lines;
    for (int i = 1; i <= 30; ++i) lines += std::to_string(i) + "\n";
    auto change = [&](std::vector<int> which) {
        std::string b;
        for (int i = 1; i <= 30; ++i) {
            const bool hit = std::find(which.begin(), which.end(), i) != which.end();
            b += (hit ? "x" : "") + std::to_string(i) + "\n";
        }
        return unifiedDiff(lines, b, "s");
    };
    EXPECT_EQ(change({10, 17}).hunks, 1u);  // 6 unchanged lines between: contexts meet
    EXPECT_EQ(change({10, 18}).hunks, 2u);
    EXPECT_EQ(change({10, 18}).text.find("@@ -15,7 +15,7 @@") != std::string::npos, true);
}

TEST(UnifiedDiff, LineEndsArePartOfTheLines) {
    // CRLF: the changed line keeps its carriage return.
    EXPECT_EQ(unifiedDiff("a\r\nb\r\nc\r\n", "a\r\nB\r\nc\r\n", "s").text,
              "--- a/s\n+++ b/s\n@@ -1,3 +1,3 @@\n a\r\n-b\r\n+B\r\n c\r\n");
    // A lone CR does not end a line for diff and patch: the file is one line.
    EXPECT_EQ(unifiedDiff("a\rb\rc", "a\rB\rc", "s").text,
              "--- a/s\n+++ b/s\n@@ -1 +1 @@\n-a\rb\rc\n\\ No newline at end of file\n+a\rB\rc\n"
              "\\ No newline at end of file\n");
    // Only the final line end differs.
    EXPECT_EQ(unifiedDiff("a\nb", "a\nb\n", "s").text,
              "--- a/s\n+++ b/s\n@@ -1,2 +1,2 @@\n a\n-b\n\\ No newline at end of file\n+b\n");
    // An unchanged last line without a line end, as context.
    EXPECT_EQ(unifiedDiff("a\nb", "A\nb", "s").text,
              "--- a/s\n+++ b/s\n@@ -1,2 +1,2 @@\n-a\n+A\n b\n\\ No newline at end of file\n");
    // Bytes beyond ASCII (cp1252) and NUL go through as they are.
    const std::string cp = std::string("LightName Lumi\xe8re\r\n") + '\0' + "x\n";
    expectApplies(cp, std::string("LightName Lumi\xe8re 2\r\n") + '\0' + "x\n");
}

TEST(UnifiedDiff, AwkwardNamesAreQuotedForPatch) {
    auto headers = [](const std::string &name) {
        const std::string t = unifiedDiff("a\n", "b\n", name).text;
        return t.substr(0, t.find("@@"));
    };
    EXPECT_EQ(headers("my scene.lws"), "--- a/my scene.lws\n+++ b/my scene.lws\n");
    EXPECT_EQ(headers("tab\there\"q"), "--- \"a/tab\\there\\\"q\"\n+++ \"b/tab\\there\\\"q\"\n");
}

// Random texts from a small alphabet, so that lines repeat, and random edits
// of them: every diff applies and gives the new text.
TEST(UnifiedDiff, RandomEditsApply) {
    std::mt19937 rng(7);
    const std::vector<std::string> words{"a", "b", "c", "LightIntensity 1", "", "{ Envelope", "}"};
    const std::vector<std::string> ends{"\n", "\r\n", "\r", ""};
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    for (int round = 0; round < 3000; ++round) {
        const std::size_t vocabulary = 1 + pick(words.size());
        auto line = [&] { return words[pick(vocabulary)] + ends[pick(3)]; };
        std::vector<std::string> a;
        for (std::size_t n = pick(40); n > 0; --n) a.push_back(line());
        std::vector<std::string> b = a;
        for (std::size_t e = pick(8); e > 0; --e) {
            const std::size_t at = b.empty() ? 0 : pick(b.size() + 1);
            switch (pick(3)) {
            case 0: b.insert(b.begin() + static_cast<long>(at), line()); break;
            case 1:
                if (at < b.size()) b.erase(b.begin() + static_cast<long>(at));
                break;
            default:
                if (at < b.size()) b[at] = line();
            }
        }
        std::string ta, tb;
        for (auto &l : a) ta += l;
        for (auto &l : b) tb += l;
        if (pick(4) == 0) ta += words[pick(vocabulary)];  // a last line without a line end
        if (pick(4) == 0) tb += words[pick(vocabulary)];
        SCOPED_TRACE("round " + std::to_string(round));
        expectApplies(ta, tb);
        if (HasFailure()) return;
    }
}

TEST(UnifiedDiff, ReplacedLinesInABigFileAreShownAsSuch) {
    // What a save does to a scene: a few lines replaced far apart, most lines
    // repeated many times over (keywords with the same values).
    std::string a, b;
    for (int light = 0; light < 2000; ++light) {
        const std::string name = "LightName Light " + std::to_string(light) + "\n";
        const std::string body = "LightType 1\nShadowType 0\nLightRange 1\n";
        a += "AddLight\n" + name + "LightIntensity 1\n" + body;
        b += "AddLight\n" + name + (light % 100 == 7 ? "LightIntensity 0.5\n" : "LightIntensity 1\n") + body;
    }
    const session::UnifiedDiff d = unifiedDiff(a, b, "big.lws");
    EXPECT_EQ(d.removed, 20u);
    EXPECT_EQ(d.added, 20u);
    EXPECT_EQ(d.hunks, 20u);
    EXPECT_EQ(applyDiff(a, d.text), b);
}

TEST(UnifiedDiff, PathologicalInputsStillGiveACorrectDiff) {
    // A text and its reverse: every line unique, nothing in order.
    std::string a, b;
    for (int i = 0; i < 3000; ++i) a += std::to_string(i) + "\n";
    for (int i = 2999; i >= 0; --i) b += std::to_string(i) + "\n";
    expectApplies(a, b);
    // No unique line at all and more edits than the search takes on: the
    // lines are paired in place, which is still a correct diff.
    std::string c, e;
    for (int i = 0; i < 20000; ++i) {
        c += (i % 2 ? "x\n" : "y\n");
        e += (i % 3 ? "x\n" : "y\n");
    }
    expectApplies(c, e);
    expectApplies(c, "");
    expectApplies("", c);
}

}  // namespace
