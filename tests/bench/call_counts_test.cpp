// Host calls per event with 510 lights: a prefix key touches the controls
// once, not once per light, and every redraw paints every row exactly once.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "call_counts.h"

namespace {

using benchcounts::CallBreakdown;

const std::map<std::string, CallBreakdown> &counts() {
    static const std::map<std::string, CallBreakdown> byKey = [] {
        std::map<std::string, CallBreakdown> m;
        for (const auto &e : benchcounts::countEvents(VANTOREL_PLUGIN_PATH)) m[e.key] = e.calls;
        return m;
    }();
    return byKey;
}

const CallBreakdown &at(const std::string &key) {
    auto it = counts().find(key);
    if (it == counts().end()) throw std::runtime_error("no count for " + key);
    return it->second;
}

// A paint: five reads of the list area, the background, one bar per selected
// row, one text per light and the blit.
void expectPaint(const CallBreakdown &b, int selected) {
    EXPECT_EQ(b.paintGets, 5);
    EXPECT_EQ(b.drawRGBBox, 1 + selected);
    EXPECT_EQ(b.drawText, benchcounts::kSceneLights);
    EXPECT_EQ(b.blit, 1);
}

TEST(BenchCounts, BreakdownSeparatesThePaintFromTheHandler) {
    std::vector<sim::Call> log{
        {"plugin.key", {"76"}, true},           {"control.set", {"prefix", "4"}, false},
        {"control.get", {"list", "11"}, false}, {"control.draw", {"list", "3"}, false},
        {"plugin.draw", {"list", "3"}, true},   {"control.get", {"list", "17"}, false},
        {"raster.drawRGBBox", {}, false},       {"raster.drawText", {}, false},
        {"raster.blitPanel", {}, false},        {"control.draw", {"Intensity", "1"}, false},
    };
    const CallBreakdown b = benchcounts::breakdown(log);
    EXPECT_EQ(b.prefixField, 1);
    EXPECT_EQ(b.gets, 1);
    EXPECT_EQ(b.listRedraws, 1);
    EXPECT_EQ(b.draws, 1);  // after the paint ended
    EXPECT_EQ(b.paintGets, 1);
    EXPECT_EQ(b.drawRGBBox, 1);
    EXPECT_EQ(b.drawText, 1);
    EXPECT_EQ(b.blit, 1);
    EXPECT_EQ(b.total(), 8);
}

TEST(BenchCounts, PrefixKeyMatchingEveryLightCostsSixteenCallsAndOnePaint) {
    const CallBreakdown &b = at("key_L");
    EXPECT_EQ(b.prefixField, 1);
    EXPECT_EQ(b.valueSets, 5);
    EXPECT_EQ(b.draws, 9);
    EXPECT_EQ(b.listRedraws, 1);
    EXPECT_EQ(b.gets, 0);
    EXPECT_EQ(b.other, 0);
    EXPECT_EQ(b.outsidePaint(), 16);
    expectPaint(b, 510);
}

TEST(BenchCounts, NarrowingPrefixKeyStaysWithinSixteenCalls) {
    const CallBreakdown &b = at("key_narrowing");
    EXPECT_EQ(b.outsidePaint(), 16);
    expectPaint(b, 11);  // Light 50, Light 500 .. Light 509
}

TEST(BenchCounts, PrefixKeyMatchingNothingGhostsOnceAndRedraws) {
    const CallBreakdown &b = at("key_no_match");
    EXPECT_EQ(b.prefixField, 1);
    EXPECT_EQ(b.valueSets, 0);
    EXPECT_EQ(b.draws, 9);
    EXPECT_EQ(b.listRedraws, 1);
    expectPaint(b, 0);
}

TEST(BenchCounts, BackspaceToAnEmptyPrefixOnlyUpdatesTheField) {
    const CallBreakdown &b = at("key_backspace");
    EXPECT_EQ(b.prefixField, 1);
    EXPECT_EQ(b.total(), 1);
}

TEST(BenchCounts, KeyThatSkipsMatchingCallsNothing) { EXPECT_EQ(at("key_other").total(), 0); }

TEST(BenchCounts, ClickSelectingARowRefreshesOnceAndRepaints) {
    const CallBreakdown &b = at("click_select");
    EXPECT_EQ(b.gets, 1);  // the mouse position
    EXPECT_EQ(b.valueSets, 5);
    EXPECT_EQ(b.draws, 9);
    EXPECT_EQ(b.listRedraws, 1);
    EXPECT_EQ(b.outsidePaint(), 16);
    expectPaint(b, 1);
}

TEST(BenchCounts, ClickDeselectingGhostsOnlyWhenNothingIsLeft) {
    const CallBreakdown &some = at("click_deselect");
    EXPECT_EQ(some.outsidePaint(), 2);
    expectPaint(some, 1);
    const CallBreakdown &last = at("click_deselect_last");
    EXPECT_EQ(last.draws, 9);
    EXPECT_EQ(last.outsidePaint(), 11);
    expectPaint(last, 0);
}

TEST(BenchCounts, PropertyEventsCostTheSameHostCallsWhateverTheSelection) {
    // Read the value, refresh the five shown values; no redraws. Intensity does not refresh.
    EXPECT_EQ(at("intensity").total(), 1);
    for (const char *key : {"drag_start", "drag_continue", "colour", "type", "shadow", "range"}) {
        SCOPED_TRACE(key);
        const CallBreakdown &b = at(key);
        EXPECT_EQ(b.gets, 1);
        EXPECT_EQ(b.valueSets, 5);
        EXPECT_EQ(b.total(), 6);
    }
    EXPECT_EQ(at("copy").total(), 1);   // the info text
    EXPECT_EQ(at("paste").total(), 6);  // the info text and the refresh
}

TEST(BenchCounts, ScrollAndClearRepaintOnce) {
    const CallBreakdown &scroll = at("scroll");
    EXPECT_EQ(scroll.outsidePaint(), 2);  // the slider value and the redraw
    expectPaint(scroll, 510);
    const CallBreakdown &clear = at("clear");
    EXPECT_EQ(clear.draws, 9);
    EXPECT_EQ(clear.outsidePaint(), 10);
    expectPaint(clear, 0);
}

}  // namespace
