#include "records/fault_driver.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>

#include "records/file_fault_hook.h"

namespace fs = std::filesystem;
using krx::FileOp;

namespace krx_test {
namespace {

// Counts the operations of a run and fails those numbered in failAt.
class FaultInjector : public krx::FileFaultHook {
 public:
  explicit FaultInjector(std::set<int> failAt) : failAt_(std::move(failAt)), previous_(krx::SetFileFaultHook(this)) {}
  ~FaultInjector() override { krx::SetFileFaultHook(previous_); }
  int Before(FileOp op, const std::string&) override {
    if (!failAt_.count(++calls_)) return 0;
    // Writing, creating and renaming meet a full disk; the rest a device error.
    return op == FileOp::kOpen || op == FileOp::kWrite || op == FileOp::kReplace ? ENOSPC : EIO;
  }
  int calls() const { return calls_; }

 private:
  int calls_ = 0;
  std::set<int> failAt_;
  krx::FileFaultHook* previous_;
};

using Snapshot = std::map<std::string, std::string>;  // path under the folder -> bytes

Snapshot Take(const std::string& root) {
  Snapshot s;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) s[fs::relative(e.path(), root).string()] = krx_test::ReadFileBytes(e.path().string());
  }
  return s;
}

const std::string kAbsent = std::string("\0absent", 7);
std::string At(const Snapshot& s, const std::string& path) {
  auto it = s.find(path);
  return it == s.end() ? kAbsent : it->second;
}

// The folder before and after a run without a fault, and how many file
// operations the run made.
int RunWithoutFault(const WritePath& path, const Prepare& prepare, Snapshot& before, Snapshot& after) {
  RunFolder dir;
  std::function<bool()> run = prepare(dir.path());
  before = Take(dir.path());
  FaultInjector counter({});
  EXPECT_TRUE(run()) << path.name << ": the run without a fault fails";
  after = Take(dir.path());
  return counter.calls();
}

}  // namespace

RunFolder::RunFolder() {
  std::error_code ec;
  if (const char* base = std::getenv("KRX_FAULT_DIR"); base && fs::is_directory(base, ec)) {
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = (fs::path(base) / ("krx-fault-" + std::to_string(rd()))).string() + "/";
      if (fs::create_directory(path_, ec)) return;
    }
  }
  temp_ = std::make_unique<krx_test::TempFolder>();
  path_ = temp_->path();
}

RunFolder::~RunFolder() {
  std::error_code ec;
  if (!temp_) fs::remove_all(path_, ec);
}

Figures Drive(const WritePath& path) {
  Figures f;
  Snapshot before, after, variantBefore, variantAfter;
  const int calls = RunWithoutFault(path, path.prepare, before, after);
  if (path.variant) RunWithoutFault(path, path.variant, variantBefore, variantAfter);
  std::set<std::string> names;
  for (const Snapshot* s : {&before, &after}) {
    for (const auto& file : *s) names.insert(file.first);
  }
  // One run with the faults at these operations; answers how many it made.
  auto check = [&](const std::set<int>& faults) {
    RunFolder dir;
    std::function<bool()> run = path.prepare(dir.path());
    bool reported;
    int made;
    {
      FaultInjector fault(faults);
      reported = run();
      made = fault.calls();
    }
    std::string at;
    for (int n : faults) at += " " + std::to_string(n);
    const Snapshot now = Take(dir.path());
    std::set<std::string> all = names;
    for (const auto& file : now) all.insert(file.first);
    for (const std::string& name : all) {
      const std::string bytes = At(now, name);
      if (bytes == At(before, name) || bytes == At(after, name)) continue;
      if (path.variant && bytes == At(variantAfter, name)) continue;
      if (!reported && path.partialOnFailure.count(name)) continue;
      if (path.wholeBetween && path.wholeBetween(name, bytes)) continue;
      ++f.damaged;
      ADD_FAILURE() << path.name << ", fault at call" << at << ": " << name << " is neither old nor new";
    }
    if (reported && now != after) {
      ++f.successWithFault;
      ADD_FAILURE() << path.name << ", fault at call" << at << ": reported success, files are not the new ones";
    }
    if (path.lost) {
      if (std::string what = path.lost(dir.path()); !what.empty()) {
        ++f.lost;
        ADD_FAILURE() << path.name << ", fault at call" << at << ": lost " << what;
      }
    }
    if (!run() || Take(dir.path()) != after) {
      ++f.secondRunFailed;
      ADD_FAILURE() << path.name << ", fault at call" << at << ": the second run did not finish the job";
    }
    return made;
  };
  for (int n = 1; n <= calls; ++n) {
    ++f.faultPoints;
    const int made = check({n});
    for (int m = n + 1; path.pairs && m <= made; ++m) {
      ++f.pairs;
      check({n, m});
    }
  }
  std::printf("%-44s %4d fault points, %d pairs, %d damaged, %d failures reported as success, %d lost, "
              "%d second runs short\n",
              path.name, f.faultPoints, f.pairs, f.damaged, f.successWithFault, f.lost, f.secondRunFailed);
  return f;
}

}  // namespace krx_test
