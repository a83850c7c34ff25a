#pragma once
// Where a long operation reports its progress. The program passes the
// threaded "Please Wait..." window; tests pass a recorder.
#include <string>

namespace krx {

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void Start(const std::string& text, int total) = 0;
  virtual void Step(int step) = 0;
  virtual void Done() = 0;
};

// For callers that show nothing.
class NoProgress : public ProgressSink {
 public:
  void Start(const std::string&, int) override {}
  void Step(int) override {}
  void Done() override {}
};

}  // namespace krx
