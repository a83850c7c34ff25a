#pragma once
// One URL cache entry at a time, read through WinINet into a buffer that
// grows when the system asks for more, and the enumeration of a container.
#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/cache_filter.h"

namespace krx {

class CacheEntryBuffer {
 public:
  CacheEntryBuffer() { Resize(kStartSize); }
  INTERNET_CACHE_ENTRY_INFOA* info() { return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(storage_.data()); }
  // The size to hand to a call; the structure's first field carries it too.
  DWORD* Prepare();
  // After ERROR_INSUFFICIENT_BUFFER: room for what the call reported; false
  // (and no room made) when that is beyond kMaxSize.
  bool Grow();

  static constexpr DWORD kStartSize = 8192;
  static constexpr DWORD kMaxSize = 1 << 20;

 private:
  void Resize(DWORD bytes);
  std::vector<uint64_t> storage_;  // 8-byte aligned for the structure
  DWORD capacity_ = 0;
  DWORD size_ = 0;
};

// FindFirstUrlCacheEntryA .. FindCloseUrlCache. Next() reads the following
// entry (the first one on the first call) into the buffer; false at the end
// or on a failure, with the system's error in error().
class CacheEnumeration {
 public:
  explicit CacheEnumeration(const char* pattern) : pattern_(pattern) {}
  ~CacheEnumeration() { Close(); }
  CacheEnumeration(const CacheEnumeration&) = delete;
  CacheEnumeration& operator=(const CacheEnumeration&) = delete;

  bool Next(CacheEntryBuffer& buffer);
  void Close();
  DWORD error() const { return error_; }

 private:
  const char* pattern_;
  HANDLE handle_ = nullptr;
  bool started_ = false;
  DWORD error_ = 0;
};

// GetUrlCacheEntryInfoA with a buffer that grows; false when the entry
// cannot be read.
bool ReadCacheEntry(const std::string& url, CacheEntryBuffer& buffer);

// A FILETIME as a calendar time, in UTC or converted to local time by the
// zone's rule at that date. False when the system cannot convert it.
bool CalendarOf(const FILETIME& time, bool local, CalendarTime* out);
// The local seconds the filter compares (LocalSeconds); a time the system
// cannot convert counts as 0, as a time before 1900 does.
int64_t EntryLocalSeconds(const FILETIME& time);

// What the filter needs of an entry; the time only of a time field.
CacheEntryFacts FactsOf(const INTERNET_CACHE_ENTRY_INFOA& entry, int field);

int64_t EntrySize(const INTERNET_CACHE_ENTRY_INFOA& entry);

// The total size of the entries the cache list lists now, as its totals line
// counts them: set by a fetch, brought down by a delete in the cache view.
int64_t& ListedCacheSize();

inline std::string Text(const char* s) { return s ? std::string(s) : std::string(); }

}  // namespace krx
