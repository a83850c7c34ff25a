#include "core/quick_filter.h"

#include <algorithm>

#include "core/item_text.h"
#include "core/manager_views.h"

namespace krx {

bool HasQuickFilter(int view) { return IsLogView(view) || IsListView(view); }

std::vector<size_t> FilterLines(const std::vector<std::string>& lines, const std::string& text, int caseSetting) {
  std::vector<size_t> shown;
  const LineMatcher matches(text, caseSetting);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (matches.Empty() || matches(lines[i])) shown.push_back(i);
  }
  return shown;
}

std::string QuickFilterStatusText(const std::string& text, size_t shown, size_t total) {
  return "The number of lines holding \"" + text + "\" is: " + std::to_string(shown) + " of " + std::to_string(total);
}

std::vector<int> ShownPositions(const std::vector<size_t>& shown, const std::vector<size_t>& chosen) {
  std::vector<size_t> sortedChosen(chosen);
  std::sort(sortedChosen.begin(), sortedChosen.end());
  std::vector<int> positions;
  // Both are in order: one walk down each.
  size_t c = 0;
  for (size_t p = 0; p < shown.size() && c < sortedChosen.size(); ++p) {
    while (c < sortedChosen.size() && sortedChosen[c] < shown[p]) ++c;
    if (c < sortedChosen.size() && sortedChosen[c] == shown[p]) positions.push_back(int(p));
  }
  return positions;
}

}  // namespace krx
