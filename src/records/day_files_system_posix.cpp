// The day files' system side in the native build, through the file layer's
// test seam, so that the merge and the close run in the native tests.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "records/busy_cursor.h"
#include "records/day_files.h"
#include "records/file_fault_hook.h"

namespace krx {

int64_t CurrentFileSize(const std::string& path) {
  struct stat st;
  if (InjectedFileFault(FileOp::kStat, path) || ::stat(path.c_str(), &st) != 0) return -1;
  return int64_t(st.st_size);
}

int CountFilesInTree(const std::string& folder) {
  if (folder.empty() || InjectedFileFault(FileOp::kOpen, folder)) return 0;
  int count = 0;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    if (entry.is_symlink(ec)) continue;  // could lead back up the tree
    if (entry.is_directory(ec)) {
      count += CountFilesInTree(entry.path().string() + "/");
    } else {
      ++count;
    }
  }
  return count;
}

bool DeleteFileForced(const std::string& path) {
  struct stat st;
  if (InjectedFileFault(FileOp::kStat, path) || ::stat(path.c_str(), &st) != 0) return false;
  if (InjectedFileFault(FileOp::kDelete, path) || ::chmod(path.c_str(), 0644) != 0) return false;
  return !InjectedFileFault(FileOp::kDelete, path) && ::unlink(path.c_str()) == 0;
}

BusyCursor::BusyCursor() {}
BusyCursor::~BusyCursor() {}

}  // namespace krx
