#include "cache/cache_entry.h"

namespace krx {

DWORD* CacheEntryBuffer::Prepare() {
  size_ = capacity_;
  info()->dwStructSize = capacity_;
  return &size_;
}

bool CacheEntryBuffer::Grow() {
  // An entry is an address, a file name and some header text; a size far
  // beyond that is a damaged index, and near 4 GB it would wrap below.
  if (size_ > kMaxSize) return false;
  Resize(size_);
  return true;
}

void CacheEntryBuffer::Resize(DWORD bytes) {
  if (bytes < kStartSize) bytes = kStartSize;
  if (bytes > capacity_) {
    storage_.assign((size_t(bytes) + 7) / 8, 0);
    capacity_ = bytes;
  }
}

bool CacheEnumeration::Next(CacheEntryBuffer& buffer) {
  for (int tries = 0; tries < 4; ++tries) {
    BOOL ok;
    if (!started_) {
      handle_ = FindFirstUrlCacheEntryA(pattern_, buffer.info(), buffer.Prepare());
      ok = handle_ != nullptr;
    } else {
      ok = handle_ != nullptr && FindNextUrlCacheEntryA(handle_, buffer.info(), buffer.Prepare());
    }
    if (ok) {
      started_ = true;
      return true;
    }
    error_ = GetLastError();
    // A short buffer does not move the enumeration on: the same call again
    // with the size it asked for.
    // An entry too large to hold cannot be stepped over (the enumeration
    // moves on only by reading it): the listing ends there, as it does at
    // an entry that cannot be read.
    if (error_ == ERROR_INSUFFICIENT_BUFFER && buffer.Grow()) continue;
    started_ = true;
    return false;
  }
  started_ = true;
  return false;  // the system keeps asking for more than it said: give up
}

void CacheEnumeration::Close() {
  if (handle_ != nullptr) FindCloseUrlCache(handle_);
  handle_ = nullptr;
}

bool ReadCacheEntry(const std::string& url, CacheEntryBuffer& buffer) {
  for (int tries = 0; tries < 4; ++tries) {
    if (GetUrlCacheEntryInfoA(url.c_str(), buffer.info(), buffer.Prepare())) return true;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || !buffer.Grow()) return false;
  }
  return false;
}

bool CalendarOf(const FILETIME& time, bool local, CalendarTime* out) {
  SYSTEMTIME st;
  if (!FileTimeToSystemTime(&time, &st)) return false;
  // The zone's rule in force at the entry's own date: a summer time seen in
  // winter is an hour away from what the offset of today would give.
  // Times before 1900 count as 0 whatever the zone (the cache's empty
  // times are 1601, where a zone west of UTC has no local time at all).
  SYSTEMTIME converted = st;
  if (local && st.wYear >= 1900 && !SystemTimeToTzSpecificLocalTime(nullptr, &st, &converted)) return false;
  *out = CalendarTime{converted.wYear, converted.wMonth, converted.wDay, converted.wHour, converted.wMinute,
                      converted.wSecond};
  return true;
}

int64_t EntryLocalSeconds(const FILETIME& time) {
  CalendarTime local;
  if (!CalendarOf(time, true, &local)) return 0;
  return LocalSeconds(local);
}

int64_t EntrySize(const INTERNET_CACHE_ENTRY_INFOA& entry) {
  return int64_t((uint64_t(entry.dwSizeHigh) << 32) | entry.dwSizeLow);
}

CacheEntryFacts FactsOf(const INTERNET_CACHE_ENTRY_INFOA& entry, int field) {
  CacheEntryFacts facts;
  facts.size = EntrySize(entry);
  facts.hitRate = entry.dwHitRate;
  facts.useCount = entry.dwUseCount;
  if (field == kCacheFieldFileExtension) facts.extension = Text(entry.lpszFileExtension);
  switch (field) {
    case kCacheFieldLastModifiedTime: facts.time = EntryLocalSeconds(entry.LastModifiedTime); break;
    case kCacheFieldLastAccessTime: facts.time = EntryLocalSeconds(entry.LastAccessTime); break;
    case kCacheFieldLastSyncTime: facts.time = EntryLocalSeconds(entry.LastSyncTime); break;
    case kCacheFieldExpireTime: facts.time = EntryLocalSeconds(entry.ExpireTime); break;
    default: break;
  }
  return facts;
}

}  // namespace krx
