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

}  // namespace

CommandOutcome CommandInterpreter::run(std::string_view text) {
    const Words words = splitWords(text);
    if (words.count == 0) return reject("empty command");
    const std::string_view *w = words.word;
    const std::string_view verb = w[0];
    const size_t argc = words.count - 1;

    auto wantArgs = [&](size_t n) { return argc == n; };
    auto light = [&]() -> scene::Light * {
        if (selected_ < 0 || static_cast<size_t>(selected_) >= scene_.lights.size()) return nullptr;
        return &scene_.lights[static_cast<size_t>(selected_)];
    };

    if (sameWord(verb, "EditLights")) {
        if (!wantArgs(0)) return reject("EditLights takes no argument");
        editingLights_ = true;
        return {true, {}};
    }
    if (sameWord(verb, "SelectItem")) {
        uint32_t id = 0;
        if (!wantArgs(1) || !parseHex(w[1], id)) return reject("SelectItem needs one hexadecimal item ID");
        if (id == 0) {
            selected_ = -1;
            return {true, {}};
        }
        const long at = scene_.find(id);
        if (at < 0) return reject("no item has the ID " + std::string(w[1]));
        selected_ = static_cast<int>(at);
        return {true, {}};
    }

    struct TypeWord {
        const char *word;
        int32_t type;
    };
    static const TypeWord kTypes[] = {
        {"DistantLight", 0}, {"PointLight", 1}, {"Spotlight", 2}, {"LinearLight", 3}, {"AreaLight", 4}};
    for (const TypeWord &t : kTypes) {
        if (!sameWord(verb, t.word)) continue;
        if (!wantArgs(0)) return reject(std::string(t.word) + " takes no argument");
        scene::Light *l = light();
        if (!l) return reject("no light is selected");
        l->lightType = t.type;
        return {true, {}};
    }

    if (sameWord(verb, "LightIntensity") || sameWord(verb, "LightRange")) {
        double v = 0;
        if (!wantArgs(1) || !parseFiniteDouble(w[1], v))
            return reject(std::string(verb) + " needs one finite number");
        scene::Light *l = light();
        if (!l) return reject("no light is selected");
        if (sameWord(verb, "LightRange")) l->range = v;
        else l->intensity = v;
        return {true, {}};
    }
    if (sameWord(verb, "LightColor")) {
        double c[3];
        if (!wantArgs(3) || !parseFiniteDouble(w[1], c[0]) || !parseFiniteDouble(w[2], c[1]) ||
            !parseFiniteDouble(w[3], c[2]))
            return reject("LightColor needs three finite numbers");
        scene::Light *l = light();
        if (!l) return reject("no light is selected");
        for (int i = 0; i < 3; ++i) l->color[i] = c[i];
        return {true, {}};
    }
    if (sameWord(verb, "ShadowType")) {
        long v = 0;
        if (!wantArgs(1) || !parseInt(w[1], v) || v < 0 || v > 2) return reject("ShadowType needs 0, 1 or 2");
        scene::Light *l = light();
        if (!l) return reject("no light is selected");
        l->shadowType = static_cast<int32_t>(v);
        return {true, {}};
    }
    return reject("unknown command " + std::string(verb));
}

}  // namespace sim
