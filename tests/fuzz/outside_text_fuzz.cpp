// Smaller texts that come from outside: the update check's version file
// (read in pieces from the web server), the browser cache's addresses and
// times, and the lines krxtool imports. Input: byte 0 picks the reader,
// byte 1 a number for it; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/cache_text.h"
#include "core/day_file_merge.h"
#include "core/update_rules.h"
#include "support/merge_reference.h"

namespace {
void Check(bool ok) {
  if (!ok) __builtin_trap();
}

void VersionFile(const std::string& text, uint8_t number) {
  std::string answer;
  const unsigned pieceSize = 1 + number % 32;
  for (size_t at = 0; at < text.size(); at += pieceSize) {
    size_t n = text.size() - at < pieceSize ? text.size() - at : pieceSize;
    krx::AppendVersionPiece(answer, text.data() + at, unsigned(n));
  }
  Check(answer.find('\0') == std::string::npos && answer.size() <= text.size());
  const std::string latest = krx::JudgeVersionAnswer(answer, number & 0x80 ? 200 : 404);
  Check(latest.size() < 5 && (latest.empty() || latest == answer));
  krx::UpdateVerdict verdict = krx::JudgeUpdate(latest, "www.example.com", "Kestrelix");
  Check((verdict.kind == krx::UpdateVerdict::kNoAnswer) == latest.empty());

  std::string host;
  unsigned port = 0;
  if (krx::SplitHostPort(text, host, port)) {
    Check(!host.empty() && port >= 1 && port <= 65535);
    Check(host == text || text.compare(0, host.size() + 1, host + ":") == 0);
  }
}

void CacheTexts(const std::string& text, uint8_t number) {
  std::string url = krx::CookieUrlForEntry(text);
  if (text.find('@') != std::string::npos) Check(url.compare(0, 7, "http://") == 0);
  for (krx::CacheLogView view : {krx::CacheLogView::kVisit, krx::CacheLogView::kFlash}) {
    std::optional<std::string> target = krx::CacheDeleteTarget(text, view);
    if (target) Check(text.find(*target) != std::string::npos);
  }
  uint64_t value = 0;
  std::memcpy(&value, text.data(), text.size() < 8 ? text.size() : 8);
  std::string grouped = krx::GroupDigits(value), digits;
  for (char c : grouped) {
    if (c != ',') digits += c;
  }
  Check(digits == std::to_string(value));
  // Cache times may be any 64-bit value; shift some into the usual range.
  (void)krx::CacheTimeText(int64_t(value) >> (number % 64));
  (void)krx::CacheTypeText(uint32_t(value));
}

// krxtool import: lines end at LF, a CR before it goes, empty lines are
// skipped, a line already held is not added again.
void ImportLines(const std::string& text) {
  krx::StringArray actual, expected;
  krx::MergeTarget target(actual);
  target.MergeTextLines(text);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && !krx_test::ReverseContains(expected, line)) expected.push_back(line);
    start = end + 1;
  }
  Check(actual == expected);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
  switch (data[0] % 3) {
    case 0: VersionFile(text, data[1]); break;
    case 1: CacheTexts(text, data[1]); break;
    default: ImportLines(text); break;
  }
  return 0;
}
