// Any bytes as a record file: the reader must neither crash nor allocate
// beyond what the input holds (run with -malloc_limit_mb).
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/archive.h"
#include "core/record_cipher.h"
#include "core/record_file.h"
#include "core/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  {
    krx::MemorySource source(bytes, size);
    krx::RecordFileRead read = krx::ReadRecordFileAnyStamp(source);
    // Whatever was read whole must write back and read back the same.
    krx::StringSink sink;
    krx::WriteRecordFile(sink, read.stamp, read.records);
    krx::MemorySource again(sink.bytes);
    krx::RecordFileRead back = krx::ReadRecordFileAnyStamp(again);
    if (back.records.size() != read.records.size() || back.stamp != read.stamp) __builtin_trap();
  }
  {
    krx::MemorySource source(bytes, size);
    krx::ReadRecordFile(source, "");
  }
  std::string text(bytes, size);
  krx::UnsealString(text, text.size());
  krx::ParseSettings(std::string(bytes, size));
  return 0;
}
