// light_model.h - a small stand-alone model of the editor's light table, used
// by the validator to predict the commands a session sends on OK.
//
// It is written from the editor's documented behaviour, not from the plug-in's
// code, and shares nothing with it but the command formats.
#ifndef VANTOREL_VALIDATE_LIGHT_MODEL_H
#define VANTOREL_VALIDATE_LIGHT_MODEL_H

#include <cstdint>
#include <string>
#include <vector>

#include "scene/scene.h"

namespace validate {

// One user action inside the open panel.
struct Event {
    enum Kind {
        ClickY,
        Scroll,
        Key,
        Prefix,
        Intensity,
        Range,
        Color,
        LightType,
        Shadow,
        Drag,
        Copy,
        Paste,
        Clear
    };
    Kind kind = Copy;
    int64_t a = 0, b = 0, c = 0;  // integers: y, slider value, key, colour, index, drag distance/counter
    double v = 0;                 // intensity percent, range
    std::string text;             // prefix field text

    static Event of(Kind k) {
        Event e;
        e.kind = k;
        return e;
    }
};

// How one event reads in a report, e.g. "key 65" or "intensity -inf".
std::string describe(const Event &e);

class LightModel {
public:
    // One activation's scan of the scene.
    void scan(const scene::Scene &scene);
    void apply(const Event &e);
    // The commands OK sends for this scene.
    std::vector<std::string> commandsOnOk(const scene::Scene &scene) const;

    // After OK: every light no event edited (and every one past the rows) must
    // be in `after` as it was in `before`: colour x intensity within what the
    // commands' six decimals carry, type, shadow type, range and flags the same.
    // Returns the first difference, or an empty text.
    std::string untouchedLightProblem(const scene::Scene &before, const scene::Scene &after) const;

    const std::string &prefix() const { return prefix_; }
    int lightCount() const { return count_; }

private:
    struct Row {
        std::string name;
        double intensity = 0;
        double colour[3] = {0, 0, 0};
        int32_t lightType = 0, shadowType = 0;
        double range = 0;
        uint32_t flags = 0;
        bool selected = false;
        bool edited = false;  // an event of this activation wrote one of its settings
    };
    static constexpr int kRows = 512, kMaxLights = 510, kCopyRow = 511, kPitch = 16;

    void select(int row);
    void matchPrefix();

    // Everything but the scan's rows outlives an activation of one loaded library.
    Row rows_[kRows];
    int count_ = 0;
    int current_ = 0;
    bool copied_ = false;
    int32_t dragLast_ = 0;
    double dragBase_ = 0;
    int32_t scroll_ = 0, scrollMax_ = 0;
    std::string prefix_;
};

}  // namespace validate

#endif
