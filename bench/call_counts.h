// call_counts.h - how many host calls the plug-in makes for one panel event.
//
// Counted on the simulated Layout with a 510-light scene, from its call log:
// every call the plug-in makes into the host (never the host's calls into the
// plug-in). The counts do not depend on the machine, so they are both printed
// by the benchmark and asserted by tests/bench.
#ifndef VANTOREL_BENCH_CALL_COUNTS_H
#define VANTOREL_BENCH_CALL_COUNTS_H

#include <string>
#include <vector>

#include "host.h"

namespace benchcounts {

constexpr int kSceneLights = 510;

// One event's host calls, sorted by what they are for.
struct CallBreakdown {
    // Outside the list paint.
    int prefixField = 0;  // control.set on the prefix field
    int valueSets = 0;    // control.set on any other control (shown values, info text)
    int gets = 0;         // control.get (event values, mouse position)
    int draws = 0;        // control.draw of a control other than the list area
    int listRedraws = 0;  // control.draw of the list area
    int other = 0;        // anything else
    // The list paint the host runs for a redraw (the list's draw handler).
    int paintGets = 0;  // control.get of the list area's panel and hot rectangle
    int drawRGBBox = 0;
    int drawText = 0;
    int blit = 0;

    int outsidePaint() const { return prefixField + valueSets + gets + draws + listRedraws + other; }
    int paint() const { return paintGets + drawRGBBox + drawText + blit; }
    int total() const { return outsidePaint() + paint(); }
};

// Sorts a call log. Calls the host makes into the plug-in are skipped; a
// "plugin.draw" callback of the list area starts a paint, and the paint runs
// for as long as the calls are raster calls or reads of the list area.
CallBreakdown breakdown(const std::vector<sim::Call> &calls);

struct EventCount {
    std::string key;          // short name, also the benchmark's name
    std::string description;  // what the event is and the state it meets
    CallBreakdown calls;
};

// Runs one activation of a fresh instance of the plug-in on a 510-light
// scene and counts the calls of each event kind the benchmark times. Throws
// std::runtime_error if the plug-in cannot be loaded or an event cannot be
// delivered.
std::vector<EventCount> countEvents(const std::string &pluginPath);

// The table the benchmark prints.
std::string formatTable(const std::vector<EventCount> &events);

}  // namespace benchcounts

#endif
