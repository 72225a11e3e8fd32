// lws_parse.cpp - reading a scene file into lines and light records.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "scenefile/lws_document.h"
#include "scenefile/lws_text.h"

namespace scenefile {

std::string LoadError::toString() const {
    std::string s = file;
    if (line > 0) s += ":" + std::to_string(line);
    s += ": " + message;
    return s;
}

namespace {

// Keywords that end a light's section: the next item, or scene-wide settings.
bool endsLightSection(std::string_view kw) {
    static constexpr std::string_view kEnders[] = {
        "AddLight",
        "AddCamera",
        "ShowCamera",
        "CameraName",
        "LoadObject",
        "LoadObjectLayer",
        "AddNullObject",
        "AmbientColor",
        "AmbientIntensity",
        "AmbIntensity",
        "GlobalLightIntensity",
        "EnableShadowMaps",
        "EnableRadiosity",
        "SolidBackdrop",
        "BackdropColor",
        "FogType",
        "RenderMode",
        "ViewConfiguration",
        "ViewMode",
        "CurrentObject",
        "CurrentLight",
        "CurrentCamera",
        "GraphEditorData",
        "DataOverlayLabel",
    };
    for (std::string_view e : kEnders) {
        if (kw == e) return true;
    }
    return false;
}

std::string_view trimmed(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

std::string str(std::string_view s) { return std::string(s); }

// Line numbers and offsets within a line: files are smaller than 4 GiB.
uint32_t u32(std::size_t v) { return static_cast<uint32_t>(v); }

struct EnvelopeKey {
    double value = 0;
    double time = 0;
    bool stepped = false;
};

// Value of an envelope at time 0 (see the header for what is evaluated).
double valueAtTimeZero(const std::vector<EnvelopeKey> &keys) {
    if (keys.empty()) return 0.0;
    if (0.0 <= keys.front().time) return keys.front().value;
    if (0.0 >= keys.back().time) return keys.back().value;
    for (std::size_t k = 0; k + 1 < keys.size(); ++k) {
        const EnvelopeKey &a = keys[k];
        const EnvelopeKey &b = keys[k + 1];
        if (a.time <= 0.0 && 0.0 <= b.time) {
            if (b.time == 0.0) return b.value;
            if (a.stepped || b.time <= a.time) return a.value;
            const double f = (0.0 - a.time) / (b.time - a.time);
            return a.value + (b.value - a.value) * f;
        }
    }
    return keys.back().value;  // keys out of order: fall back to the last
}

}  // namespace

class LwsParser {
public:
    LwsParser(std::string &&bytes, const std::string &fileName, LoadError &err) : err_(err) {
        doc_.fileName_ = fileName;
        doc_.bytes_ = std::move(bytes);
    }

    bool run(LwsDocument &out) {
        if (doc_.bytes_.size() > LwsDocument::kMaxFileBytes) {
            return fail(0, "file is larger than " +
                               std::to_string(LwsDocument::kMaxFileBytes / (std::size_t{1024} * 1024u)) +
                               " MiB");
        }
        splitLines();
        if (!readHeader()) return false;
        if (!readBody()) return false;
        doc_.lights_.shrink_to_fit();
        out = std::move(doc_);
        return true;
    }

private:
    bool fail(std::size_t lineIndexPlusOne, const std::string &message) {
        err_.file = doc_.fileName_;
        err_.line = static_cast<int>(std::min<std::size_t>(lineIndexPlusOne, 2147483647u));
        err_.message = message;
        return false;
    }
    bool failAt(std::size_t lineIndex, const std::string &message) { return fail(lineIndex + 1, message); }

    // Counts the lines and records where every kLineStride-th one starts; a
    // line ends at "\r\n", "\n" or a lone "\r".
    void splitLines() {
        const std::string &b = doc_.bytes_;
        const std::size_t size = b.size();
        auto &marks = doc_.lineMarks_;
        marks.clear();
        marks.push_back(0);
        std::size_t count = 0;  // lines ended so far
        doc_.loneCarriageReturn_ = false;
        for (std::size_t i = 0; i < size; ++i) {
            if (b[i] != '\n' && b[i] != '\r') continue;
            if (b[i] == '\r') {
                if (i + 1 < size && b[i + 1] == '\n') ++i;
                else doc_.loneCarriageReturn_ = true;
            }
            if (++count % LwsDocument::kLineStride == 0) marks.push_back(static_cast<uint32_t>(i + 1));
        }
        // A last line without a line end runs to the end of the bytes.
        const bool openLast = size > 0 && b[size - 1] != '\n' && b[size - 1] != '\r';
        doc_.lineCount_ = count + (openLast ? 1u : 0u);
        marks.shrink_to_fit();
    }

    bool readHeader() {
        const std::size_t n = doc_.lineCount();
        if (n == 0) return fail(1, "file is empty; expected the LWSC header");
        std::string_view first = doc_.lineText(0);
        if (first.substr(0, 3) == "\xEF\xBB\xBF") first.remove_prefix(3);
        if (trimmed(first) != "LWSC") {
            return fail(1, "not a LightWave scene file: the first line is not \"LWSC\"");
        }
        if (n < 2) return fail(1, "file ends after the LWSC header; expected a version");
        int32_t version = 0;
        if (!parseInt(trimmed(doc_.lineText(1)), version)) {
            return fail(2, "expected the scene file version (a number) after \"LWSC\"");
        }
        const VersionRules *rules = versionRules(version);
        if (!rules) {
            return fail(2, "unsupported scene file version " + std::to_string(version) + " (versions " +
                               std::to_string(kFirstVersion) + " to " + std::to_string(kLastVersion) +
                               " are read)");
        }
        doc_.version_ = version;
        doc_.rules_ = rules;
        return true;
    }

    bool readBody() {
        const std::size_t n = doc_.lineCount();
        long depth = 0;            // nesting of "{ ... }" and Plugin blocks
        std::size_t openedAt = 0;  // line of the outermost open block
        bool inLight = false;
        for (std::size_t i = 2; i < n; ++i) {
            const std::string_view text = doc_.lineText(i);
            const Tokens toks = tokenize(text, 2);
            if (toks.empty()) continue;
            const std::string_view kw = tokenText(text, toks[0]);
            if (kw[0] == '{' || kw == "Plugin") {
                if (depth == 0) {
                    openedAt = i;
                    if (inLight && kw == "Plugin") startHandler(i);
                }
                ++depth;
                continue;
            }
            if (kw == "}" || kw == "EndPlugin") {
                if (depth > 0 && --depth == 0 && openHandler_) {
                    doc_.lights_.back().handler.last = u32(i);
                    openHandler_ = false;
                }
                continue;
            }
            if (depth > 0) continue;

            if (kw == "AddLight") {
                closeLight(i, inLight);
                if (!startLight(i, toks)) return false;
                inLight = true;
                continue;
            }
            if (endsLightSection(kw)) {
                closeLight(i, inLight);
                inLight = false;
                continue;
            }
            if (!inLight) continue;
            std::size_t last = i;
            if (!readSetting(i, kw, last)) return false;
            i = last;
        }
        if (depth > 0) {
            return failAt(openedAt, "block opened here is not closed before the end of the file");
        }
        closeLight(n, inLight);
        return true;
    }

    void closeLight(std::size_t endLine, bool inLight) {
        if (!inLight || doc_.lights_.empty()) return;
        LwsDocument::Light &light = doc_.lights_.back();
        light.end = u32(endLine);
        // The handler's kind decides the type where the plug-in has no type
        // for it, and stands in for a missing LightType line.
        if (!light.handler.present) return;
        const std::string_view name =
            doc_.lineText(light.handler.first)
                .substr(light.handler.valueBegin, light.handler.valueEnd - light.handler.valueBegin);
        const LightKind *kind = findLightKind(name);
        if (!kind || kind->typeCode == kOtherLightKind) light.value.lightType = kOtherLightKind;
        else if (!light.spans[static_cast<int>(LwsSetting::Type)].present)
            light.value.lightType = kind->typeCode;
    }

    // "Plugin LightHandler N NAME" at the top level of a light, in versions
    // that have them; the block's end is noted when it closes.
    void startHandler(std::size_t i) {
        if (!doc_.rules_->lightHandlers) return;
        const std::string_view text = doc_.lineText(i);
        const Tokens toks = tokenize(text, 4);
        if (toks.size() < 2 || tokenText(text, toks[1]) != "LightHandler") return;
        LwsDocument::Span &h = doc_.lights_.back().handler;
        h = LwsDocument::Span();
        h.present = true;
        h.first = h.last = u32(i);
        if (toks.size() >= 4) {
            h.valueBegin = u32(toks[3].begin);
            h.valueEnd = u32(toks[3].end);
        }
        openHandler_ = true;
    }

    bool startLight(std::size_t i, const Tokens &toks) {
        LwsDocument::Light light;
        light.begin = u32(i);
        light.end = u32(i + 1);
        if (!doc_.rules_->idAfterAddLight) {
            light.value.id = scene::kLightIdBase + static_cast<uint32_t>(doc_.lights_.size());
        } else {
            const std::string_view text = doc_.lineText(i);
            uint32_t id = 0;
            if (toks.size() < 2 || !parseHexId(tokenText(text, toks[1]), id)) {
                return failAt(i, "AddLight needs the light's item ID in hexadecimal in LWSC " +
                                     std::to_string(doc_.version_));
            }
            light.value.id = id;
        }
        light.value.name.clear();
        doc_.lights_.push_back(std::move(light));
        return true;
    }

    // Reads the numbers of a setting line, or an envelope after it. On success
    // `last` is the setting's last line.
    bool readValues(std::size_t i, std::string_view kw, std::size_t count, LwsDocument::Span &span,
                    double *values, std::size_t &last) {
        const std::string_view text = doc_.lineText(i);
        const Tokens toks = tokenize(text, count + 1);
        span = LwsDocument::Span();
        span.first = u32(i);
        span.last = u32(i);
        if (toks.size() >= 2 && tokenText(text, toks[1]) == "(envelope)") {
            if (count != 1) return failAt(i, str(kw) + " cannot be read from an envelope");
            span.animated = true;
            span.valueBegin = u32(toks[1].begin);
            span.valueEnd = u32(toks[1].end);
            if (!readEnvelope(i, kw, values[0], last)) return false;
            span.last = u32(last);
            span.present = true;
            return true;
        }
        if (toks.size() < count + 1) {
            return failAt(
                i, str(kw) + " needs " + std::to_string(count) + (count == 1 ? " number" : " numbers"));
        }
        for (std::size_t k = 0; k < count; ++k) {
            const std::string_view t = tokenText(text, toks[k + 1]);
            if (!parseNumber(t, values[k])) {
                return failAt(i, str(kw) + " needs a number, not \"" + str(t.substr(0, 40)) + "\"");
            }
        }
        span.valueBegin = u32(toks[1].begin);
        span.valueEnd = u32(toks[count].end);
        span.present = true;
        last = i;
        return true;
    }

    bool readEnvelope(std::size_t at, std::string_view kwView, double &value, std::size_t &last) {
        const std::string kw(kwView);
        const std::size_t n = doc_.lineCount();
        const std::size_t j = at + 1;
        if (j >= n) return failAt(at, "the envelope of " + kw + " is missing (file ends)");
        const std::string_view headText = doc_.lineText(j);
        const Tokens head = tokenize(headText, 2);
        if (!head.empty() && headText[head[0].begin] == '{') {
            return readBlockEnvelope(at, j, kw, value, last);
        }
        return readOldEnvelope(at, j, kw, value, last);
    }

    // "{ Envelope", key count, "Key value time shape ..." lines, "}".
    bool readBlockEnvelope(std::size_t /*at*/, std::size_t j, const std::string &kw, double &value,
                           std::size_t &last) {
        const std::size_t n = doc_.lineCount();
        const std::string_view open = trimmed(doc_.lineText(j));
        if (open != "{ Envelope") {
            return failAt(j, "expected \"{ Envelope\" after " + kw + " (envelope)");
        }
        if (j + 1 >= n) return failAt(j, "the envelope of " + kw + " is truncated (file ends)");
        int32_t count = 0;
        if (!parseInt(trimmed(doc_.lineText(j + 1)), count) || count < 0) {
            return failAt(j + 1, "expected the number of keys of the envelope of " + kw);
        }
        std::vector<EnvelopeKey> keys;
        long depth = 1;
        for (std::size_t k = j + 2; k < n; ++k) {
            const std::string_view text = doc_.lineText(k);
            const Tokens toks = tokenize(text, 4);
            if (toks.empty()) continue;
            const std::string_view first = tokenText(text, toks[0]);
            if (first[0] == '{') {
                ++depth;
                continue;
            }
            if (first == "}") {
                if (--depth == 0) {
                    if (keys.size() != static_cast<std::size_t>(count)) {
                        return failAt(k, "the envelope of " + kw + " announces " + std::to_string(count) +
                                             " keys but has " + std::to_string(keys.size()));
                    }
                    value = valueAtTimeZero(keys);
                    last = k;
                    return true;
                }
                continue;
            }
            if (depth != 1 || first != "Key") continue;
            EnvelopeKey key;
            if (toks.size() < 3 || !parseNumber(tokenText(text, toks[1]), key.value) ||
                !parseNumber(tokenText(text, toks[2]), key.time)) {
                return failAt(k, "envelope key of " + kw + " needs a value and a time");
            }
            double shape = 0;
            if (toks.size() >= 4 && parseNumber(tokenText(text, toks[3]), shape)) {
                key.stepped = shape == 4.0;
            }
            if (keys.size() >= static_cast<std::size_t>(count)) {
                return failAt(k, "the envelope of " + kw + " has more keys than the " +
                                     std::to_string(count) + " it announces");
            }
            keys.push_back(key);
        }
        return failAt(j, "the envelope of " + kw + " is not closed before the end of the file");
    }

    // Channel count, key count, per key a value line and a frame line, "EndBehavior".
    bool readOldEnvelope(std::size_t at, std::size_t j, const std::string &kw, double &value,
                         std::size_t &last) {
        const std::size_t n = doc_.lineCount();
        int32_t channels = 0;
        if (!parseInt(trimmed(doc_.lineText(j)), channels) || channels < 1) {
            return failAt(j, "expected the channel count of the envelope of " + kw);
        }
        if (j + 1 >= n) return failAt(j, "the envelope of " + kw + " is truncated (file ends)");
        int32_t count = 0;
        if (!parseInt(trimmed(doc_.lineText(j + 1)), count) || count < 0) {
            return failAt(j + 1, "expected the number of keys of the envelope of " + kw);
        }
        const std::size_t firstKey = j + 2;
        // Two lines per key, then EndBehavior: checked against the lines left
        // before anything is read or allocated (divided, so that a huge count
        // cannot wrap a 32-bit size_t).
        const std::size_t left = firstKey <= n ? n - firstKey : 0u;
        if (left == 0u || static_cast<std::size_t>(count) > (left - 1u) / 2u) {
            return failAt(n - 1, "the envelope of " + kw + " (line " + std::to_string(at + 1) +
                                     ") is truncated: the file ends before its " + std::to_string(count) +
                                     " keys and EndBehavior");
        }
        std::vector<EnvelopeKey> keys;
        keys.reserve(static_cast<std::size_t>(count));
        for (int32_t k = 0; k < count; ++k) {
            const std::size_t vl = firstKey + 2u * static_cast<std::size_t>(k);
            const std::string_view vt = doc_.lineText(vl);
            const std::string_view ft = doc_.lineText(vl + 1);
            const Tokens vtoks = tokenize(vt, 1);
            const Tokens ftoks = tokenize(ft, 2);
            EnvelopeKey key;
            if (vtoks.empty() || !parseNumber(tokenText(vt, vtoks[0]), key.value)) {
                return failAt(
                    vl, "expected the value of key " + std::to_string(k + 1) + " of the envelope of " + kw);
            }
            if (ftoks.empty() || !parseNumber(tokenText(ft, ftoks[0]), key.time)) {
                return failAt(vl + 1, "expected the frame of key " + std::to_string(k + 1) +
                                          " of the envelope of " + kw);
            }
            keys.push_back(key);
        }
        const std::size_t endLine = firstKey + 2u * static_cast<std::size_t>(count);
        const std::string_view endText = doc_.lineText(endLine);
        const Tokens etoks = tokenize(endText, 1);
        if (etoks.empty() || tokenText(endText, etoks[0]) != "EndBehavior") {
            return failAt(endLine, "expected EndBehavior after the " + std::to_string(count) +
                                       " keys of the envelope of " + kw);
        }
        value = valueAtTimeZero(keys);
        last = endLine;
        return true;
    }

    bool readSetting(std::size_t i, std::string_view kw, std::size_t &last) {
        LwsDocument::Light &light = doc_.lights_.back();
        scene::Light &v = light.value;
        last = i;
        double vals[3] = {0, 0, 0};
        if (kw == "LightName") {
            const std::string_view text = doc_.lineText(i);
            const Tokens toks = tokenize(text, 2);
            v.name = toks.size() >= 2 ? str(trimmed(text.substr(toks[1].begin))) : std::string();
            return true;
        }
        if (kw == "LightColor") {
            LwsDocument::Span &span = light.spans[static_cast<int>(LwsSetting::Color)];
            if (!readValues(i, kw, 3, span, vals, last)) return false;
            const double scale = doc_.rules_->colourAsBytes ? 1.0 / 255.0 : 1.0;
            for (int c = 0; c < 3; ++c) {
                light.rawColor[c] = vals[c];
                v.color[c] = vals[c] * scale;
            }
            return true;
        }
        if (kw == "LightIntensity" || kw == "LgtIntensity") {
            LwsDocument::Span &span = light.spans[static_cast<int>(LwsSetting::Intensity)];
            if (!readValues(i, kw, 1, span, vals, last)) return false;
            v.intensity = vals[0];
            v.intensityAnimated = span.animated;
            return true;
        }
        if (kw == "LightRange") {
            LwsDocument::Span &span = light.spans[static_cast<int>(LwsSetting::Range)];
            if (!readValues(i, kw, 1, span, vals, last)) return false;
            v.range = vals[0];
            return true;
        }
        if (kw == "LightType" || kw == "ShadowType" || kw == "LightFalloffType" || kw == "LightFalloff") {
            const LwsSetting which = kw == "LightType"    ? LwsSetting::Type
                                     : kw == "ShadowType" ? LwsSetting::Shadow
                                                          : LwsSetting::Falloff;
            LwsDocument::Span &span = light.spans[static_cast<int>(which)];
            const std::string_view text = doc_.lineText(i);
            const Tokens toks = tokenize(text, 2);
            int32_t value = 0;
            if (toks.size() < 2 || !parseInt(tokenText(text, toks[1]), value)) {
                const std::string got =
                    toks.size() < 2 ? "nothing" : "\"" + str(tokenText(text, toks[1]).substr(0, 40)) + "\"";
                return failAt(i, str(kw) + " needs a whole number, not " + got);
            }
            span = LwsDocument::Span();
            span.present = true;
            span.first = span.last = u32(i);
            span.valueBegin = u32(toks[1].begin);
            span.valueEnd = u32(toks[1].end);
            if (which == LwsSetting::Type) v.lightType = value;
            else if (which == LwsSetting::Shadow) v.shadowType = value;
            else {
                light.falloff = value;
                v.flags = value != 0 ? (v.flags | 1u) : (v.flags & ~1u);
            }
            return true;
        }
        return true;
    }

    LoadError &err_;
    LwsDocument doc_;
    bool openHandler_ = false;  // a handler block of the last light is open
};

bool LwsDocument::parse(const std::string &bytes, const std::string &fileName, LwsDocument &out,
                        LoadError &err) {
    return parse(std::string(bytes), fileName, out, err);
}

bool LwsDocument::parse(std::string &&bytes, const std::string &fileName, LwsDocument &out, LoadError &err) {
    LwsParser parser(std::move(bytes), fileName, err);
    return parser.run(out);
}

std::size_t LwsDocument::lineBegin(std::size_t i) const {
    if (i >= lineCount_) return bytes_.size();
    std::size_t k, at;
    if (cachedLine_ <= i && i - cachedLine_ < kLineStride) {
        k = cachedLine_;
        at = cachedBegin_;
    } else {
        k = i - i % kLineStride;
        at = lineMarks_[k / kLineStride];
    }
    const std::size_t size = bytes_.size();
    for (; k < i; ++k) {  // at most kLineStride - 1 lines
        if (!loneCarriageReturn_) {
            // Every line ends in "\n" or "\r\n": the next starts after the '\n'.
            const void *end = std::memchr(bytes_.data() + at, '\n', size - at);
            at = end ? static_cast<std::size_t>(static_cast<const char *>(end) - bytes_.data()) + 1 : size;
            continue;
        }
        while (at < size && bytes_[at] != '\n' && bytes_[at] != '\r') ++at;
        if (at < size && bytes_[at] == '\r' && at + 1 < size && bytes_[at + 1] == '\n') ++at;
        if (at < size) ++at;
    }
    cachedLine_ = i;
    cachedBegin_ = at;
    return at;
}

std::string_view LwsDocument::lineText(std::size_t i) const {
    const std::size_t b = lineBegin(i);
    const std::size_t e = lineBegin(i + 1);
    return std::string_view(bytes_).substr(b, e - b - eolLength(b, e));
}

std::string_view LwsDocument::lineEol(std::size_t i) const {
    const std::size_t b = lineBegin(i);
    const std::size_t e = lineBegin(i + 1);
    const std::size_t len = eolLength(b, e);
    return std::string_view(bytes_).substr(e - len, len);
}

std::size_t LwsDocument::eolLength(std::size_t b, std::size_t e) const {
    if (e == b) return 0;
    if (bytes_[e - 1] == '\r') return 1;
    if (bytes_[e - 1] != '\n') return 0;  // the last line, without a line end
    return e - b >= 2 && bytes_[e - 2] == '\r' ? 2 : 1;
}

bool LwsDocument::load(const std::string &path, LwsDocument &out, LoadError &err) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        err.file = path;
        err.line = 0;
        err.message = "cannot open the file for reading";
        return false;
    }
    std::string bytes;
    // A regular file's size is known: one allocation of the right size. (A pipe
    // or device has none; its bytes are read until it ends.)
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.clear();
    in.seekg(0, std::ios::beg);
    in.clear();
    if (size > 0 && static_cast<unsigned long long>(size) <= kMaxFileBytes) {
        bytes.resize(static_cast<std::size_t>(size));
        in.read(&bytes[0], static_cast<std::streamsize>(size));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
    }
    char buf[65536];
    while (in) {
        in.read(buf, sizeof buf);
        const std::streamsize got = in.gcount();
        if (got <= 0) break;
        if (bytes.size() + static_cast<std::size_t>(got) > kMaxFileBytes) {
            err.file = path;
            err.line = 0;
            err.message =
                "file is larger than " + std::to_string(kMaxFileBytes / (std::size_t{1024} * 1024u)) + " MiB";
            return false;
        }
        bytes.append(buf, static_cast<std::size_t>(got));
    }
    if (in.bad()) {
        err.file = path;
        err.line = 0;
        err.message = "error while reading the file";
        return false;
    }
    return parse(std::move(bytes), path, out, err);
}

scene::Scene LwsDocument::scene() const {
    scene::Scene s;
    s.lights.reserve(lights_.size());
    for (std::size_t i = 0; i < lights_.size(); ++i) {
        s.lights.push_back(lights_[i].value);
        if (!lights_[i].handler.present) continue;
        const std::string_view handler = lightHandler(i);
        const LightKind *kind = findLightKind(handler);
        if (!kind) s.lights.back().otherKind = std::string(handler);
        else if (kind->typeCode == kOtherLightKind) s.lights.back().otherKind = std::string(kind->shown);
    }
    return s;
}

int LwsDocument::settingLine(std::size_t index, LwsSetting setting) const {
    if (index >= lights_.size()) return 0;
    const Span &sp = lights_[index].spans[static_cast<int>(setting)];
    return sp.present ? static_cast<int>(sp.first + 1) : 0;
}

bool LwsDocument::settingAnimated(std::size_t index, LwsSetting setting) const {
    if (index >= lights_.size()) return false;
    const Span &sp = lights_[index].spans[static_cast<int>(setting)];
    return sp.present && sp.animated;
}

bool LwsDocument::hasLightHandler(std::size_t index) const {
    return index < lights_.size() && lights_[index].handler.present;
}

std::string_view LwsDocument::lightHandler(std::size_t index) const {
    if (!hasLightHandler(index)) return std::string_view();
    const Span &h = lights_[index].handler;
    return lineText(h.first).substr(h.valueBegin, h.valueEnd - h.valueBegin);
}

}  // namespace scenefile
