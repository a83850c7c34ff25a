// Day files are written by another program: the merge must survive any
// bytes and give exactly what the plain reverse-scan merge gives.
// Input: byte 0 picks the lead-byte rule; the rest is split at 0xFF bytes
// into records already loaded (before the first 0xFE) and day files.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/day_file_merge.h"
#include "support/merge_reference.h"

namespace {
bool HighLead(unsigned char c) { return c >= 0x81 && c <= 0x9F; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  bool (*isLead)(unsigned char) = (data[0] & 1) ? &HighLead : nullptr;
  std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  size_t split = rest.find('\xFE');
  std::string loaded = split == std::string::npos ? std::string() : rest.substr(0, split);
  std::string files = split == std::string::npos ? rest : rest.substr(split + 1);

  krx::StringArray expected;
  size_t start = 0;
  while (start <= loaded.size() && !loaded.empty()) {
    size_t end = loaded.find('\xFF', start);
    if (end == std::string::npos) end = loaded.size();
    expected.push_back(loaded.substr(start, end - start));
    start = end + 1;
  }
  krx::StringArray actual = expected;
  krx::MergeTarget target(actual);
  start = 0;
  while (start <= files.size()) {
    size_t end = files.find('\xFF', start);
    if (end == std::string::npos) end = files.size();
    std::string text = files.substr(start, end - start);
    krx_test::ReferenceMerge(text, expected, isLead);
    target.MergeDayText(text, isLead);
    if (actual != expected) std::abort();
    start = end + 1;
  }
  return 0;
}
