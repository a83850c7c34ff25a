#pragma once
// Small helpers shared by the tests of every layer.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/progress_sink.h"

namespace krx_test {

// Bytes written as hex pairs ("08 61 62"); spaces are ignored.
std::string Bytes(const std::string& hex);
std::string Hex(const std::string& bytes);

// A fresh empty folder for one test, removed at destruction. path() ends in
// the platform's separator.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// A Linux path (of a built program) as Wine shows it: the root is drive Z:.
std::string WinePath(const std::string& unixPath);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Counts "parameter error" reports of the record cipher while it lives.
class ParameterErrorCounter {
 public:
  ParameterErrorCounter();
  ~ParameterErrorCounter();
  int count() const;
};

// Records what a long operation reports to its progress window: one entry
// "<startPrefix><text> <total>" per start, "step <n>" per step (unless steps
// is off), "done" per close, after which onDone runs if set.
struct ProgressLog : krx::ProgressSink {
  explicit ProgressLog(std::string prefix = "") : startPrefix(std::move(prefix)) {}
  void Start(const std::string& text, int total) override {
    calls.push_back(startPrefix + text + " " + std::to_string(total));
  }
  void Step(int step) override {
    if (steps) calls.push_back("step " + std::to_string(step));
  }
  void Done() override {
    calls.push_back("done");
    if (onDone) onDone();
  }
  std::string startPrefix;
  std::vector<std::string> calls;
  bool steps = true;
  std::function<void()> onDone;
};

}  // namespace krx_test
