#pragma once
// The order in which a sorted list box holds lines that were added to it one
// by one, starting empty. Knowing it ahead of time lets a window insert the
// lines at the end in that order (which the list box never re-sorts) instead
// of paying for the list box's search and shifting on every line.
//
// The list box finds a new line's place by a binary search over its lines
// with its own comparison: when the search meets an equal line the new one
// goes in front of it, otherwise after every smaller line. Lines that
// compare equal (for a case-blind comparison, "abc" and "ABC") therefore
// end up in an order that depends on what was added when; this reproduces
// it exactly.
#include <cstddef>
#include <functional>
#include <vector>

namespace krx {

// compare(a, b): the list box's comparison of line a with line b, below 0,
// 0 or above 0. Returns the line indexes in list order; false (order left
// empty) when the comparison turns out not to order the lines consistently,
// so the caller falls back to adding them one by one.
//
// guess, when given, is a likely sorted order of all count lines from a
// cheaper key; it is only checked with compare (one call per neighbouring
// pair), and sorted with compare after all when the check fails.
bool SortedListOrder(size_t count, const std::function<int(size_t a, size_t b)>& compare,
                     std::vector<size_t>& order, const std::vector<size_t>* guess = nullptr);

}  // namespace krx
