// expectations.cpp - checking expect lines on the simulated Layout.
#include "script/expectations.h"

#include <cmath>
#include <sstream>

namespace script {

namespace {

std::string joinNames(const std::vector<std::string> &names) {
    std::string s = "[";
    for (size_t i = 0; i < names.size(); ++i) s += (i ? ", \"" : "\"") + names[i] + "\"";
    return s + "]";
}

std::string fmt(double v) {
    std::ostringstream o;
    o.precision(10);
    o << v;
    return o.str();
}

std::string three(const std::int32_t *v) {
    return std::to_string(v[0]) + " " + std::to_string(v[1]) + " " + std::to_string(v[2]);
}

std::string selectedProblem(const Expectation &e, const sim::Host &host) {
    const scene::NameReading read = host.nameReading();
    std::vector<std::string> seen, wanted;
    for (const std::string &n : host.selectedNames()) seen.push_back(read(n));
    for (const std::string &n : e.names) wanted.push_back(scene::textAsUtf8(n));
    if (seen == wanted) return "";
    return "expected selected " + joinNames(wanted) + ", saw " + joinNames(seen);
}

std::string fieldProblem(const Expectation &e, const sim::Host &host) {
    const sim::ControlModel *c = host.control(e.field);
    switch (e.field) {
    case sim::Role::Intensity:
    case sim::Role::Range:
        if (!c)
            return std::string("the panel has no ") + (e.field == sim::Role::Range ? "range" : "intensity") +
                   " field";
        if (std::fabs(c->floatValue - e.number) > kTolerance)
            return "expected " + fmt(e.number) + ", saw " + fmt(c->floatValue);
        return "";
    case sim::Role::Color: {
        if (!c) return "the panel has no colour control";
        const std::int32_t seen[3] = {c->vec[0], c->vec[1], c->vec[2]};
        if (seen[0] != e.values[0] || seen[1] != e.values[1] || seen[2] != e.values[2])
            return "expected " + three(e.values) + ", saw " + three(seen);
        return "";
    }
    default:
        if (!c)
            return std::string("the panel has no ") +
                   (e.field == sim::Role::Shadow ? "shadow" : "lighttype") + " choice";
        if (c->intValue != e.values[0])
            return "expected " + std::to_string(e.values[0]) + ", saw " + std::to_string(c->intValue);
        return "";
    }
}

std::string ghostedProblem(const Expectation &e, const sim::Host &host) {
    const std::optional<bool> g = host.propertyGhosted();
    if (!g) {
        std::string states;
        for (sim::Role r : sim::propertyRoles()) {
            const sim::ControlModel *c = host.control(r);
            states += (states.empty() ? "" : ", ") + std::string(sim::roleRule(r).key) + "=" +
                      (!c                         ? "missing"
                       : c->drawState == DR_GHOST ? "ghosted"
                                                  : "normal");
        }
        return "the property controls disagree: " + states;
    }
    if (*g == e.ghosted) return "";
    return std::string("expected ghosted ") + (e.ghosted ? "yes" : "no") + ", saw " + (*g ? "yes" : "no");
}

std::string textProblem(const std::string &wanted, const std::string &seen) {
    return seen == wanted ? "" : "expected \"" + wanted + "\", saw \"" + seen + "\"";
}

std::string errorProblem(const Expectation &e, const sim::Host &host) {
    const std::vector<std::string> errs = host.errors();
    for (const std::string &shown : errs)
        if (shown == e.text) return "";
    return "expected an error box \"" + e.text + "\", saw " + joinNames(errs);
}

std::string commandProblem(const Expectation &e, const std::vector<std::string> &sent) {
    if (e.check == Check::Commands) {
        if (static_cast<long long>(sent.size()) == e.values[0]) return "";
        return "expected " + std::to_string(e.values[0]) + " command(s), saw " + std::to_string(sent.size());
    }
    const size_t nth = static_cast<size_t>(e.values[0]);
    if (nth > sent.size())
        return "expected command " + std::to_string(nth) + " \"" + e.text + "\", but " +
               std::to_string(sent.size()) + " command(s) were sent";
    if (sent[nth - 1] != e.text)
        return "expected command " + std::to_string(nth) + " \"" + e.text + "\", saw \"" + sent[nth - 1] +
               "\"";
    return "";
}

}  // namespace

std::string expectationProblem(const Expectation &e, const sim::Host &host, int result) {
    switch (e.check) {
    case Check::Selected: return selectedProblem(e, host);
    case Check::Field: return fieldProblem(e, host);
    case Check::Ghosted: return ghostedProblem(e, host);
    case Check::Info: return textProblem(e.text, host.infoText());
    case Check::Prefix:
        // The field holds the scene's bytes; both sides as the user reads them.
        return textProblem(scene::textAsUtf8(e.text), host.nameReading()(host.prefixText()));
    case Check::Error: return errorProblem(e, host);
    case Check::Result:
        if (result == e.values[0]) return "";
        return "expected result " + std::to_string(e.values[0]) + ", saw " + std::to_string(result);
    case Check::Command:
    case Check::Commands: return commandProblem(e, host.commands());
    }
    return "";
}

}  // namespace script
