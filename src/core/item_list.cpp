#include "core/item_list.h"

#include <algorithm>

#include "core/date_list.h"
#include "core/chosen_days.h"
#include "core/manager_views.h"

namespace krx {

bool CollectionOfView(int view, RecordCollection& collection) {
  if (const LogView* log = FindLogView(view)) {
    collection = log->collection;
    return true;
  }
  if (view == IDC_TAB_WHITE) collection = kWhiteList;
  else if (view == IDC_TAB_FORBID) collection = kForbiddenList;
  else return false;
  return true;
}

bool IsLineOfDay(const std::string& line, const std::string& date) {
  // Searching for '<' and comparing the date after it avoids building the
  // marker "<" + date for every line of a large log.
  for (size_t at = line.find('<'); at != std::string::npos; at = line.find('<', at + 1)) {
    if (line.compare(at + 1, date.size(), date) == 0) return true;
  }
  return false;
}

StringArray ItemListLines(int view, const StringArray& collection, const std::string& date) {
  StringArray lines;
  if (IsListView(view)) return collection;
  if (!IsLogView(view)) return lines;
  for (const std::string& line : collection) {
    if (IsLineOfDay(line, date)) lines.push_back(line);
  }
  return lines;
}

bool SkipsHeldLines(int view, bool listWasEmpty) { return IsListView(view) || !listWasEmpty; }

std::optional<std::string> ItemListStatusText(int view, const std::string& date, size_t count) {
  return ItemListStatusTextOfDays(view, StringArray{date}, count);
}

std::optional<std::string> ItemListStatusTextOfDays(int view, const StringArray& days, size_t count) {
  const std::string n = std::to_string(count);
  const std::string when = DaysPhrase(days);
  switch (view) {
    case IDC_TAB_VISIT:
      return "The number of web pages visited " + when + " is: " + n;
    case IDC_TAB_BLOCK:
      return "The number of popup windows blocked " + when + " is: " + n;
    case IDC_TAB_FLASH:
      return "The number of flash objects recorded " + when + " is: " + n;
    case IDC_TAB_MEDIA:
      return "The number of media address is: " + n;
    case IDC_TAB_WHITE:
      return "The number of addresses in white list is: " + n;
    case IDC_TAB_FORBID:
      return "The number of forbidden sites is: " + n;
    default:
      return std::nullopt;
  }
}

CacheFieldControls CacheFieldChosen(int field) { return {field != 0, field > 4 ? "mm/dd/yyyy" : nullptr}; }

bool RemoveFirst(StringArray& array, const std::string& text) {
  auto it = std::find(array.begin(), array.end(), text);
  if (it == array.end()) return false;
  array.erase(it);
  return true;
}

}  // namespace krx
