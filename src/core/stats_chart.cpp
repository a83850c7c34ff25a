#include "core/stats_chart.h"

#include <algorithm>

namespace krx {

namespace {

// The smallest of 1, 2, 5 times a power of ten that is at least n.
size_t RoundStep(size_t n) {
  size_t power = 1;
  for (;;) {
    for (size_t m : {1u, 2u, 5u})
      if (m * power >= n) return m * power;
    power *= 10;
  }
}

}  // namespace

std::string ShortCount(size_t n) {
  if (n < 10000) return std::to_string(n);
  if (n < 1000000) return std::to_string(n / 1000) + "k";
  if (n < 10000000) return std::to_string(n / 1000000) + "." + std::to_string(n / 100000 % 10) + "M";
  return std::to_string(n / 1000000) + "M";
}

std::string GroupedCount(size_t n) {
  std::string digits = std::to_string(n), text;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return text;
}

StatsChart LayoutStatsChart(const LogStats& stats) {
  using M = ChartMetrics;
  StatsChart chart;
  chart.plotLeft = M::kAxisWidth;
  chart.baseline = M::kTopRoom + M::kPlotHeight;
  chart.height = chart.baseline + M::kLabelRoom;
  chart.width = M::kAxisWidth + int(stats.days.size()) * M::kPitch + M::kRightRoom;

  // At most five steps of a round size, as few as cover the busiest day, so
  // its bar stands above the upper half (an empty log: 0 to 1).
  const size_t most = stats.days.empty() ? 0 : stats.days[stats.busiest].records;
  const size_t step = RoundStep((most + 4) / 5);
  const size_t steps = std::max<size_t>(1, (most + step - 1) / step);
  chart.scaleTop = step * steps;
  for (size_t i = 0; i <= steps; ++i)
    chart.ticks.push_back({chart.baseline - int(i * M::kPlotHeight / steps), ShortCount(i * step)});

  std::string lastYear;
  for (size_t i = 0; i < stats.days.size(); ++i) {
    const DayCount& d = stats.days[i];
    ChartBar bar;
    bar.left = M::kAxisWidth + int(i) * M::kPitch + (M::kPitch - M::kBarWidth) / 2;
    bar.right = bar.left + M::kBarWidth;
    // Scaled in 64 bits: a million records times the plot's height.
    const int height = int((unsigned long long)d.records * M::kPlotHeight / chart.scaleTop);
    // A day with records is never drawn as no bar at all.
    bar.top = chart.baseline - (d.records > 0 && height == 0 ? 1 : height);
    bar.count = ShortCount(d.records);
    const bool isDate = IsDateKey(d.date);
    bar.day = d.date.substr(0, 5);
    const std::string year = isDate ? d.date.substr(6) : std::string();
    if (year != lastYear || i == 0) bar.year = year;
    lastYear = year;
    bar.busiest = i == stats.busiest;
    chart.bars.push_back(bar);
  }
  return chart;
}

}  // namespace krx
