#pragma once
// The browser-cache browser: lists the browser's URL cache, history or
// cookies into a list box, shows one entry's details and deletes the cache
// files of chosen addresses. The window that hosts the view hands over its
// controls for each call:
//
//   CacheViewControls c;
//   c.owner = m_hWnd;  c.items = &itemList_;  c.details = detailsBox;
//   c.status = statusLine;  c.field = combo1024;  c.op = combo1025;
//   c.value = edit1026;  c.theme = theme_;
//   LoadCacheList(c, CacheKind::kAll);       // "Fetch Cache"
//   ShowCacheDetails(c);                     // a line was chosen
//   DeleteSelectedCacheFiles(c, 184);        // "Delete cache files"
//
// The loops dispatch the owner's messages themselves (the window stays
// usable) and stop on Escape.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace krx {

class CSkinListBox;

struct CacheViewControls {
  HWND owner = nullptr;            // the window whose messages the loops dispatch
  CSkinListBox* items = nullptr;   // sorted, owner-drawn, multiple selection
  HWND details = nullptr;          // read-only multi-line edit
  HWND status = nullptr;           // status line
  HWND field = nullptr;            // filter field list ("ALL", "FileSize", ...)
  HWND op = nullptr;               // filter operator list ("=", ">=", ...)
  HWND value = nullptr;            // filter value edit
  int theme = 1;
  // While a fetch runs the user may leave the view; the fetch stops when
  // this says so, and a delete leaves the list alone. Unset: the view stays.
  std::function<bool()> viewIsCurrent;
  // True once the window is being closed: a running fetch or delete stops
  // (the close waits for it). Unset: never.
  std::function<bool()> closing;
};

// Which part of the cache a fetch lists: the radio buttons "All",
// "History", "Cookies"; kNone when none is on (nothing is listed).
enum class CacheKind { kNone, kAll, kHistory, kCookies };

// The view ids whose lines DeleteSelectedCacheFiles understands.
constexpr int kVisitLogView = 179;
constexpr int kFlashLogView = 181;
constexpr int kCacheView = 184;

// Empties the details and the list, then lists every entry of that kind that
// passes the filter. A fetch already running makes this do nothing.
void LoadCacheList(const CacheViewControls& c, CacheKind kind);
bool CacheFetchRunning();

// The status line's totals (grouped, with the MB figure; " Press ESC to
// break." while a fetch runs).
void ShowCacheTotals(const CacheViewControls& c, int count, int64_t total, bool finished);

// The details of the list's focused line, and a cookie's content.
void ShowCacheDetails(const CacheViewControls& c);
// The text it shows for one address; empty when the entry cannot be read.
std::string CacheDetailsOf(const std::string& address);

// Deletes the entry and its file; the locked-file or the not-found message
// for those two failures. True when the entry is gone; then *size (when
// given) is the size it had.
bool DeleteCacheEntry(const std::string& address, int theme, int64_t* size = nullptr);

// Asks, then deletes the cache files of the selected lines from the last to
// the first under the wait window (Escape stops). The lines are the ones
// selected when the user said Yes, whatever the list shows later; the
// window takes no input meanwhile. In the cache view a
// deleted entry's line goes, and the totals and the details follow; in the
// visit log the line's address loses its cache entry and in the flash log
// the line's file is deleted, the lines stay.
void DeleteSelectedCacheFiles(const CacheViewControls& c, int view);

}  // namespace krx
