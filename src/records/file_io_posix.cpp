// The native build of the file layer (tools and tests on Linux).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "records/file_io.h"

namespace krx {

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  struct stat st;
  bool ok = ::fstat(fd, &st) == 0;
  if (ok) {
    out.resize(size_t(st.st_size));
    size_t done = 0;
    while (ok && done < out.size()) {
      ssize_t got = ::read(fd, &out[done], out.size() - done);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) ok = false; else done += size_t(got);
    }
  }
  ::close(fd);
  return ok;
}

bool CopyFileBytes(const std::string& from, const std::string& to) {
  std::string bytes;
  return ReadWholeFile(from, bytes) && WriteFileAtomic(to, bytes);
}

FileSource::~FileSource() {
  if (handle_ >= 0) ::close(int(handle_));
}

std::unique_ptr<FileSource> FileSource::Open(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return nullptr;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  std::unique_ptr<FileSource> source(new FileSource());
  source->handle_ = fd;
  source->remaining_ = uint64_t(st.st_size);
  return source;
}

size_t FileSource::ReadSome(char* dst, size_t n) {
  if (n > remaining_) n = size_t(remaining_);
  while (n > 0) {
    ssize_t got = ::read(int(handle_), dst, n);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return 0;
    remaining_ -= uint64_t(got);
    return size_t(got);
  }
  return 0;
}

AtomicFileWriter::~AtomicFileWriter() { Abort(); }

bool AtomicFileWriter::Open(const std::string& path) {
  Abort();
  path_ = path;
  tempPath_ = path + ".tmp";
  failed_ = false;
  int fd = ::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  handle_ = fd;
  return true;
}

bool AtomicFileWriter::Write(const char* data, size_t n) {
  if (handle_ < 0 || failed_) return false;
  while (n > 0) {
    ssize_t put = ::write(int(handle_), data, n);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      failed_ = true;
      return false;
    }
    data += put;
    n -= size_t(put);
  }
  return true;
}

bool AtomicFileWriter::Commit() {
  if (handle_ < 0) return false;
  bool ok = !failed_ && ::fsync(int(handle_)) == 0;
  ok = (::close(int(handle_)) == 0) && ok;
  handle_ = -1;
  if (ok) ok = ::rename(tempPath_.c_str(), path_.c_str()) == 0;
  if (!ok) ::unlink(tempPath_.c_str());
  return ok;
}

void AtomicFileWriter::Abort() {
  if (handle_ < 0) return;
  ::close(int(handle_));
  handle_ = -1;
  ::unlink(tempPath_.c_str());
}

// A rename here replaces a file that readers hold open; they keep the old one.
bool WriteSharedFile(const std::string& path, const std::string& bytes) { return WriteFileAtomic(path, bytes); }

std::string SystemWideToMultiByte(const std::u16string& wide) { return Utf16ToUtf8(wide); }

}  // namespace krx
