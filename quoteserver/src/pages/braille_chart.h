// Charts in text, for terminal browsers: a line drawn in Braille dots (2 x 4 dots a cell), the
// price scale on the right, the time axis below, a dotted reference line (the previous close)
// and a row of block heights for the volume. One row of dots alone is a sparkline.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quotes {

inline constexpr int kChartWidth = 72;  // whole lines, the scale included: 80-column w3m
inline constexpr int kChartRows = 12;

struct ChartSeries {
    std::vector<double> values;  // oldest first
    // Places on the time axis, the values taking the first ones (today's chart spans the
    // whole session while it trades); 0 for as many as there are values.
    std::size_t slots = 0;
    std::vector<double> volumes;      // one a value, or none
    std::optional<double> reference;  // a dotted line across, kept within the scale
    std::vector<std::pair<std::size_t, std::string>> ticks;  // a place and its label
    int decimals = 2;
};

// The chart's lines, each ending in "\n", at most `width` columns and `rows` rows of dots, then
// the volume row (when there are volumes) and the time axis; "" without values.
std::string BrailleChart(const ChartSeries& series, int width = kChartWidth, int rows = kChartRows);

// One row of `cells` Braille cells following the values, lowest at the bottom dot.
std::string Sparkline(const std::vector<double>& values, int cells);

}  // namespace quotes
