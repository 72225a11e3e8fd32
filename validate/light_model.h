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

#include "action.h"
#include "scene/name_text.h"
#include "scene/scene.h"

namespace validate {

class LightModel {
public:
    // One activation's scan of the scene.
    void scan(const scene::Scene &scene);
    // One action inside the open panel, as the host delivers it (a text in the
    // bytes of the scene's names, a typed text as one key per character). A
    // drag gesture and a click by name are not modelled: the host picks the
    // gesture's counters and needs the list's paints for the click, so the
    // validator plays a gesture as its raw events and makes no click by name.
    // Returns false for those, and for ok and cancel, which close the panel.
    bool apply(const sim::Action &a);
    // The commands OK sends for this scene.
    std::vector<std::string> commandsOnOk(const scene::Scene &scene) const;

    // After OK: every light no event edited (and every one past the rows) must
    // be in `after` as it was in `before`: colour x intensity within what the
    // commands' six decimals carry, type, shadow type, range and flags the same.
    // Returns the first difference, or an empty text.
    std::string untouchedLightProblem(const scene::Scene &before, const scene::Scene &after) const;

    const std::string &prefix() const { return prefix_; }
    // Whether the last action's keys showed the prefix in the field: each key
    // that removes or adds a character does, even when later keys of the same
    // typed text bring the prefix back to what it was.
    bool showedPrefix() const { return showedPrefix_; }
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
    void key(std::int32_t code);
    void click(std::int32_t y);
    void drag(std::int32_t distance, std::int32_t counter);
    void paste();

    // Everything but the scan's rows outlives an activation of one loaded library.
    Row rows_[kRows];
    int count_ = 0;
    int current_ = 0;
    bool copied_ = false;
    int32_t dragLast_ = 0;
    double dragBase_ = 0;
    int32_t scroll_ = 0, scrollMax_ = 0;
    std::string prefix_;
    bool showedPrefix_ = false;
    scene::NameReading reading_;  // how texts typed reach the plug-in
};

}  // namespace validate

#endif
