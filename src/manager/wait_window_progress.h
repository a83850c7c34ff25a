#pragma once
// The threaded "Please Wait..." window as the progress of a long operation
// (merging day files, building a date list, re-stamping record files).
#include <windows.h>

#include <string>

#include "core/progress_sink.h"

namespace krx {

class WaitWindowProgress : public ProgressSink {
 public:
  WaitWindowProgress(HWND owner, int theme) : owner_(owner), theme_(theme) {}
  // A window left open by an early return is closed.
  ~WaitWindowProgress() override;

  void Start(const std::string& text, int total) override;
  void Step(int step) override;
  void Done() override;

 private:
  HWND owner_;
  int theme_;
  bool open_ = false;
};

}  // namespace krx
