// panel_notes.cpp - notes on the status line from what the host sees.
#include "session/panel_notes.h"

#include <vector>

namespace session {

std::string rangeNotSentNote(const sim::Host &host) {
    const sim::ControlModel *list = host.control(sim::Role::List);
    if (!list) return {};
    const std::vector<scene::Light> &lights = host.scene().lights;
    const std::vector<sim::PaintedText> &rows = list->lastPaint.texts;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < rows.size() && i < lights.size(); ++i)
        if (rows[i].onBar && (lights[i].flags & 1u) == 0) names.push_back(lights[i].name);
    if (names.empty()) return {};
    std::string who = names[0];
    constexpr std::size_t kNamed = 3;  // more than this are counted, not named
    const std::size_t named = names.size() <= kNamed ? names.size() : 2;
    for (std::size_t i = 1; i < named; ++i) who += (i + 1 == names.size() ? " and " : ", ") + names[i];
    if (named < names.size()) who += " and " + std::to_string(names.size() - named) + " more";
    return "Range is not sent for " + who + ": " + (names.size() == 1 ? "its" : "their") +
           " range is not limited";
}

}  // namespace session
