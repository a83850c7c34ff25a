// Any bytes as a record file. The reader must neither crash nor allocate
// beyond what the input holds (run with -malloc_limit_mb); it must read the
// same whether its source gives all bytes at once or a few at a time, and
// whatever conversion wide strings get; whatever it read whole must write
// back and read back byte for byte; and the load for a password must agree
// with the read that ignores the stamp.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/archive.h"
#include "core/record_cipher.h"
#include "core/record_file.h"

namespace {

// Delivers at most `piece` bytes per read, as a file read in parts may.
class PieceSource : public krx::ByteSource {
 public:
  PieceSource(const char* data, size_t size, size_t piece) : data_(data), size_(size), piece_(piece) {}
  size_t ReadSome(char* dst, size_t n) override {
    size_t take = n < piece_ ? n : piece_;
    if (take > size_ - pos_) take = size_ - pos_;
    for (size_t i = 0; i < take; ++i) dst[i] = data_[pos_ + i];
    pos_ += take;
    return take;
  }
  uint64_t Remaining() const override { return size_ - pos_; }

 private:
  const char* data_;
  size_t size_, piece_, pos_ = 0;
};

// A code page of one byte per character, like the Western one.
std::string OneBytePerChar(const std::u16string& wide) {
  std::string out;
  for (char16_t c : wide) out.push_back(c < 0x100 ? char(c) : '?');
  return out;
}

bool Same(const krx::RecordFileRead& a, const krx::RecordFileRead& b) {
  return a.status == b.status && a.stamp == b.stamp && a.records == b.records;
}

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  krx::MemorySource source(bytes, size);
  const krx::RecordFileRead read = krx::ReadRecordFileAnyStamp(source);

  PieceSource pieces(bytes, size, 1 + size % 13);
  Check(Same(read, krx::ReadRecordFileAnyStamp(pieces)));

  krx::MemorySource again(bytes, size);
  krx::RecordFileRead converted = krx::ReadRecordFileAnyStamp(again, &OneBytePerChar);
  Check(converted.status == read.status && converted.records.size() == read.records.size());

  // The writer keeps every byte of what was read, in the narrow form.
  krx::StringSink sink;
  Check(krx::WriteRecordFile(sink, read.stamp, read.records));
  krx::MemorySource written(sink.bytes);
  krx::RecordFileRead back = krx::ReadRecordFileAnyStamp(written);
  Check(back.status == krx::RecordFileStatus::kLoaded && back.stamp == read.stamp && back.records == read.records);

  krx::MemorySource forLoad(bytes, size);
  krx::RecordFileRead load = krx::ReadRecordFile(forLoad, "");
  if (load.status == krx::RecordFileStatus::kLoaded) Check(Same(load, read));
  if (read.status == krx::RecordFileStatus::kLoaded && krx::SealedMatches(read.stamp, "")) {
    Check(load.status == krx::RecordFileStatus::kLoaded);
  }
  if (load.status == krx::RecordFileStatus::kStampMismatch) Check(load.records.empty());
  return 0;
}
