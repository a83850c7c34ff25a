#include "core/chosen_days.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "core/day_range.h"
#include "core/record_text.h"

namespace krx {

int SpanOfCommand(int command) {
  switch (command) {
    case kIdLast7Days: return 7;
    case kIdLast30Days: return 30;
    default: return 0;
  }
}

long DaysBefore(long day, int back) {
  return DateOfDayNumber(DayNumberOf(day) - back);
}

std::vector<int> DaysInSpan(const StringArray& days, long today, int span) {
  std::vector<int> chosen;
  const long first = span > 0 ? DaysBefore(today, span - 1) : 0;
  for (size_t i = 0; i < days.size(); ++i) {
    if (span <= 0) {
      chosen.push_back(int(i));
      continue;
    }
    // A key such as 02/31/2026 reads as a number of no real day; it still
    // falls where its number puts it, as the date list orders it.
    const long order = DateKeyOrder(days[i]);
    if (order >= first && order <= today) chosen.push_back(int(i));
  }
  return chosen;
}

std::string DaysPhrase(const StringArray& days) {
  if (days.empty()) return "on ";
  if (days.size() == 1) return "on " + days.front();
  return "from " + days.front() + " to " + days.back();
}

std::vector<StringArray> ItemListLinesOfDays(const StringArray& collection, const StringArray& days) {
  std::vector<StringArray> blocks(days.size());
  std::unordered_map<std::string_view, size_t> blockOf;
  std::vector<size_t> lengths;
  size_t emptyBlock = days.size();
  for (size_t i = 0; i < days.size(); ++i) {
    if (days[i].empty()) {
      if (emptyBlock == days.size()) emptyBlock = i;
      continue;
    }
    blockOf.emplace(days[i], i);  // a day listed twice keeps its first block
    if (std::find(lengths.begin(), lengths.end(), days[i].size()) == lengths.end()) lengths.push_back(days[i].size());
  }
  for (const std::string& line : collection) {
    const std::string_view text(line);
    size_t best = days.size();
    bool holdsAngle = false;
    for (size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
      holdsAngle = true;
      for (size_t length : lengths) {
        if (at + 1 + length > text.size()) continue;
        const auto found = blockOf.find(text.substr(at + 1, length));
        if (found != blockOf.end()) best = std::min(best, found->second);
      }
    }
    if (best == days.size() && holdsAngle) best = emptyBlock;
    if (best < days.size()) blocks[best].push_back(line);
  }
  return blocks;
}

size_t RemoveRecordsOfDays(StringArray& records, const StringArray& days) {
  const std::unordered_set<std::string_view> chosen(days.begin(), days.end());
  const size_t before = records.size();
  records.erase(std::remove_if(records.begin(), records.end(),
                               [&chosen](const std::string& record) { return chosen.count(DateKeyView(record)) != 0; }),
                records.end());
  return before - records.size();
}

std::string DeleteDaysQuestion(size_t days) {
  if (days <= 1) return "Do you want to delete the selected item(s)?";
  return "Do you want to delete the records of the " + std::to_string(days) + " selected days?";
}

}  // namespace krx
