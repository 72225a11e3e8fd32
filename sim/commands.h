// commands.h - the simulated Layout's command interpreter: the text commands a
// Layout-generic plug-in sends through evaluate, applied to a Scene.
//
// Understood (command words are matched without regard to case; arguments are
// separated by blanks; nothing may follow the last argument):
//   EditLights                  switch to light editing
//   SelectItem ID               ID in hexadecimal; 0 selects nothing
//   LightIntensity V            on the selected light
//   LightColor R G B            on the selected light
//   DistantLight | PointLight | Spotlight | LinearLight | AreaLight
//   ShadowType N                N is 0 (off), 1 (ray traced) or 2 (shadow map)
//   LightRange V                on the selected light
// Numbers must be finite. A command that needs a selected light fails when no
// light is selected. A failed command changes nothing.
#ifndef VANTOREL_SIM_COMMANDS_H
#define VANTOREL_SIM_COMMANDS_H

#include <string>
#include <string_view>

#include "scene/scene.h"

namespace sim {

struct CommandOutcome {
    bool accepted = false;
    std::string reason;  // why a command was rejected; empty when accepted
};

class CommandInterpreter {
public:
    explicit CommandInterpreter(scene::Scene &scene) : scene_(scene) {}

    CommandOutcome run(std::string_view text);

    // Index into scene.lights of the selected light, or -1.
    int selectedLight() const { return selected_; }
    bool editingLights() const { return editingLights_; }

private:
    CommandOutcome select(std::string_view id, size_t argc);

    scene::Scene &scene_;
    int selected_ = -1;
    bool editingLights_ = false;
};

}  // namespace sim

#endif
