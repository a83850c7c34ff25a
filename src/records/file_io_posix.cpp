// The native build of the file layer (tools and tests on Linux). Each system
// call first asks the test seam whether it is to fail.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "records/file_fault_hook.h"
#include "records/file_io.h"
#include "records/file_io_system.h"

namespace krx {
namespace {

int OpenFile(const std::string& path, int flags) {
  if (InjectedFileFault(FileOp::kOpen, path)) return -1;
  return ::open(path.c_str(), flags, 0644);
}

bool StatOpen(int fd, const std::string& path, struct stat& st) {
  return !InjectedFileFault(FileOp::kStat, path) && ::fstat(fd, &st) == 0;
}

ssize_t ReadFrom(int fd, const std::string& path, char* dst, size_t n) {
  for (;;) {
    if (InjectedFileFault(FileOp::kRead, path)) return -1;
    ssize_t got = ::read(fd, dst, n);
    if (got < 0 && errno == EINTR) continue;
    return got;
  }
}

bool WriteAll(int fd, const std::string& path, const char* data, size_t n) {
  while (n > 0) {
    if (InjectedFileFault(FileOp::kWrite, path)) return false;
    ssize_t put = ::write(fd, data, n);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    data += put;
    n -= size_t(put);
  }
  return true;
}

bool Sync(int fd, const std::string& path) { return !InjectedFileFault(FileOp::kFlush, path) && ::fsync(fd) == 0; }

// The close that ends a write can report what the write-back met.
bool CloseWritten(int fd, const std::string& path) {
  const bool injected = InjectedFileFault(FileOp::kFlush, path) != 0;
  return (::close(fd) == 0) && !injected;
}

bool Unlink(const std::string& path) { return !InjectedFileFault(FileOp::kDelete, path) && ::unlink(path.c_str()) == 0; }

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st;
  if (!InjectedFileFault(FileOp::kStat, path) && ::stat(path.c_str(), &st) == 0) return true;
  return errno != ENOENT && errno != ENOTDIR;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  int fd = OpenFile(path, O_RDONLY);
  if (fd < 0) return false;
  struct stat st;
  bool ok = StatOpen(fd, path, st);
  if (ok) {
    out.resize(size_t(st.st_size));
    size_t done = 0;
    while (ok && done < out.size()) {
      ssize_t got = ReadFrom(fd, path, &out[done], out.size() - done);
      if (got <= 0) ok = false; else done += size_t(got);
    }
  }
  ::close(fd);
  return ok;
}

FileSource::~FileSource() {
  if (handle_ >= 0) ::close(int(handle_));
}

std::unique_ptr<FileSource> FileSource::Open(const std::string& path) {
  int fd = OpenFile(path, O_RDONLY);
  if (fd < 0) return nullptr;
  struct stat st;
  if (!StatOpen(fd, path, st) || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  std::unique_ptr<FileSource> source(new FileSource());
  source->handle_ = fd;
  source->path_ = path;
  source->remaining_ = uint64_t(st.st_size);
  return source;
}

size_t FileSource::ReadSome(char* dst, size_t n) {
  if (n > remaining_) n = size_t(remaining_);
  if (n == 0) return 0;
  ssize_t got = ReadFrom(int(handle_), path_, dst, n);
  if (got <= 0) {
    failed_ = got < 0;  // an early end is a file that shrank, not a failed read
    return 0;
  }
  remaining_ -= uint64_t(got);
  return size_t(got);
}

AtomicFileWriter::~AtomicFileWriter() { Abort(); }

bool AtomicFileWriter::Open(const std::string& path) {
  Abort();
  path_ = path;
  tempPath_ = path + ".tmp";
  failed_ = false;
  int fd = OpenFile(tempPath_, O_WRONLY | O_CREAT | O_TRUNC);
  if (fd < 0) return false;
  handle_ = fd;
  return true;
}

bool AtomicFileWriter::Write(const char* data, size_t n) {
  if (handle_ < 0 || failed_) return false;
  if (!WriteAll(int(handle_), tempPath_, data, n)) failed_ = true;
  return !failed_;
}

bool AtomicFileWriter::Commit() {
  if (handle_ < 0) return false;
  bool ok = !failed_ && Sync(int(handle_), tempPath_);
  ok = CloseWritten(int(handle_), tempPath_) && ok;
  handle_ = -1;
  if (ok) ok = !InjectedFileFault(FileOp::kReplace, path_) && ::rename(tempPath_.c_str(), path_.c_str()) == 0;
  if (!ok) ::unlink(tempPath_.c_str());
  return ok;
}

void AtomicFileWriter::Abort() {
  if (handle_ < 0) return;
  ::close(int(handle_));
  handle_ = -1;
  ::unlink(tempPath_.c_str());
}

namespace file_system {

bool WriteNewFile(const std::string& path, const std::string& bytes) {
  int fd = OpenFile(path, O_WRONLY | O_CREAT | O_TRUNC);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, path, bytes.data(), bytes.size()) && Sync(fd, path);
  ok = CloseWritten(fd, path) && ok;
  if (!ok) ::unlink(path.c_str());
  return ok;
}

// A rename here replaces a file that readers hold open (they keep the old
// one), so a busy target is rare: a mount that refuses the rename.
Replace ReplaceWith(const std::string& from, const std::string& to) {
  if (!InjectedFileFault(FileOp::kReplace, to) && ::rename(from.c_str(), to.c_str()) == 0) return Replace::kDone;
  return errno == EBUSY ? Replace::kTargetBusy : Replace::kFailed;
}

bool RemoveFile(const std::string& path) { return Unlink(path); }

bool OverwriteInPlace(const std::string& path, const std::string& bytes) {
  int fd = OpenFile(path, O_WRONLY);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, path, bytes.data(), bytes.size()) && !InjectedFileFault(FileOp::kWrite, path) &&
            ::ftruncate(fd, off_t(bytes.size())) == 0 && Sync(fd, path);
  return CloseWritten(fd, path) && ok;
}

void PauseBeforeRetry() {
  const timespec pause{0, 20 * 1000 * 1000};
  ::nanosleep(&pause, nullptr);
}

}  // namespace file_system

std::string SystemWideToMultiByte(const std::u16string& wide) { return Utf16ToUtf8(wide); }

}  // namespace krx
