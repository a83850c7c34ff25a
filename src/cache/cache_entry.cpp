#include "cache/cache_entry.h"

namespace krx {

DWORD* CacheEntryBuffer::Prepare() {
  size_ = capacity_;
  info()->dwStructSize = capacity_;
  return &size_;
}

void CacheEntryBuffer::Resize(DWORD bytes) {
  if (bytes < kStartSize) bytes = kStartSize;
  if (bytes > capacity_) {
    storage_.assign((bytes + 7) / 8, 0);
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
    if (error_ == ERROR_INSUFFICIENT_BUFFER) {
      buffer.Grow();
      continue;
    }
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
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    buffer.Grow();
  }
  return false;
}

bool CalendarOf(const FILETIME& time, bool local, CalendarTime* out) {
  FILETIME converted = time;
  if (local && !FileTimeToLocalFileTime(&time, &converted)) return false;
  SYSTEMTIME st;
  if (!FileTimeToSystemTime(&converted, &st)) return false;
  *out = CalendarTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
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
