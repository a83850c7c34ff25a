#pragma once
// The fault driver of the record store's write paths: each path runs once
// for every file operation it makes, with that one operation failing as a
// full disk or a failing device makes it fail, and the folder is checked
// after each run: every file old or new, a failure reported as one, and a
// second run without the fault finishing the job.
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "support/test_support.h"

namespace krx_test {

// A fresh folder for one run. The runs write and flush thousands of small
// files: on the RAM disk that KRX_FAULT_DIR names where there is one, or
// they would mostly wait for the disk.
class RunFolder {
 public:
  RunFolder();
  ~RunFolder();
  const std::string& path() const { return path_; }

 private:
  std::unique_ptr<krx_test::TempFolder> temp_;
  std::string path_;
};

// One write path: Prepare lays out the old files under root and returns the
// run, which the driver calls once with a fault and once more without; it
// answers whether the path reported success. Lost names what a state of the
// folder no longer holds that the old one did (nothing: ""). Output files
// such as standard output may be left partial when the run says it failed.
// A file may also hold what the run gives from the old files of the
// variant, when the path has one.
using Prepare = std::function<std::function<bool()>(const std::string& root)>;
struct WritePath {
  const char* name;
  Prepare prepare;
  std::function<std::string(const std::string& root)> lost = nullptr;
  std::set<std::string> partialOnFailure = {};
  Prepare variant = nullptr;
  // A file that may be left in a state between old and new, when whole
  // (the day files' marks of the files a failed delete kept).
  std::function<bool(const std::string& name, const std::string& bytes)> wholeBetween = nullptr;
  bool pairs = false;  // every two fault points in one run too, as a failure and its undo's
};

struct Figures {
  int faultPoints = 0, pairs = 0, damaged = 0, successWithFault = 0, lost = 0, secondRunFailed = 0;
};

// Runs the path without a fault, then once per fault point (and per pair of
// them where the path asks), each failing check a test failure; prints the
// path's figures.
Figures Drive(const WritePath& path);

}  // namespace krx_test
