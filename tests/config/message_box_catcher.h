#pragma once
// Answers the message boxes that the code under test shows on this thread:
// a helper thread waits for each new top-level window of the process,
// records the texts of its child windows and presses OK.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace krx_test {

class MessageBoxCatcher {
 public:
  MessageBoxCatcher();
  ~MessageBoxCatcher();
  MessageBoxCatcher(const MessageBoxCatcher&) = delete;
  MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

  // One entry per box answered: the texts of its child windows joined by "|".
  std::vector<std::string> Boxes() const;

 private:
  void Run();
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> boxes_;
  std::thread thread_;
};

}  // namespace krx_test
