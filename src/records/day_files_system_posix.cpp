// The day files' system side in the native build, through the file layer's
// test seam, so that the merge and the close run in the native tests.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "records/busy_cursor.h"
#include "records/day_files.h"
#include "records/file_fault_hook.h"

namespace krx {

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

// The add-on's lock byte as a POSIX record lock: the same decision under
// the same kind of lock, so the native tests drive the close's steps.
bool DeleteDayFileIfUnchanged(const std::string& path, uint64_t expectedSize) {
  if (InjectedFileFault(FileOp::kOpen, path)) return false;
  const int fd = ::open(path.c_str(), O_RDWR);
  if (fd < 0) return false;
  struct flock lock = {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = off_t(1) << 62;
  lock.l_len = 1;
  // As on Windows: a holder that keeps the byte past a short wait keeps its file.
  bool locked = false;
  for (int i = 0; i < 200 && !locked; ++i) {
    if (i) ::usleep(1000);
    locked = ::fcntl(fd, F_SETLK, &lock) == 0;
  }
  bool deleted = false;
  if (locked) {
    struct stat st;
    if (!InjectedFileFault(FileOp::kStat, path) && ::fstat(fd, &st) == 0 && uint64_t(st.st_size) == expectedSize) {
      deleted = DeleteFileForced(path);
    }
  }
  ::close(fd);  // lets the lock go
  return deleted;
}

BusyCursor::BusyCursor() {}
BusyCursor::~BusyCursor() {}

}  // namespace krx
