// The day files' marks file lies in the user folder where anything may
// damage it: the reader must survive any bytes, and what it accepts must be
// written back byte for byte, so a file it takes is one the program wrote.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/day_file_marks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  krx::DayFileMarks marks;
  if (!krx::ParseDayFileMarks(bytes, marks)) {
    if (!marks.empty()) std::abort();
    return 0;
  }
  for (const auto& entry : marks) {
    if (entry.second.lastLineStart > entry.second.size) std::abort();
  }
  if (krx::SerializeDayFileMarks(marks) != bytes) std::abort();
  return 0;
}
