#pragma once
// Fills Wine's URL cache the way the browser would: content entries with
// files, history entries, persistent cookies.
#include <windows.h>
#include <wininet.h>

#include <string>
#include <vector>

namespace cache_test {

// A UTC time as the cache stores it.
FILETIME Utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// A content entry whose file holds `size` bytes. False when the cache refused it.
bool AddEntry(const std::string& url, size_t size, const char* extension, DWORD type = NORMAL_CACHE_ENTRY,
              FILETIME expire = FILETIME{}, FILETIME modified = FILETIME{});
// "Visited: <user>@<url>", as the browser's history records a page.
bool AddHistory(const std::string& url);
std::string HistoryAddress(const std::string& url);
// A cookie with an expiry date, so it gets a cache entry.
bool AddCookie(const std::string& url, const std::string& nameValue);

// Every entry the enumeration gives for the pattern (null: all of them).
std::vector<std::string> Entries(const char* pattern);
// Removes every entry of every container (a locked one may stay).
void ClearCache();

std::string UserName();

}  // namespace cache_test
