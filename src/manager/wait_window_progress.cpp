#include "manager/wait_window_progress.h"

#include "skin/wait_window.h"

namespace krx {

WaitWindowProgress::~WaitWindowProgress() {
  if (open_) Done();
}

void WaitWindowProgress::Start(const std::string& text, int total) {
  // One threaded wait window at a time: close ours before the next opens.
  if (open_) Done();
  WaitWindowStart(owner_, text, total, theme_);
  open_ = true;
}

void WaitWindowProgress::Step(int step) {
  if (open_) WaitWindowStep(step);
}

void WaitWindowProgress::Done() {
  if (!open_) return;
  WaitWindowDone();
  open_ = false;
}

}  // namespace krx
