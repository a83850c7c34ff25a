#include "core/sorted_list_order.h"

#include <algorithm>
#include <numeric>

namespace krx {

namespace {

// A stable merge sort that stays within bounds whatever the comparison
// answers; the consistency check comes afterwards.
void MergeSort(std::vector<size_t>& items, const std::function<int(size_t, size_t)>& compare) {
  std::vector<size_t> buffer(items.size());
  for (size_t width = 1; width < items.size(); width *= 2) {
    for (size_t left = 0; left < items.size(); left += 2 * width) {
      const size_t mid = std::min(left + width, items.size());
      const size_t right = std::min(left + 2 * width, items.size());
      size_t i = left, j = mid, out = left;
      while (i < mid && j < right) buffer[out++] = compare(items[j], items[i]) < 0 ? items[j++] : items[i++];
      while (i < mid) buffer[out++] = items[i++];
      while (j < right) buffer[out++] = items[j++];
    }
    items.swap(buffer);
  }
}

bool IsPermutation(const std::vector<size_t>& items) {
  std::vector<bool> seen(items.size(), false);
  for (size_t item : items) {
    if (item >= items.size() || seen[item]) return false;
    seen[item] = true;
  }
  return true;
}

// Counts per group, summed over the groups before a given one.
class GroupCounts {
 public:
  explicit GroupCounts(size_t groups) : tree_(groups + 1, 0) {}
  void Add(size_t group) {
    for (size_t i = group + 1; i < tree_.size(); i += i & (~i + 1)) ++tree_[i];
  }
  size_t Before(size_t group) const {
    size_t sum = 0;
    for (size_t i = group; i > 0; i -= i & (~i + 1)) sum += tree_[i];
    return sum;
  }

 private:
  std::vector<size_t> tree_;
};

// The list box's binary search over `count` lines of which `less` come
// before the new line and the next `equal` compare equal to it: the index
// the new line is inserted at.
size_t InsertIndex(size_t count, size_t less, size_t equal) {
  long long low = 0, high = static_cast<long long>(count) - 1;
  while (low <= high) {
    const long long index = (low + high) / 2;
    if (static_cast<size_t>(index) < less) low = index + 1;
    else if (static_cast<size_t>(index) >= less + equal) high = index - 1;
    else return static_cast<size_t>(index);
  }
  return static_cast<size_t>(low);
}

}  // namespace

bool SortedListOrder(size_t count, const std::function<int(size_t a, size_t b)>& compare,
                     std::vector<size_t>& order, const std::vector<size_t>* guess) {
  // Each neighbouring pair is compared once: the answers both check the
  // order and mark where one run of equal lines ends.
  std::vector<int> steps;
  auto sorted = [&] {
    steps.assign(count, -1);
    for (size_t k = 1; k < count; ++k) {
      steps[k] = compare(order[k - 1], order[k]);
      if (steps[k] > 0) return false;
    }
    return true;
  };
  bool ok = false;
  if (guess && guess->size() == count && IsPermutation(*guess)) {
    order = *guess;
    ok = sorted();
  }
  if (!ok) {
    order.resize(count);
    std::iota(order.begin(), order.end(), size_t(0));
    MergeSort(order, compare);
    if (!sorted()) {
      order.clear();
      return false;
    }
  }

  // Runs of equal lines form groups, numbered in list order.
  std::vector<size_t> groupOf(count);
  std::vector<size_t> groupSize;
  for (size_t k = 0; k < count; ++k) {
    if (steps[k] < 0) groupSize.push_back(0);
    groupOf[order[k]] = groupSize.size() - 1;
    ++groupSize.back();
  }

  // Only groups of two or more lines need the insertion replayed; the rest
  // of the list is in sorted order already. A line's search depends only on
  // how many lines before it were smaller and how many equal.
  std::vector<std::vector<size_t>> members(groupSize.size());
  GroupCounts added(groupSize.size());
  for (size_t line = 0; line < count; ++line) {
    const size_t group = groupOf[line];
    if (groupSize[group] > 1) {
      std::vector<size_t>& run = members[group];
      const size_t less = added.Before(group);
      const size_t at = InsertIndex(line, less, run.size()) - less;
      run.insert(run.begin() + static_cast<std::ptrdiff_t>(at), line);
    }
    added.Add(group);
  }
  size_t out = 0;
  for (size_t k = 0; k < count;) {
    const size_t group = groupOf[order[k]];
    if (groupSize[group] == 1) {
      order[out++] = order[k];
    } else {
      for (size_t line : members[group]) order[out++] = line;
    }
    k += groupSize[group];
  }
  return true;
}

}  // namespace krx
