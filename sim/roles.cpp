// roles.cpp - the one table of the light editor's controls as the host
// recognises them. No other file of the simulated Layout names a label or a
// choice item of this panel.
#include "roles.h"

#include "panel_facts.h"

#include <cstring>

namespace sim {

namespace {

// In Role order. A labelled control is its label's key; an unlabelled one
// gets the role's key.
constexpr RoleRule kRules[] = {
    {Role::List, "AreaControl", "", nullptr, "list", "the panel has no list area"},
    {Role::Slider, "VSlideControl", "", nullptr, "slider", "the panel has no slider"},
    {Role::Prefix, "EditControl", "prefix", nullptr, "prefix", "the panel has no prefix field"},
    {Role::Intensity, "FloatControl", "Intensity", nullptr, "Intensity", "the panel has no Intensity field"},
    {Role::Drag, "DragButtonControl", "", nullptr, "drag", "the panel has no drag button"},
    {Role::LightType, "ChoiceControl", "", kLightTypeNames[0], "lighttype",
     "the panel has no light type choice"},
    {Role::Color, "MiniRGBControl", "", nullptr, "color", "the panel has no colour control"},
    {Role::Range, "FloatControl", "Range", nullptr, "Range", "the panel has no Range field"},
    {Role::Shadow, "ChoiceControl", "", kShadowTypeNames[0], "shadow", "the panel has no shadow type choice"},
    {Role::Copy, "ButtonControl", "copy", nullptr, "copy", "the panel has no control \"copy\""},
    {Role::Paste, "ButtonControl", "paste", nullptr, "paste", "the panel has no control \"paste\""},
    {Role::Info, "InfoControl", "info", nullptr, "info", "the panel has no info field"},
    {Role::Clear, "ButtonControl", "Clear selection", nullptr, "Clear selection",
     "the panel has no control \"Clear selection\""},
};
static_assert(sizeof kRules / sizeof kRules[0] == kRoleCount, "one rule per role");

}  // namespace

const RoleRule &roleRule(Role r) { return kRules[static_cast<int>(r)]; }

std::optional<Role> recogniseRole(const std::string &typeName, const std::string &label,
                                  const char *firstItem) {
    for (const RoleRule &r : kRules) {
        if (typeName != r.typeName || label != r.label) continue;
        if (r.firstItem && (!firstItem || std::strcmp(firstItem, r.firstItem) != 0)) continue;
        return r.role;
    }
    return std::nullopt;
}

const std::vector<Role> &propertyRoles() {
    static const std::vector<Role> roles{Role::Color,     Role::Intensity, Role::Drag,
                                         Role::LightType, Role::Shadow,    Role::Range,
                                         Role::Copy,      Role::Paste,     Role::Clear};
    return roles;
}

Role buttonRole(Button b) {
    switch (b) {
    case Button::Copy: return Role::Copy;
    case Button::Paste: return Role::Paste;
    case Button::Clear: return Role::Clear;
    }
    return Role::Copy;
}

std::optional<Button> roleButton(Role r) {
    switch (r) {
    case Role::Copy: return Button::Copy;
    case Role::Paste: return Button::Paste;
    case Role::Clear: return Button::Clear;
    default: return std::nullopt;
    }
}

}  // namespace sim
