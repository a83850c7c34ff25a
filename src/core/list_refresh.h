#pragma once
// When a long loop brings what it shows up to date. A list box that redraws
// costs a paint per added line, so a fetch adds its lines a few times a
// second instead; and it must do so also when the change came many entries
// ago (a match followed by a long run of entries that do not match), not
// only when the latest entry changed something.
//
//   ListRefresh refresh(GetTickCount(), 100);
//   ... refresh.Changed();                       // a line found, the filter changed
//   ... if (refresh.Due(GetTickCount())) Show();  // after every entry and on every look at the queue
#include <cstdint>

namespace krx {

class ListRefresh {
 public:
  ListRefresh(uint32_t nowMs, uint32_t intervalMs) : shown_(nowMs), interval_(intervalMs) {}
  void Changed() { changed_ = true; }
  // True, once, when something changed and the interval has passed since
  // the last time it was shown. The millisecond clock may wrap.
  bool Due(uint32_t nowMs) {
    if (!changed_ || uint32_t(nowMs - shown_) < interval_) return false;
    shown_ = nowMs;
    changed_ = false;
    return true;
  }

 private:
  uint32_t shown_;
  uint32_t interval_;
  bool changed_ = false;
};

}  // namespace krx
