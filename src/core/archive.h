#pragma once
// The archive layout of the record files: little-endian integers, counted
// strings and the record count field, read and written through a buffer.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace krx {

// Where archive bytes come from. Remaining() is what the source can still
// deliver: the reader never allocates more than that for a single field.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual size_t ReadSome(char* dst, size_t n) = 0;
  virtual uint64_t Remaining() const = 0;
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual bool Write(const char* data, size_t n) = 0;
};

// Bytes held in memory (tests, fuzzing, the settings file).
class MemorySource : public ByteSource {
 public:
  MemorySource(const char* data, size_t size) : data_(data), size_(size) {}
  explicit MemorySource(const std::string& s) : MemorySource(s.data(), s.size()) {}
  size_t ReadSome(char* dst, size_t n) override;
  uint64_t Remaining() const override { return size_ - pos_; }

 private:
  const char* data_;
  size_t size_;
  size_t pos_ = 0;
};

class StringSink : public ByteSink {
 public:
  bool Write(const char* data, size_t n) override {
    bytes.append(data, n);
    return true;
  }
  std::string bytes;
};

// Turns the wide (UTF-16) form of a counted string into the system's
// multibyte code page. The Windows side passes its ANSI conversion; the
// portable default is UTF-8.
using WideConverter = std::string (*)(const std::u16string& wide);
std::string Utf16ToUtf8(const std::u16string& wide);

class ArchiveReader {
 public:
  explicit ArchiveReader(ByteSource& source, WideConverter convert = &Utf16ToUtf8);
  // Each returns false when the source ends early or the field is damaged;
  // the reader is then failed and stays failed.
  bool ReadU8(uint8_t& v);
  bool ReadU16(uint16_t& v);
  bool ReadU32(uint32_t& v);
  bool ReadU64(uint64_t& v);
  bool ReadCountedString(std::string& s);
  bool ReadCount(uint32_t& n);
  bool ReadBytes(char* dst, size_t n);
  bool Failed() const { return failed_; }
  // Bytes still available: the buffer plus what the source has left.
  uint64_t Remaining() const { return uint64_t(end_ - pos_) + source_.Remaining(); }

 private:
  bool ReadStringLength(uint64_t& length, bool& wide);
  bool Fail() {
    failed_ = true;
    return false;
  }
  ByteSource& source_;
  WideConverter convert_;
  std::unique_ptr<char[]> buffer_;
  const char* pos_ = nullptr;
  const char* end_ = nullptr;
  bool failed_ = false;
};

class ArchiveWriter {
 public:
  explicit ArchiveWriter(ByteSink& sink);
  ~ArchiveWriter();
  void WriteU8(uint8_t v) { WriteBytes(reinterpret_cast<const char*>(&v), 1); }
  void WriteU16(uint16_t v);
  void WriteU32(uint32_t v);
  void WriteU64(uint64_t v);
  // Always the narrow form; any byte value is kept.
  void WriteCountedString(const std::string& s);
  void WriteCount(uint32_t n);
  void WriteBytes(const char* data, size_t n);
  // Pushes the buffer to the sink; false if any write so far failed.
  bool Flush();
  bool Failed() const { return failed_; }

 private:
  ByteSink& sink_;
  std::unique_ptr<char[]> buffer_;
  size_t used_ = 0;
  bool failed_ = false;
};

}  // namespace krx
