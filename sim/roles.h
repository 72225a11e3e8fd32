// roles.h - what each control of the light editor's panel is for, and how the
// simulated Layout recognises it when the plug-in adds it.
//
// The host is generic: it knows control types, values and events, not this
// panel. The one table in roles.cpp says which added control plays which role
// (by host type name, plus its label or its first choice item); everything
// else in sim/ finds controls by role (Host::control(Role)).
#ifndef VANTOREL_SIM_ROLES_H
#define VANTOREL_SIM_ROLES_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "action.h"

namespace sim {

enum class Role : std::uint8_t {
    List,       // the list of lights (an area control)
    Slider,     // the list's scroll slider
    Prefix,     // the prefix field
    Intensity,  // the intensity field (percent)
    Drag,       // the drag button beside it
    LightType,  // the light type choice
    Color,      // the colour control
    Range,      // the range field
    Shadow,     // the shadow type choice
    Copy,       // the buttons
    Paste,
    Info,  // the info field
    Clear,
};
constexpr int kRoleCount = static_cast<int>(Role::Clear) + 1;

struct RoleRule {
    Role role;
    const char *typeName;   // the host control type it has
    const char *label;      // the label it is added with ("" for none)
    const char *firstItem;  // a choice's first item; null: any
    const char *key;        // how the call log and messages name it
    const char *missing;    // why an event for it fails on a panel without it
};

const RoleRule &roleRule(Role r);
// The role of a control added with this type, label and first choice item
// (null for none), if any.
std::optional<Role> recogniseRole(const std::string &typeName, const std::string &label,
                                  const char *firstItem);

// The nine controls that are ghosted and enabled together, in the order the
// plug-in ghosts them.
const std::vector<Role> &propertyRoles();

// The button an Action presses and its control.
Role buttonRole(Button b);
std::optional<Button> roleButton(Role r);

}  // namespace sim

#endif
