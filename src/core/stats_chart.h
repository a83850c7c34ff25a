#pragma once
// The bar chart of the Statistics window, laid out once for both places that
// draw it: the window (GDI, scrolling sideways) and the exported page (SVG).
// One bar a day, oldest at the left, on a scale of round numbers, on a time
// axis: days without records up to a week apart leave their empty places;
// a longer jump is a break in the axis that says how far it goes ("11 mo").
//
//   StatsChart chart = LayoutStatsChart(stats);
//   for (const ChartBar& b : chart.bars) Rectangle(dc, b.left, b.top, b.right, chart.baseline);
#include <cstddef>
#include <string>
#include <vector>

#include "core/log_stats.h"

namespace krx {

// Pixels of the chart's parts.
struct ChartMetrics {
  static constexpr int kAxisWidth = 48;    // the scale's labels, left of the bars
  static constexpr int kTopRoom = 20;      // above the scale's top: the counts over the bars
  static constexpr int kPlotHeight = 170;  // from the baseline to the scale's top
  static constexpr int kLabelRoom = 34;    // under the baseline: day, and the year where it changes
  static constexpr int kPitch = 40;        // from one bar to the next
  static constexpr int kBarWidth = 26;
  static constexpr int kRightRoom = 10;
  static constexpr int kLongestGap = 7;   // days apart drawn as empty places; more is a break
};

// Where the axis jumps: a mark across the baseline at x, the jump under it.
struct ChartBreak {
  int x;
  std::string label;  // "3 wk", "11 mo", "2 yr"; empty before keys that are no date
};

struct ChartBar {
  int left, right, top;     // the bar runs from top down to the baseline
  std::string count;        // over the bar, short ("1234", "56k", "1.2M")
  std::string day;          // under the bar: "mm/dd", or the first five characters of a key that is no date
  std::string year;         // under the day where the year changes (and at the first bar), else empty
  bool busiest;
};

struct ChartTick {
  int y;
  std::string label;
};

struct StatsChart {
  int width, height;  // the whole drawing; wider than a window when there are many days
  int baseline;       // y of the bars' foot
  int plotLeft;       // x where the bars' area starts (the scale is left of it)
  size_t scaleTop;    // the value at the scale's top line
  std::vector<ChartTick> ticks;  // 0 at the baseline up to scaleTop
  std::vector<ChartBar> bars;
  std::vector<ChartBreak> breaks;
};

// How a jump of `days` days reads under the break: "9 days", "3 wk", "11 mo", "2 yr".
std::string JumpText(long days);

StatsChart LayoutStatsChart(const LogStats& stats);

// A count in at most four characters: 1234, 12k, 123k, 1.2M, 12M.
std::string ShortCount(size_t n);

// n with thousands separated by commas: 1,234,567.
std::string GroupedCount(size_t n);

}  // namespace krx
