// The cache filter's value is typed by the user and its entries come from
// the browser's cache: any value with any entry must compare sanely.
// Input: byte 0 the field, byte 1 the operator; then the value up to the
// first 0x00; then the entry: size (8 bytes), hit rate and use count (4
// each), time (8), extension (the rest).
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/cache_filter.h"

namespace {
void Check(bool ok) {
  if (!ok) __builtin_trap();
}

template <typename T>
T Take(const std::string& bytes, size_t& at) {
  T v = 0;
  size_t n = bytes.size() > at ? bytes.size() - at : 0;
  if (n > sizeof v) n = sizeof v;
  if (n) std::memcpy(&v, bytes.data() + at, n);
  at += sizeof v;
  return v;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int field = data[0] % (krx::kCacheFieldCount + 2) - 1;  // one id on each side of the list
  const int op = data[1] % (krx::kCacheOpCount + 1);
  std::string rest(reinterpret_cast<const char*>(data + 2), size - 2);
  size_t end = rest.find('\0');
  const std::string value = rest.substr(0, end);
  const std::string entryBytes = end == std::string::npos ? std::string() : rest.substr(end + 1);

  // The leading number is what atoi reads, saturated at the ends.
  long long c = std::strtoll(value.c_str(), nullptr, 10);
  if (c == LLONG_MIN) c = -LLONG_MAX;
  Check(krx::LeadingNumber(value) == c);

  int64_t seconds = -1;
  if (krx::FilterDateSeconds(value, &seconds)) Check(seconds >= 0);

  krx::CacheEntryFacts entry;
  size_t at = 0;
  entry.size = Take<int64_t>(entryBytes, at);
  entry.hitRate = Take<uint32_t>(entryBytes, at);
  entry.useCount = Take<uint32_t>(entryBytes, at);
  entry.time = Take<int64_t>(entryBytes, at);
  if (at < entryBytes.size()) entry.extension = entryBytes.substr(at);

  krx::CacheFilter filter(field, op, value);
  const bool passes = filter.Passes(entry);
  if (!filter.valid()) {
    Check(!passes);
    return 0;
  }
  // Against the same value the six operators split every entry consistently.
  auto with = [&](int o) { return krx::CacheFilter(field, o, value).Passes(entry); };
  const bool eq = with(krx::kCacheOpEqual), ge = with(krx::kCacheOpGreaterEqual), gt = with(krx::kCacheOpGreater),
             le = with(krx::kCacheOpLessEqual), lt = with(krx::kCacheOpLess), ne = with(krx::kCacheOpNotEqual);
  const bool compares = field >= krx::kCacheFieldFileSize && field < krx::kCacheFieldCount;
  if (!compares) {
    Check(eq && ge && gt && le && lt && ne);  // every entry is listed
  } else {
    Check(eq != ne && ge == (gt || eq) && le == (lt || eq) && lt == !ge && gt == !le);
  }
  return 0;
}
