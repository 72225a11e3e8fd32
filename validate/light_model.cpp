// light_model.cpp - the validator's own model of the light table.
#include "light_model.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace validate {

namespace {

std::string format(const char *fmt, double x) {
    char buf[400];
    std::snprintf(buf, sizeof buf, fmt, x);
    return buf;
}

std::string fixed(double x) { return format("%f", x); }

std::string colourCommand(const double (&c)[3]) {
    char buf[1100];  // three "%f" texts of at most 317 characters each
    std::snprintf(buf, sizeof buf, "LightColor %f %f %f", c[0], c[1], c[2]);
    return buf;
}

std::string hexId(uint32_t id) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%x", id);
    return buf;
}

// What the plug-in makes of one reported colour component.
double usable(double x) {
    if (std::isnan(x)) return 0;
    if (std::isinf(x)) return x > 0 ? DBL_MAX : -DBL_MAX;
    return x;
}

const char *typeWord(int32_t t) {
    static const char *words[] = {"DistantLight", "PointLight", "Spotlight", "LinearLight", "AreaLight"};
    return t >= 0 && t <= 4 ? words[t] : "DistantLight";
}

}  // namespace

void LightModel::scan(const scene::Scene &scene) {
    count_ = 0;
    for (const scene::Light &l : scene.lights) {
        if (count_ == kMaxLights) break;
        Row &r = rows_[count_++];
        std::string name = l.name.c_str();  // the host hands over a C string
        r.name = name.substr(0, 255);
        // The host reports colour times intensity; the row splits it again, at the
        // component of largest magnitude (the positive one of a +-pair), so that the
        // colour stays within +-1. All zeros, of either sign, are black.
        double rep[3];
        for (int c = 0; c < 3; ++c) rep[c] = usable(l.color[c] * l.intensity);
        const double top = std::fmax(std::fmax(rep[0], rep[1]), rep[2]);
        const double size = std::fmax(std::fmax(std::fabs(rep[0]), std::fabs(rep[1])), std::fabs(rep[2]));
        if (size == 0) {
            r.intensity = 0;
            r.colour[0] = r.colour[1] = r.colour[2] = 1;
        } else {
            r.intensity = top == size ? size : -size;
            for (int c = 0; c < 3; ++c) r.colour[c] = rep[c] / r.intensity;
        }
        r.edited = false;
        r.lightType = l.lightType;
        r.shadowType = l.shadowType;
        r.range = l.range;
        r.flags = l.flags;
        r.selected = false;
    }
    scroll_ = 0;
    scrollMax_ = count_ * kPitch - 400 > 0 ? count_ * kPitch - 400 : 0;
    prefix_.clear();
    reading_ = scene::NameReading(scene.lights);
}

void LightModel::select(int row) {
    rows_[row].selected = true;
    current_ = row;
}

void LightModel::matchPrefix() {
    if (prefix_.empty()) return;
    for (int i = 0; i < count_; ++i) {
        bool match = rows_[i].name.compare(0, prefix_.size(), prefix_) == 0;
        if (match) select(i);
        else rows_[i].selected = false;
    }
}

void LightModel::key(std::int32_t code) {
    const std::int32_t k = code & 0xffff;
    if (k == 8) {
        if (!prefix_.empty()) {
            prefix_.pop_back();
            showedPrefix_ = true;
        }
    } else if (k >= 32 && k <= 126) {
        if (prefix_.size() < 255) {
            prefix_ += static_cast<char>(k);
            showedPrefix_ = true;
        }
    }
    if (k != 4193 && k != 4194) matchPrefix();
}

void LightModel::click(std::int32_t y) {
    const int64_t at = int64_t{y} + int64_t{scroll_};
    if (at < 0) return;
    const int64_t row = at / kPitch;
    if (row >= count_ || row >= kCopyRow) return;
    if (rows_[row].selected) rows_[row].selected = false;
    else select(static_cast<int>(row));
}

void LightModel::drag(std::int32_t distance, std::int32_t counter) {
    if (int64_t{counter} == int64_t{dragLast_} + 1) {
        const double value = dragBase_ - distance / 1000.0;
        for (int i = 0; i < count_; ++i)
            if (rows_[i].selected) {
                rows_[i].edited = true;
                rows_[i].intensity = value;
            }
        if (current_ < count_) {  // only a row with a light
            rows_[current_].intensity = value;
            rows_[current_].edited = true;
        }
    } else {
        dragBase_ = rows_[current_].intensity;
    }
    dragLast_ = counter;
}

void LightModel::paste() {
    if (!copied_) return;
    const Row &c = rows_[kCopyRow];
    for (int i = 0; i < count_; ++i) {
        Row &r = rows_[i];
        if (!r.selected) continue;
        r.edited = true;
        r.intensity = c.intensity;
        for (int k = 0; k < 3; ++k) r.colour[k] = c.colour[k];
        r.lightType = c.lightType;
        r.shadowType = c.shadowType;
        r.range = c.range;
        r.flags = c.flags;
    }
}

bool LightModel::apply(const sim::Action &a) {
    auto forSelected = [&](auto &&f) {
        for (int i = 0; i < count_; ++i)
            if (rows_[i].selected) {
                rows_[i].edited = true;
                f(rows_[i]);
            }
    };
    showedPrefix_ = false;
    using sim::ActionKind;
    switch (a.kind) {
    case ActionKind::ClickY: click(a.y); return true;
    case ActionKind::Scroll:
        scroll_ = a.value < 0 ? 0 : a.value > scrollMax_ ? scrollMax_ : a.value;
        return true;
    case ActionKind::Key: key(a.value); return true;
    case ActionKind::Type: {
        // One key per character: ASCII and Latin-1 as their codes; a text
        // that is not UTF-8 byte by byte.
        if (!scene::isUtf8(a.text)) {
            for (char c : a.text) key(static_cast<unsigned char>(c));
            return true;
        }
        for (char32_t c : scene::utf8CodePoints(a.text)) key(static_cast<std::int32_t>(c));
        return true;
    }
    case ActionKind::Prefix: {
        std::string bytes, why;
        if (!reading_.bytesOf(a.text, bytes, why)) return true;  // the host refuses it: nothing changes
        prefix_ = std::string(bytes.c_str()).substr(0, 255);     // the plug-in reads a C string
        matchPrefix();
        return true;
    }
    case ActionKind::Intensity: forSelected([&](Row &r) { r.intensity = a.number / 100.0; }); return true;
    case ActionKind::Range: forSelected([&](Row &r) { r.range = a.number; }); return true;
    case ActionKind::Color:
        forSelected([&](Row &r) {
            for (int k = 0; k < 3; ++k) r.colour[k] = a.rgb[k] / 255.0;
        });
        return true;
    case ActionKind::LightType: forSelected([&](Row &r) { r.lightType = a.value; }); return true;
    case ActionKind::Shadow: forSelected([&](Row &r) { r.shadowType = a.value; }); return true;
    case ActionKind::DragEvent: drag(a.distance, a.counter); return true;
    case ActionKind::Press:
        if (a.button == sim::Button::Copy) {
            copied_ = true;
            rows_[kCopyRow] = rows_[current_];
        } else if (a.button == sim::Button::Paste) {
            paste();
        } else {
            for (int i = 0; i < count_; ++i) rows_[i].selected = false;
        }
        return true;
    case ActionKind::ClickName:
    case ActionKind::Drag:
    case ActionKind::Ok:
    case ActionKind::Cancel: return false;
    }
    return false;
}

namespace {

bool sameBits(double a, double b) {
    std::uint64_t x = 0, y = 0;
    static_assert(sizeof x == sizeof a, "a double is 64 bits");
    std::memcpy(&x, &a, sizeof a);
    std::memcpy(&y, &b, sizeof b);
    return x == y;
}

std::string g17(double x) { return format("%.17g", x); }

}  // namespace

std::string LightModel::untouchedLightProblem(const scene::Scene &before, const scene::Scene &after) const {
    // A number that went through "%f" is within half a unit of its sixth decimal
    // of the value printed, and reading it back to the nearest double adds at
    // most as much again.
    const double printed = 1e-6;
    if (after.lights.size() != before.lights.size())
        return "the scene has a different number of lights after OK";
    for (size_t k = 0; k < before.lights.size(); ++k) {
        const scene::Light &was = before.lights[k], &now = after.lights[k];
        const std::string which = "light " + std::to_string(k + 1) + ", which no event edited: ";
        if (k >= static_cast<size_t>(count_)) {
            // Past the rows: no command may touch it at all.
            bool same = sameBits(now.intensity, was.intensity) && sameBits(now.range, was.range) &&
                        now.lightType == was.lightType && now.shadowType == was.shadowType &&
                        now.flags == was.flags;
            for (int c = 0; c < 3; ++c) same = same && sameBits(now.color[c], was.color[c]);
            if (!same) return which + "it has no row, yet OK changed it";
            continue;
        }
        if (rows_[k].edited) continue;
        for (int c = 0; c < 3; ++c) {
            const double reported = was.color[c] * was.intensity;
            if (!std::isfinite(reported)) continue;  // non-numbers: see usable()
            // The product of two printed numbers: each off by `printed`, each scaled by the other.
            const double got = now.color[c] * now.intensity;
            const double tolerance =
                printed * (std::fabs(now.color[c]) + std::fabs(now.intensity) + printed) +
                8 * DBL_EPSILON * std::fabs(reported);
            if (!(std::fabs(got - reported) <= tolerance) || !(std::fabs(now.color[c]) <= 1 + printed))
                return which + "the host reported colour x intensity component " + std::to_string(c) +
                       " as " + g17(reported) + ", after OK it is colour " + g17(now.color[c]) +
                       " x intensity " + g17(now.intensity) + " = " + g17(got);
        }
        if (was.lightType >= 0 && was.lightType <= 4 && now.lightType != was.lightType)
            return which + "light type " + std::to_string(was.lightType) + " became " +
                   std::to_string(now.lightType);
        if (now.shadowType != was.shadowType)
            return which + "shadow type " + std::to_string(was.shadowType) + " became " +
                   std::to_string(now.shadowType);
        if (now.flags != was.flags) return which + "its flags changed";
        const bool sent = (was.flags & 1u) && std::isfinite(was.range);
        if (sent ? !(std::fabs(now.range - was.range) <= printed) : !sameBits(now.range, was.range))
            return which + "range " + g17(was.range) + " became " + g17(now.range);
    }
    return {};
}

std::vector<std::string> LightModel::commandsOnOk(const scene::Scene &scene) const {
    std::vector<std::string> out{"EditLights"};
    const size_t n = scene.lights.size();
    out.reserve(2 + n * 6);  // at most five settings and a SelectItem a light
    out.push_back("SelectItem " + (n ? hexId(scene.lights[0].id) : std::string("0")));
    for (size_t k = 0; k < n; ++k) {
        if (k < static_cast<size_t>(count_)) {
            const Row &r = rows_[k];
            if (std::isfinite(r.intensity)) out.push_back("LightIntensity " + fixed(r.intensity));
            if (std::isfinite(r.colour[0]) && std::isfinite(r.colour[1]) && std::isfinite(r.colour[2]))
                out.push_back(colourCommand(r.colour));
            out.push_back(typeWord(r.lightType));
            out.push_back("ShadowType " + std::to_string(r.shadowType));
            if ((r.flags & 1u) && std::isfinite(r.range)) out.push_back("LightRange " + fixed(r.range));
        }
        out.push_back("SelectItem " + (k + 1 < n ? hexId(scene.lights[k + 1].id) : std::string("0")));
    }
    return out;
}

}  // namespace validate
