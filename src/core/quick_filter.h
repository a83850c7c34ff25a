#pragma once
// The quick filter of the item list: a field of its own above the list that
// narrows it, as the user types, to the lines that hold the typed text.
// The window keeps the whole list aside while a filter is on and shows the
// lines these functions pick; clearing the field puts the whole list back.
#include <cstddef>
#include <string>
#include <vector>

namespace krx {

// The field's id, beside the template's controls (1000-1027).
constexpr int kIdQuickFilter = 1028;
// The item list's menu command and key (Ctrl+Q) that show and focus it.
constexpr int kIdShowQuickFilter = 2240;
// How long the list waits after the last key before it follows the field,
// in milliseconds: a burst of keys costs one refill, and the field itself
// paints every key at once.
constexpr unsigned kQuickFilterDelayMs = 30;

// The views that have one: the four logs and the two lists.
bool HasQuickFilter(int view);

// The indexes of the lines that hold text, in order, with case as Find
// compares it (ignored unless caseSetting is exactly 1); every index when
// text is empty.
std::vector<size_t> FilterLines(const std::vector<std::string>& lines, const std::string& text, int caseSetting);

// The status line while the filter is on: how many lines are shown of how
// many the list holds.
std::string QuickFilterStatusText(const std::string& text, size_t shown, size_t total);

// shown: the whole list's indexes of the lines on show, in order; chosen:
// whole-list indexes. The positions on show of the chosen lines that are
// shown, in order (the lines to select again after the list changed).
std::vector<int> ShownPositions(const std::vector<size_t>& shown, const std::vector<size_t>& chosen);

}  // namespace krx
