// The details box of the browser-cache view.
#include <vector>

#include "cache/cache_entry.h"
#include "cache/cache_view.h"
#include "core/cache_text.h"
#include "skin/skin_list_box.h"

namespace krx {

namespace {

std::string LocalTimeText(const FILETIME& time) { return CacheTimeText(EntryLocalSeconds(time)); }

// The whole cookie data of an address: its size asked first, so data of any
// length is read into a buffer that holds it.
bool ReadCookie(const std::string& url, std::string* data) {
  DWORD size = 0;
  if (!InternetGetCookieA(url.c_str(), nullptr, nullptr, &size) || size == 0) return false;
  for (int tries = 0; tries < 4; ++tries) {
    // No cookie data comes near this; a size that does is not believed.
    if (size > CacheEntryBuffer::kMaxSize) return false;
    std::vector<char> buffer(size_t(size) + 1, '\0');
    DWORD got = size;
    if (InternetGetCookieA(url.c_str(), nullptr, buffer.data(), &got)) {
      size_t n = 0;
      while (n < size && buffer[n] != '\0') ++n;
      data->assign(buffer.data(), n);
      return true;
    }
    // The cookie grew between the two calls: ask again with its new size.
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || got <= size) return false;
    size = got;
  }
  return false;
}

}  // namespace

std::string CacheDetailsOf(const std::string& address) {
  CacheEntryBuffer buffer;
  if (!ReadCacheEntry(address, buffer)) return "";
  const INTERNET_CACHE_ENTRY_INFOA& e = *buffer.info();
  CacheDetails d;
  d.sourceUrl = Text(e.lpszSourceUrlName);
  d.localFileName = Text(e.lpszLocalFileName);
  d.typeText = CacheTypeText(e.CacheEntryType);
  d.useCount = e.dwUseCount;
  d.hitRate = e.dwHitRate;
  d.size = EntrySize(e);
  d.extension = Text(e.lpszFileExtension);
  d.lastModified = LocalTimeText(e.LastModifiedTime);
  d.lastAccess = LocalTimeText(e.LastAccessTime);
  d.lastSync = LocalTimeText(e.LastSyncTime);
  CalendarTime expire;  // as stored, in UTC
  CalendarOf(e.ExpireTime, false, &expire);
  d.expire = CacheExpireText(expire);
  std::string text = CacheDetailsText(d);
  if (e.CacheEntryType & COOKIE_CACHE_ENTRY) {
    text += kCookieContentHeading;
    std::string data;
    if (ReadCookie(CookieUrlForEntry(address), &data)) text += data;
  }
  return text;
}

void ShowCacheDetails(const CacheViewControls& c) {
  if (c.items == nullptr || c.details == nullptr) return;
  if (c.items->GetCount() <= 0) return;
  const int focused = c.items->GetCaretIndex();
  if (focused < 0) return;
  SetWindowTextA(c.details, CacheDetailsOf(c.items->GetText(focused)).c_str());
}

}  // namespace krx
