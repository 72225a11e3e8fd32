// commands.cpp - parsing and applying Layout commands to the scene.
#include "commands.h"
#include "words.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

namespace sim {

namespace {

// The words of a command, without copying them. Only the first kMaxWords are
// kept; `count` is the true number, so a command with too many is still refused.
struct Words {
    static constexpr size_t kMaxWords = 5;
    std::string_view word[kMaxWords];
    size_t count = 0;
};

// The blanks of the "C" locale.
bool blank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

Words splitWords(std::string_view text) {
    Words w;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && blank(text[i])) ++i;
        size_t start = i;
        while (i < text.size() && !blank(text[i])) ++i;
        if (i > start) {
            if (w.count < Words::kMaxWords) w.word[w.count] = text.substr(start, i - start);
            ++w.count;
        }
    }
    return w;
}

bool parseHex(std::string_view word, uint32_t &out) {
    if (word.empty() || word.size() > 8) return false;
    uint32_t v = 0;
    for (char c : word) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return false;
        v = v * 16u + static_cast<uint32_t>(d);
    }
    out = v;
    return true;
}

bool parseInt(std::string_view word, long &out) {
    if (word.empty()) return false;
    const TerminatedWord text(word);
    errno = 0;
    char *end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (end != text.end() || errno == ERANGE) return false;
    out = v;
    return true;
}

CommandOutcome reject(std::string why) { return {false, std::move(why)}; }

// The commands on the selected light: their words, how they read their
// arguments into up to three numbers, and what they set.
struct LightCommand {
    const char *verb;
    size_t args;
    const char *usage;   // after the verb: why the arguments were refused
    bool givenSpelling;  // the refusal names the verb as it was sent
    bool (*read)(const std::string_view *args, double v[3]);
    void (*set)(scene::Light &l, const double v[3]);
};

bool readNothing(const std::string_view *, double *) { return true; }

bool readFinite(const std::string_view *args, double v[3]) { return parseFiniteDouble(args[0], v[0]); }

bool readThreeFinite(const std::string_view *args, double v[3]) {
    return parseFiniteDouble(args[0], v[0]) && parseFiniteDouble(args[1], v[1]) &&
           parseFiniteDouble(args[2], v[2]);
}

bool readShadowType(const std::string_view *args, double v[3]) {
    long n = 0;
    if (!parseInt(args[0], n) || n < 0 || n > 2) return false;
    v[0] = static_cast<double>(n);
    return true;
}

constexpr LightCommand kLightCommands[] = {
    {"DistantLight", 0, " takes no argument", false, readNothing,
     [](scene::Light &l, const double *) { l.lightType = 0; }},
    {"PointLight", 0, " takes no argument", false, readNothing,
     [](scene::Light &l, const double *) { l.lightType = 1; }},
    {"Spotlight", 0, " takes no argument", false, readNothing,
     [](scene::Light &l, const double *) { l.lightType = 2; }},
    {"LinearLight", 0, " takes no argument", false, readNothing,
     [](scene::Light &l, const double *) { l.lightType = 3; }},
    {"AreaLight", 0, " takes no argument", false, readNothing,
     [](scene::Light &l, const double *) { l.lightType = 4; }},
    {"LightIntensity", 1, " needs one finite number", true, readFinite,
     [](scene::Light &l, const double *v) { l.intensity = v[0]; }},
    {"LightRange", 1, " needs one finite number", true, readFinite,
     [](scene::Light &l, const double *v) { l.range = v[0]; }},
    {"LightColor", 3, " needs three finite numbers", false, readThreeFinite,
     [](scene::Light &l, const double *v) {
         for (int i = 0; i < 3; ++i) l.color[i] = v[i];
     }},
    {"ShadowType", 1, " needs 0, 1 or 2", false, readShadowType,
     [](scene::Light &l, const double *v) { l.shadowType = static_cast<int32_t>(v[0]); }},
};

}  // namespace

CommandOutcome CommandInterpreter::select(std::string_view id, size_t argc) {
    uint32_t value = 0;
    if (argc != 1 || !parseHex(id, value)) return reject("SelectItem needs one hexadecimal item ID");
    if (value == 0) {
        selected_ = -1;
        return {true, {}};
    }
    const long at = scene_.find(value);
    if (at < 0) return reject("no item has the ID " + std::string(id));
    selected_ = static_cast<int>(at);
    return {true, {}};
}

CommandOutcome CommandInterpreter::run(std::string_view text) {
    const Words words = splitWords(text);
    if (words.count == 0) return reject("empty command");
    const std::string_view verb = words.word[0];
    const size_t argc = words.count - 1;

    if (sameWord(verb, "EditLights")) {
        if (argc != 0) return reject("EditLights takes no argument");
        editingLights_ = true;
        return {true, {}};
    }
    if (sameWord(verb, "SelectItem")) return select(words.word[1], argc);
    for (const LightCommand &c : kLightCommands) {
        if (!sameWord(verb, c.verb)) continue;
        double v[3] = {0, 0, 0};
        if (argc != c.args || !c.read(words.word + 1, v))
            return reject((c.givenSpelling ? std::string(verb) : std::string(c.verb)) + c.usage);
        if (selected_ < 0 || static_cast<size_t>(selected_) >= scene_.lights.size())
            return reject("no light is selected");
        c.set(scene_.lights[static_cast<size_t>(selected_)], v);
        return {true, {}};
    }
    return reject("unknown command " + std::string(verb));
}

}  // namespace sim
