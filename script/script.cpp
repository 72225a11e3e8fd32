// script.cpp - making and comparing the steps of a session script.
#include "script/script.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace script {

namespace {

Expectation of(Check c) {
    Expectation e;
    e.check = c;
    return e;
}

// As the writer tells numbers apart: any NaN is every other NaN, 0 is not -0.
bool sameNumber(double x, double y) {
    if (std::isnan(x) || std::isnan(y)) return std::isnan(x) && std::isnan(y);
    return x == y && std::signbit(x) == std::signbit(y);
}

}  // namespace

Expectation Expectation::selected(std::vector<std::string> names) {
    Expectation e = of(Check::Selected);
    e.names = std::move(names);
    return e;
}

Expectation Expectation::fieldNumber(sim::Role field, double v) {
    Expectation e = of(Check::Field);
    e.field = field;
    e.number = v;
    return e;
}

Expectation Expectation::fieldColor(std::int32_t r, std::int32_t g, std::int32_t b) {
    Expectation e = of(Check::Field);
    e.field = sim::Role::Color;
    e.values[0] = r;
    e.values[1] = g;
    e.values[2] = b;
    return e;
}

Expectation Expectation::fieldChoice(sim::Role field, std::int32_t item) {
    Expectation e = of(Check::Field);
    e.field = field;
    e.values[0] = item;
    return e;
}

Expectation Expectation::ghostedState(bool ghosted) {
    Expectation e = of(Check::Ghosted);
    e.ghosted = ghosted;
    return e;
}

Expectation Expectation::info(std::string text) {
    Expectation e = of(Check::Info);
    e.text = std::move(text);
    return e;
}

Expectation Expectation::error(std::string text) {
    Expectation e = of(Check::Error);
    e.text = std::move(text);
    return e;
}

Expectation Expectation::prefix(std::string text) {
    Expectation e = of(Check::Prefix);
    e.text = std::move(text);
    return e;
}

Expectation Expectation::result(std::int32_t n) {
    Expectation e = of(Check::Result);
    e.values[0] = n;
    return e;
}

Expectation Expectation::command(std::int32_t nth, std::string text) {
    Expectation e = of(Check::Command);
    e.values[0] = nth;
    e.text = std::move(text);
    return e;
}

Expectation Expectation::commands(std::int32_t count) {
    Expectation e = of(Check::Commands);
    e.values[0] = count;
    return e;
}

bool operator==(const Expectation &a, const Expectation &b) {
    if (a.check != b.check) return false;
    switch (a.check) {
    case Check::Selected: return a.names == b.names;
    case Check::Field:
        if (a.field != b.field) return false;
        if (a.field == sim::Role::Intensity || a.field == sim::Role::Range)
            return sameNumber(a.number, b.number);
        if (a.field == sim::Role::Color) return std::equal(a.values, a.values + 3, b.values);
        return a.values[0] == b.values[0];
    case Check::Ghosted: return a.ghosted == b.ghosted;
    case Check::Info:
    case Check::Error:
    case Check::Prefix: return a.text == b.text;
    case Check::Command: return a.values[0] == b.values[0] && a.text == b.text;
    case Check::Result:
    case Check::Commands: return a.values[0] == b.values[0];
    }
    return false;
}

bool Step::closes() const {
    const sim::Action *a = action();
    return a && (a->kind == sim::ActionKind::Ok || a->kind == sim::ActionKind::Cancel);
}

}  // namespace script
