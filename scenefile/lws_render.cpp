// lws_render.cpp - writing edited light settings back into a scene file.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>

#include "scene/name_text.h"
#include "scenefile/lws_document.h"
#include "scenefile/lws_text.h"

namespace scenefile {

namespace {

bool allFinite(const double *v, int n) {
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(v[i])) return false;
    }
    return true;
}

// round(x), half away from zero, clamped to 0..255; `clamped` tells whether it was.
int32_t toByte(double x, bool &clamped) {
    const double r = std::round(x * 255.0);
    if (r < 0.0) {
        clamped = true;
        return 0;
    }
    if (r > 255.0) {
        clamped = true;
        return 255;
    }
    return static_cast<int32_t>(r);
}

bool sameProduct(const double *a, double ai, const double *b, double bi) {
    for (int c = 0; c < 3; ++c) {
        const double p = a[c] * ai;
        const double q = b[c] * bi;
        const double tol = 2e-6 * std::max(1.0, std::fabs(q));
        if (!(std::fabs(p - q) <= tol)) return false;
    }
    return true;
}

// Which of a light's values differ from what an OK without edits sends for
// it, compared as the plug-in sends them (six decimals).
struct Edits {
    bool known = false;  // the unedited light was at hand
    bool colour = false;
    bool intensity = false;
    bool type = false;
};

Edits editsOf(const scene::Light &e, const scene::Light &unedited) {
    Edits ed;
    ed.known = true;
    for (int c = 0; c < 3; ++c)
        ed.colour = ed.colour || formatFixed(e.color[c]) != formatFixed(unedited.color[c]);
    ed.intensity = formatFixed(e.intensity) != formatFixed(unedited.intensity);
    ed.type = e.lightType != unedited.lightType;
    return ed;
}

// "255 128 0": a colour as the panel shows it, for messages.
std::string colour255(const double *fractions) {
    std::string s;
    for (int c = 0; c < 3; ++c) {
        if (c) s += ' ';
        s += formatTrimmed(std::round(fractions[c] * 255.0));
    }
    return s;
}

std::string percent(double fraction) { return formatTrimmed(fraction * 100.0) + "%"; }

const char *typeName(int32_t type) {
    static const char *const kNames[] = {"Distant", "Point", "Spot", "Linear", "Area"};
    return type >= 0 && type <= 4 ? kNames[type] : "Distant";
}

}  // namespace

class LwsWriter {
public:
    LwsWriter(const LwsDocument &doc, LwsDocument::Notes &notes)
        : doc_(doc), rules_(doc.rules()), warnings_(notes.warnings), errors_(notes.errors) {}

    std::string run(const scene::Scene &edited, const scene::Scene *unedited) {
        const std::size_t docCount = doc_.lights_.size();
        const std::size_t editCount = edited.lights.size();
        if (docCount != editCount) {
            warn("the edited scene has " + std::to_string(editCount) + " lights but " + doc_.fileName_ +
                 " has " + std::to_string(docCount) + "; only the first " +
                 std::to_string(std::min(docCount, editCount)) + " are written");
        }
        for (std::size_t i = 0; i < docCount && i < editCount; ++i) {
            const LwsDocument::Light &light = doc_.lights_[i];
            const scene::Light &e = edited.lights[i];
            if (e.id != light.value.id) {
                char buf[96];
                std::snprintf(buf, sizeof buf, "light %lu has ID %x in the edited scene but %x in the file",
                              static_cast<unsigned long>(i + 1), static_cast<unsigned>(e.id),
                              static_cast<unsigned>(light.value.id));
                warn(std::string(buf) + "; it is written unchanged");
                continue;
            }
            if (untouched(light.value, e)) continue;
            // Without the unedited scene (or its light) nothing counts as edited,
            // except a type the file cannot take, which is refused either way.
            const scene::Light *base =
                unedited && i < unedited->lights.size() && unedited->lights[i].id == e.id
                    ? &unedited->lights[i]
                    : nullptr;
            Edits ed;
            if (base) ed = editsOf(e, *base);
            else ed.type = true;
            writeLight(i, light, e, ed);
        }
        return assemble();
    }

private:
    // A decimal as this file's version writes it.
    std::string fmt(double v) const {
        return rules_.numbers == NumberFormat::Fixed ? formatFixed(v) : formatTrimmed(v);
    }

    void warn(const std::string &s) { warnings_.push_back(s); }
    // A light as the warnings name it: its number and its name in UTF-8, read
    // as the scene's names are read (scene/name_text.h).
    std::string who(std::size_t i, const LwsDocument::Light &l) {
        if (!namesUtf8_) {
            namesUtf8_ = true;
            for (const LwsDocument::Light &o : doc_.lights_)
                if (!scene::isUtf8(o.value.name)) {
                    namesUtf8_ = false;
                    break;
                }
        }
        const std::string name = *namesUtf8_ ? l.value.name : scene::cp1252ToUtf8(l.value.name);
        return "light " + std::to_string(i + 1) + " \"" + name + "\"";
    }
    const LwsDocument::Span &span(const LwsDocument::Light &l, LwsSetting s) const {
        return l.spans[static_cast<int>(s)];
    }

    // Whether writeLight would change nothing: every value the writer looks at
    // is exactly as read (and the type is one it writes as it stands). Most
    // lights of a big scene are such, so they cost no formatting.
    static bool untouched(const scene::Light &o, const scene::Light &e) {
        return e.color[0] == o.color[0] && e.color[1] == o.color[1] && e.color[2] == o.color[2] &&
               e.intensity == o.intensity && e.lightType == o.lightType && e.lightType >= 0 &&
               e.lightType <= 4 && e.shadowType == o.shadowType && e.range == o.range &&
               (e.flags & 1u) == (o.flags & 1u);
    }

    void writeLight(std::size_t i, const LwsDocument::Light &light, const scene::Light &e, const Edits &ed) {
        writeColorAndIntensity(i, light, e, ed);

        if (rules_.lightHandlers) {
            writeHandledType(i, light, e, ed.type);
        } else {
            // Light type: values outside 0..4 select a distant light.
            const int32_t type = (e.lightType >= 0 && e.lightType <= 4) ? e.lightType : 0;
            if (type != light.value.lightType) {
                setValue(light, LwsSetting::Type, formatInt(type));
            }
        }

        const bool limited = (e.flags & 1u) != 0;
        if (limited != ((light.value.flags & 1u) != 0)) {
            setValue(light, LwsSetting::Falloff, limited ? "1" : "0");
        }

        if (!std::isfinite(e.range)) {
            warn(who(i, light) + ": the range is not a finite number; the range was not changed");
        } else if (fmt(e.range) != fmt(light.value.range)) {
            if (span(light, LwsSetting::Range).animated) {
                warn(who(i, light) +
                     ": the range is animated in the file; its envelope was kept and the new range " +
                     formatTrimmed(e.range) + " was not written");
            } else {
                setValue(light, LwsSetting::Range, fmt(e.range));
            }
        }

        // Last, so that lines inserted at the same place keep Layout's order.
        if (e.shadowType != light.value.shadowType) {
            if (e.shadowType >= 0 && e.shadowType <= 2) {
                setValue(light, LwsSetting::Shadow, formatInt(e.shadowType));
            } else {
                warn(who(i, light) + ": shadow type " + formatInt(e.shadowType) +
                     " is not one of 0, 1, 2; the shadow type was not changed");
            }
        }
    }

    // The type of a light whose kind a handler block may name: the LightType
    // line is written only where the block (if any) already names the new
    // kind, since the block itself is never rewritten.
    void writeHandledType(std::size_t i, const LwsDocument::Light &light, const scene::Light &e,
                          bool edited) {
        const int32_t now = light.value.lightType;
        if (e.lightType == now) return;
        const int32_t type = (e.lightType >= 0 && e.lightType <= 4) ? e.lightType : 0;
        if (type == now) return;
        const LwsDocument::Span &h = light.handler;
        const std::string_view handler =
            h.present ? doc_.lineText(h.first).substr(h.valueBegin, h.valueEnd - h.valueBegin)
                      : std::string_view();
        if (!h.present || handler == handlerOfType(type)) {
            setValue(light, LwsSetting::Type, formatInt(type));
            return;
        }
        const LightKind *kind = findLightKind(handler);
        const std::string block = "its Plugin LightHandler block, line " + std::to_string(h.first + 1) +
                                  ", names " +
                                  (handler.empty() ? std::string("no kind") : std::string(handler));
        if (!edited) {
            // What an OK without edits sends: the light stays what the file says.
            const bool other = !kind || kind->typeCode == kOtherLightKind;
            const std::string what = !kind ? std::string("a light of a kind this program does not know")
                                           : "a " + toLower(kind->shown) + " light";
            warn(who(i, light) + ": the light type " + typeName(type) +
                 " that was sent was not written: it is " + what + " (" + block + ")" +
                 (other ? ", which none of the panel's five types stands for, and " +
                              std::string(typeName(type)) + " is what an OK without edits sends for it"
                        : std::string()) +
                 "; it keeps its kind");
            return;
        }
        errors_.push_back(who(i, light) + ": the light type cannot be changed to " + typeName(type) +
                          " in LWSC " + std::to_string(doc_.version_) + ": " + block +
                          ", and this program cannot rewrite that block");
    }

    static std::string toLower(std::string_view s) {
        std::string out(s);
        for (char &c : out) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        return out;
    }

    std::string colorText(const double *fractions, std::size_t i, const LwsDocument::Light &light) {
        std::string s;
        bool clamped = false;
        for (int c = 0; c < 3; ++c) {
            if (c) s += ' ';
            s +=
                rules_.colourAsBytes ? formatInt(toByte(fractions[c], clamped)) : formatTrimmed(fractions[c]);
        }
        if (clamped) {
            warn(who(i, light) + ": colour components outside 0..255 were clamped, as LWSC " +
                 std::to_string(doc_.version_) + " stores colour as 0-255 integers");
        }
        return s;
    }

    std::string originalColorText(const LwsDocument::Light &light) const {
        std::string s;
        for (int c = 0; c < 3; ++c) {
            if (c) s += ' ';
            if (rules_.colourAsBytes) {
                bool ignored = false;
                s += formatInt(toByte(light.rawColor[c] / 255.0, ignored));
            } else {
                s += formatTrimmed(light.rawColor[c]);
            }
        }
        return s;
    }

    // A light black at time 0 whose lines are kept although nobody edited
    // it: colour x intensity is 0 either way, so the product cannot tell
    // whether the colour sent was meant. Says what was sent and what the file
    // keeps, where the two differ.
    void noteKeptBlackLight(std::size_t i, const LwsDocument::Light &light, const scene::Light &e,
                            const Edits &ed) {
        if (!ed.known) return;
        const scene::Light &o = light.value;
        for (int c = 0; c < 3; ++c) {
            if (o.color[c] * o.intensity != 0.0) return;
        }
        const bool colourDiffers = colour255(e.color) != colour255(o.color);
        const bool intensityDiffers = !o.intensityAnimated && fmt(e.intensity) != fmt(o.intensity);
        if (!colourDiffers && !intensityDiffers) return;
        std::string sent, kept;
        if (colourDiffers) {
            sent = "the colour " + colour255(e.color);
            kept = "colour " + colour255(o.color);
        }
        if (intensityDiffers) {
            sent += std::string(sent.empty() ? "the" : " and the") + " intensity " + percent(e.intensity);
            kept += std::string(kept.empty() ? "" : " and ") + "intensity " + percent(o.intensity);
        }
        const char *were = colourDiffers && intensityDiffers ? "were" : "was";
        warn(
            who(i, light) + ": " + sent + " that " + were + " sent " + were +
            " not written: the light is black at time 0, and an OK without edits sends that for it; the file "
            "keeps " +
            kept + " (any other value given in the panel is written)");
    }

    void writeColorAndIntensity(std::size_t i, const LwsDocument::Light &light, const scene::Light &e,
                                const Edits &ed) {
        const scene::Light &o = light.value;
        if (!allFinite(e.color, 3) || !std::isfinite(e.intensity)) {
            warn(who(i, light) + ": colour or intensity is not a finite number; neither was changed");
            return;
        }
        const bool edited = ed.colour || ed.intensity;
        const bool productKept = sameProduct(e.color, e.intensity, o.color, o.intensity);

        if (o.intensityAnimated) {
            // The envelope stays; the colour carries what changed at time 0.
            if (!edited && productKept) {
                noteKeptBlackLight(i, light, e, ed);
                return;
            }
            if (o.intensity == 0.0) {
                // Colour x intensity is 0 at time 0 whatever the colour; the
                // colour line, which the envelope scales at other times, takes
                // the colour as sent.
                if (ed.intensity || (!edited && !productKept)) {
                    warn(who(i, light) +
                         ": the intensity is animated in the file and 0 at time 0, so the new "
                         "intensity " +
                         percent(e.intensity) + " cannot be kept; the envelope was not changed");
                }
                if (ed.colour) {
                    const std::string text = colorText(e.color, i, light);
                    if (text != originalColorText(light)) setValue(light, LwsSetting::Color, text);
                }
                return;
            }
            double scaled[3];
            for (int c = 0; c < 3; ++c) scaled[c] = e.color[c] * e.intensity / o.intensity;
            if (!allFinite(scaled, 3)) {
                warn(who(i, light) +
                     ": the intensity is animated in the file and the colour "
                     "needed to match the edit is out of range; nothing was changed");
                return;
            }
            warn(who(i, light) +
                 ": the intensity is animated in the file; its envelope was kept and "
                 "the colour was scaled so that colour x intensity at time 0 is as edited (colour " +
                 colour255(e.color) + " at " + percent(e.intensity) + " was sent)");
            const std::string text = colorText(scaled, i, light);
            if (text != originalColorText(light)) setValue(light, LwsSetting::Color, text);
            return;
        }

        // Where the file cannot (or should not) carry an arbitrary split, a
        // light nobody edited keeps both lines while its product is unchanged.
        if (!edited && rules_.keepUneditedSplit && productKept) {
            noteKeptBlackLight(i, light, e, ed);
            return;
        }

        const std::string color = colorText(e.color, i, light);
        if (color != originalColorText(light)) setValue(light, LwsSetting::Color, color);
        if (fmt(e.intensity) != fmt(o.intensity)) {
            setValue(light, LwsSetting::Intensity, fmt(e.intensity));
        }
    }

    // Replaces the value text of an existing line, or inserts a new line.
    void setValue(const LwsDocument::Light &light, LwsSetting s, const std::string &value) {
        const LwsDocument::Span &sp = span(light, s);
        if (sp.present) {
            const std::string_view text = doc_.lineText(sp.first);
            std::string line(text.substr(0, sp.valueBegin));
            line += value;
            line += text.substr(sp.valueEnd);
            replaced_[sp.first] = std::move(line);
            return;
        }
        const std::size_t at = insertionPoint(light, s);
        inserted_[at].push_back(keyword(s) + " " + value);
    }

    std::string keyword(LwsSetting s) const {
        switch (s) {
        case LwsSetting::Color: return "LightColor";
        case LwsSetting::Intensity: return std::string(rules_.intensityKeyword);
        case LwsSetting::Type: return "LightType";
        case LwsSetting::Falloff: return std::string(rules_.falloffKeyword);
        case LwsSetting::Range: return "LightRange";
        case LwsSetting::Shadow: return "ShadowType";
        }
        return std::string();
    }

    // Line index before which a missing setting goes.
    std::size_t insertionPoint(const LwsDocument::Light &light, LwsSetting s) const {
        const int idx = static_cast<int>(s);
        if (s == LwsSetting::Shadow) {
            if (rules_.shadowAtLightEnd) return sectionEnd(light);
            // After the type, range, cone and quality lines, whichever come last.
            std::size_t after = 0;
            bool found = false;
            for (int k = 0; k < idx; ++k) {
                const LwsDocument::Span &sp = light.spans[k];
                if (sp.present && (!found || sp.last > after)) {
                    after = sp.last;
                    found = true;
                }
            }
            if (!found) return sectionEnd(light);
            std::size_t at = after + 1;
            while (at < light.end && isConeOrQuality(doc_.lineText(at))) ++at;
            return at;
        }
        for (int k = idx - 1; k >= 0; --k) {
            const LwsDocument::Span &sp = light.spans[k];
            if (sp.present) return sp.last + 1;
        }
        for (int k = idx + 1; k < kLwsSettingCount; ++k) {
            const LwsDocument::Span &sp = light.spans[k];
            if (sp.present) return sp.first;
        }
        return sectionEnd(light);
    }

    static bool isConeOrQuality(std::string_view text) {
        const Tokens t = tokenize(text, 1);
        if (t.empty()) return false;
        const std::string_view kw = tokenText(text, t[0]);
        return kw == "LightConeAngle" || kw == "LightEdgeAngle" || kw == "LightQuality" ||
               kw == "LightFalloffType" || kw == "LightFalloff" || kw == "LightRange";
    }

    // End of the light's section, before its trailing blank lines.
    std::size_t sectionEnd(const LwsDocument::Light &light) const {
        std::size_t at = light.end;
        while (at > light.begin + 1 && tokenize(doc_.lineText(at - 1), 1).empty()) --at;
        return at;
    }

    std::string defaultEol() const {
        for (std::size_t i = 0; i < doc_.lineCount(); ++i) {
            const std::string_view eol = doc_.lineEol(i);
            if (!eol.empty()) return std::string(eol);
        }
        return "\n";
    }

    // The file's bytes, copied in runs between the edited and inserted lines.
    std::string assemble() const {
        const std::string &bytes = doc_.bytes_;
        const std::string fallbackEol = defaultEol();
        std::size_t extra = 0;
        for (const auto &r : replaced_) extra += r.second.size();
        for (const auto &in : inserted_) {
            for (const std::string &s : in.second) extra += s.size() + 2 * fallbackEol.size();
        }
        std::string out;
        out.reserve(bytes.size() + extra);
        std::size_t copied = 0;  // bytes of the file written so far
        auto lineBegin = [&](std::size_t line) { return doc_.lineBegin(line); };
        auto r = replaced_.begin();
        auto in = inserted_.begin();
        while (r != replaced_.end() || in != inserted_.end()) {
            const std::size_t line = r == replaced_.end()    ? in->first
                                     : in == inserted_.end() ? r->first
                                                             : std::min(r->first, in->first);
            out.append(bytes, copied, lineBegin(line) - copied);
            copied = lineBegin(line);
            if (in != inserted_.end() && in->first == line) {
                // Inserted lines take the line end of the line before them.
                std::string prevEol = line == 0 ? fallbackEol : std::string(doc_.lineEol(line - 1));
                for (const std::string &s : in->second) {
                    if (prevEol.empty()) {  // the last line had no line end: give it one
                        out += fallbackEol;
                        prevEol = fallbackEol;
                    }
                    out += s;
                    out += prevEol;
                }
                ++in;
            }
            if (r != replaced_.end() && r->first == line) {
                out += r->second;
                out += doc_.lineEol(line);
                copied = lineBegin(line + 1);
                ++r;
            }
        }
        out.append(bytes, copied, std::string::npos);
        return out;
    }

    std::optional<bool> namesUtf8_;  // whether every name is UTF-8; found at the first warning
    const LwsDocument &doc_;
    const VersionRules &rules_;
    std::vector<std::string> &warnings_;
    std::vector<std::string> &errors_;
    std::map<std::size_t, std::string> replaced_;
    std::map<std::size_t, std::vector<std::string>> inserted_;
};

std::string LwsDocument::render(const scene::Scene &edited, const scene::Scene *unedited,
                                Notes &notes) const {
    LwsWriter writer(*this, notes);
    return writer.run(edited, unedited);
}

std::string LwsDocument::render(const scene::Scene &edited, std::vector<std::string> &warnings) const {
    Notes notes;
    std::string bytes = render(edited, nullptr, notes);
    warnings.insert(warnings.end(), notes.warnings.begin(), notes.warnings.end());
    warnings.insert(warnings.end(), notes.errors.begin(), notes.errors.end());
    return bytes;
}

}  // namespace scenefile
