#pragma once
// Whole-file reads and crash-safe whole-file writes, for Windows and for the
// native build of the core tools. Paths are the system's own (ANSI on Windows).
#include <cstdint>
#include <memory>
#include <string>

#include "core/archive.h"

namespace krx {

// False only when the system says nothing is there. A file whose status
// cannot be read counts as there, so that a passing device error never
// makes a file look missing and get written over.
bool FileExists(const std::string& path);
bool ReadWholeFile(const std::string& path, std::string& out);
bool CopyFileBytes(const std::string& from, const std::string& to);

// Reads a file in pieces; Remaining() comes from the file's size at open.
class FileSource : public ByteSource {
 public:
  ~FileSource() override;
  static std::unique_ptr<FileSource> Open(const std::string& path);
  size_t ReadSome(char* dst, size_t n) override;
  uint64_t Remaining() const override { return remaining_; }
  // A read failed: what came before it is not the whole file, and not a
  // sign that the file is damaged either.
  bool failed() const { return failed_; }

 private:
  FileSource() = default;
  intptr_t handle_ = -1;
  uint64_t remaining_ = 0;
  bool failed_ = false;
  std::string path_;  // what the native layer's test seam is told
};

// Writes beside the target under a temporary name and replaces the target in
// one step at Commit, so a reader (or a crash) never sees a half-written file.
// Anything short of a successful Commit leaves the old file as it was.
class AtomicFileWriter : public ByteSink {
 public:
  ~AtomicFileWriter() override;
  bool Open(const std::string& path);
  bool Write(const char* data, size_t n) override;
  bool Commit();
  void Abort();

 private:
  std::string path_;
  std::string tempPath_;
  intptr_t handle_ = -1;
  bool failed_ = false;
};

bool WriteFileAtomic(const std::string& path, const std::string& bytes);

// For a small file that another program reads at any moment (KRX.cfg, read
// by the add-on): the one-step replace first. A reader holding the file
// without sharing deletion makes the replace fail; after a few short retries
// the bytes are written over the old ones in a single write instead. False
// only when the file cannot be written at all; its old bytes then stay.
bool WriteSharedFile(const std::string& path, const std::string& bytes);

// The platform's conversion of wide counted strings to the system code page.
std::string SystemWideToMultiByte(const std::u16string& wide);

}  // namespace krx
