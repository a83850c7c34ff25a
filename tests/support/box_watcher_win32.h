#pragma once
// Answers the system message boxes that a test provokes: a thread watches
// for a dialog with the given caption, notes its text and presses OK.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace krx_test {

struct SeenBox {
  std::string text;
  bool hasIcon = false;
  bool ownerMatches = false;
};

class MessageBoxWatcher {
 public:
  // owner: the window the box must belong to (nullptr for none).
  explicit MessageBoxWatcher(const std::string& caption, void* owner = nullptr);
  ~MessageBoxWatcher();
  // The boxes answered so far, in order.
  std::vector<SeenBox> Seen();

 private:
  void Run();
  std::string caption_;
  void* owner_;
  std::atomic<bool> stop_{false};
  std::vector<SeenBox> seen_;
  std::atomic<int> count_{0};
  std::thread thread_;
};

}  // namespace krx_test
