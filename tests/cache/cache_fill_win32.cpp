#include "cache_fill_win32.h"

#include "cache/cache_entry.h"

namespace cache_test {

FILETIME Utc(int year, int month, int day, int hour, int minute, int second) {
  SYSTEMTIME st = {};
  st.wYear = WORD(year);
  st.wMonth = WORD(month);
  st.wDay = WORD(day);
  st.wHour = WORD(hour);
  st.wMinute = WORD(minute);
  st.wSecond = WORD(second);
  FILETIME ft = {};
  SystemTimeToFileTime(&st, &ft);
  return ft;
}

bool AddEntry(const std::string& url, size_t size, const char* extension, DWORD type, FILETIME expire,
              FILETIME modified) {
  char file[MAX_PATH] = {};
  if (!CreateUrlCacheEntryA(url.c_str(), DWORD(size), extension, file, 0)) return false;
  HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  std::string bytes(size, 'x');
  DWORD written = 0;
  const bool wrote = size == 0 || WriteFile(h, bytes.data(), DWORD(size), &written, nullptr);
  CloseHandle(h);
  if (!wrote) return false;
  return CommitUrlCacheEntryA(url.c_str(), file, expire, modified, type, nullptr, 0, extension, nullptr) != FALSE;
}

std::string UserName() {
  char name[256] = {};
  DWORD size = sizeof name;
  GetUserNameA(name, &size);
  return name;
}

std::string HistoryAddress(const std::string& url) { return "Visited: " + UserName() + "@" + url; }

bool AddHistory(const std::string& url) {
  const FILETIME none = {};
  return CommitUrlCacheEntryA(HistoryAddress(url).c_str(), nullptr, none, none, URLHISTORY_CACHE_ENTRY, nullptr, 0,
                              nullptr, nullptr) != FALSE;
}

bool AddCookie(const std::string& url, const std::string& nameValue) {
  const std::string data = nameValue + "; expires=Fri, 31-Dec-2037 23:59:59 GMT";
  return InternetSetCookieA(url.c_str(), nullptr, data.c_str()) != FALSE;
}

std::vector<std::string> Entries(const char* pattern) {
  std::vector<std::string> out;
  krx::CacheEnumeration entries(pattern);
  krx::CacheEntryBuffer buffer;
  while (entries.Next(buffer)) out.push_back(krx::Text(buffer.info()->lpszSourceUrlName));
  return out;
}

void ClearCache() {
  for (const char* pattern : {static_cast<const char*>(nullptr), "Visited:", "Cookie:"}) {
    for (const std::string& url : Entries(pattern)) DeleteUrlCacheEntryA(url.c_str());
  }
}

}  // namespace cache_test
