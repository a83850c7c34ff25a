// Day files are written by another program: the merge must survive any
// bytes and give exactly what the plain reverse-scan merge gives, and so
// must the date list built from what was merged. A file read again as it
// grows must give what reading it whole each time gives.
// Input: byte 0 picks the lead-byte rule; the rest is split at 0xFF bytes
// into records already loaded (before the first 0xFE) and day files.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/date_list.h"
#include "core/day_file_merge.h"
#include "core/record_text.h"
#include "support/merge_reference.h"

namespace {
// Lead bytes of two kinds of double-byte code page (932-like and 936-like).
bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool GbkLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\xFF', start);
    if (end == std::string::npos) end = text.size();
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  bool (*const rules[])(unsigned char) = {nullptr, &ShiftJisLead, &GbkLead};
  bool (*isLead)(unsigned char) = rules[data[0] % 3];
  std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  size_t split = rest.find('\xFE');
  std::string loaded = split == std::string::npos ? std::string() : rest.substr(0, split);
  std::string files = split == std::string::npos ? rest : rest.substr(split + 1);

  krx::StringArray expected;
  if (!loaded.empty()) expected = Split(loaded);
  krx::StringArray actual = expected;
  krx::MergeTarget target(actual);
  for (const std::string& text : Split(files)) {
    krx_test::ReferenceMerge(text, expected, isLead);
    target.MergeDayText(text, isLead);
    if (actual != expected) std::abort();
  }

  // The same parts as one day file that grows part by part: reading only
  // what each stage gained gives what reading every stage whole gives.
  krx::StringArray whole, gained;
  krx::MergeTarget wholeTarget(whole), gainTarget(gained);
  krx::DayFileReadMark mark;
  std::string grown;
  for (const std::string& part : Split(files)) {
    grown += part;
    wholeTarget.MergeDayText(grown, isLead);
    gainTarget.MergeDayTextAfter(grown, mark, isLead);
    if (gained != whole) std::abort();
  }

  // The date list, also when it already holds a key: the plain way scans
  // the list from its last item back for each record's key.
  krx::StringArray dates, reference;
  if (!actual.empty()) dates.push_back(krx::DateKey(actual.back()));
  reference = dates;
  for (const std::string& record : actual) {
    std::string key = krx::DateKey(record);
    if (!krx_test::ReverseContains(reference, key)) reference.push_back(key);
  }
  krx::NoProgress progress;
  krx::AddDateKeys(actual, dates, progress);
  if (dates != reference) std::abort();

  for (const std::string& record : actual) {
    std::string address = krx::RecordAddress(record);
    if (record.find(address) == std::string::npos) std::abort();
  }
  return 0;
}
