#include "core/stats_chart.h"

#include <algorithm>

#include "core/day_range.h"
#include "core/record_text.h"

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

std::string JumpText(long days) {
  if (days < 14) return std::to_string(days) + " days";
  if (days < 61) return std::to_string(days / 7) + " wk";
  if (days < 730) return std::to_string(days / 30) + " mo";
  return std::to_string(days / 365) + " yr";
}

StatsChart LayoutStatsChart(const LogStats& stats) {
  using M = ChartMetrics;
  StatsChart chart;
  chart.plotLeft = M::kAxisWidth;
  chart.baseline = M::kTopRoom + M::kPlotHeight;
  chart.height = chart.baseline + M::kLabelRoom;

  // Each day's place on the axis, in pitches from the left.
  std::vector<int> place(stats.days.size());
  int slot = 0;
  for (size_t i = 0; i < stats.days.size(); ++i) {
    if (i > 0) {
      const long a = DateKeyOrder(stats.days[i - 1].date), b = DateKeyOrder(stats.days[i].date);
      const long apart = a >= 0 && b >= 0 ? DayNumberOf(b) - DayNumberOf(a) : -1;
      if (apart >= 1 && apart <= M::kLongestGap) {
        slot += int(apart);
      } else {
        // The break takes a place of its own between the two days.
        chart.breaks.push_back({M::kAxisWidth + (slot + 1) * M::kPitch + M::kPitch / 2,
                                apart > 0 ? JumpText(apart) : std::string()});
        slot += 2;
      }
    }
    place[i] = slot;
  }
  chart.width = M::kAxisWidth + (stats.days.empty() ? 0 : slot + 1) * M::kPitch + M::kRightRoom;

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
    bar.left = M::kAxisWidth + place[i] * M::kPitch + (M::kPitch - M::kBarWidth) / 2;
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
