// "Fetch Cache": the listing of the browser's cache into the item list.
#include <cstdint>
#include <string>
#include <vector>

#include "cache/cache_entry.h"
#include "cache/cache_pump.h"
#include "cache/cache_view.h"
#include "core/cache_filter.h"
#include "core/cache_text.h"
#include "core/list_refresh.h"
#include "skin/skin_list_box.h"

namespace krx {

namespace {

bool g_fetching = false;

// A list box that redraws costs a paint per added line; during a fetch the
// list and the totals are brought up to date a few times a second instead,
// which a person cannot tell from every line.
constexpr DWORD kRefreshMs = 100;

const char* PatternOf(CacheKind kind) {
  switch (kind) {
    // Windows compares the container prefix without regard to case; Wine
    // matches only these spellings, which mean the same on both.
    case CacheKind::kHistory: return "Visited:";
    case CacheKind::kCookies: return "Cookie:";
    default: return nullptr;
  }
}

// The filter as the controls say now: the user may change it while the
// fetch runs; it is rebuilt only when changed.
void ReadFilter(const CacheViewControls& c, CacheFilter& filter) {
  const int field = ComboSelection(c.field);
  const int op = ComboSelection(c.op);
  const std::string value = WindowText(c.value);
  if (!filter.SameAs(field, op, value)) filter = CacheFilter(field, op, value);
}

void SetStatus(const CacheViewControls& c, const std::string& text) {
  if (c.status != nullptr) SetWindowTextA(c.status, text.c_str());
}

// Redraw off for the fetch; Refresh shows what is listed so far.
class QuietList {
 public:
  explicit QuietList(CSkinListBox& list) : list_(list), off_(list) {}
  void Refresh() {
    if (!IsWindow(list_.m_hWnd)) return;
    list_.SetRedraw(TRUE);
    list_.Invalidate();
    list_.UpdateWindow();
    list_.SetRedraw(FALSE);
  }

 private:
  CSkinListBox& list_;
  CSkinListBox::RedrawOff off_;
};

struct FetchGuard {
  FetchGuard() { g_fetching = true; }
  ~FetchGuard() { g_fetching = false; }
};

}  // namespace

bool CacheFetchRunning() { return g_fetching; }

int64_t& ListedCacheSize() {
  static int64_t size = 0;
  return size;
}

void ShowCacheTotals(const CacheViewControls& c, int count, int64_t total, bool finished) {
  SetStatus(c, CacheTotalsText(count, total, finished));
}

void LoadCacheList(const CacheViewControls& c, CacheKind kind) {
  if (g_fetching || c.items == nullptr) return;
  FetchGuard guard;
  WaitCursor wait;
  if (c.details != nullptr) SetWindowTextA(c.details, "");
  c.items->ResetContent();
  int count = 0;
  int64_t& total = ListedCacheSize();
  total = 0;

  CacheFilter filter;
  ReadFilter(c, filter);
  // A time field whose value names no date would list a wrong set: say what
  // the value must be and list nothing.
  if (!filter.valid()) {
    SetStatus(c, kCacheDateHint);
    return;
  }

  if (kind != CacheKind::kNone) {
    CacheEnumeration entries(PatternOf(kind));
    CacheEntryBuffer buffer;
    QuietList quiet(*c.items);
    // The lines found since the list was last brought up to date: they go
    // in together, which spares the list box a measurement per line.
    std::vector<std::string> pending;
    ListRefresh refresh(GetTickCount(), kRefreshMs);
    // Brings the list and the status line up to date: the totals, or the
    // hint while the value typed into a time field names no date.
    auto show = [&] {
      if (!pending.empty()) c.items->AddLines(pending, false);
      pending.clear();
      if (filter.valid()) {
        ShowCacheTotals(c, count, total, false);
      } else {
        SetStatus(c, kCacheDateHint);
      }
      quiet.Refresh();
    };
    ShowCacheTotals(c, 0, 0, false);  // the fetch has begun, and how to stop it
    // Messages are looked for after the first entry and then once in every
    // tick of the system clock (1 to 16 ms): the window answers as a person
    // would expect, and a fetch of thousands does not pay a look per entry.
    DWORD drainedAt = 0;
    for (bool first = true;; first = false) {
      const DWORD tick = GetTickCount();
      if (!first && (drainedAt == 0 || tick != drainedAt)) {
        drainedAt = tick == 0 ? 1 : tick;
        const Drained drained = DrainMessages(c.owner);
        if (!IsWindow(c.owner) || !IsWindow(c.items->m_hWnd)) return;
        // The window is closing: it waits for us, and the list goes with it.
        if (c.closing && c.closing()) return;
        // The user went to another view: what it shows is not ours to touch.
        if (c.viewIsCurrent && !c.viewIsCurrent()) return;
        if (drained.escape) {
          entries.Close();
          if (!pending.empty()) c.items->AddLines(pending, false);
          c.items->UpdateHorizontalExtent();
          SetStatus(c, CacheTotalsPlainText(count, total));
          return;
        }
        // The filter controls change only through the messages just
        // dispatched: reading them for every entry would cost as much as
        // fetching it.
        if (drained.dispatched > 0) {
          const bool wasValid = filter.valid();
          ReadFilter(c, filter);
          if (filter.valid() != wasValid) refresh.Changed();
        }
        // A match followed by a long run of entries that do not match is
        // shown all the same, once its time has come.
        if (refresh.Due(GetTickCount())) show();
      }
      if (!entries.Next(buffer)) break;  // ERROR_NO_MORE_ITEMS, or an entry that cannot be read
      const INTERNET_CACHE_ENTRY_INFOA& entry = *buffer.info();
      if (!filter.Passes(FactsOf(entry, filter.field()))) continue;  // a value that names no date passes nothing
      pending.push_back(Text(entry.lpszSourceUrlName));
      ++count;
      total = int64_t(uint64_t(total) + uint64_t(EntrySize(entry)));  // wraps, never overflows
      refresh.Changed();
      if (refresh.Due(GetTickCount())) show();
    }
    if (!pending.empty()) c.items->AddLines(pending, false);
    // Lines added to a list that was not empty leave its scrolling width
    // behind: long addresses could not be scrolled to.
    c.items->UpdateHorizontalExtent();
  }
  // The value as it stands at the end decides: a date corrected during the
  // fetch takes its hint away.
  if (!filter.valid()) {
    SetStatus(c, kCacheDateHint);
  } else {
    ShowCacheTotals(c, count, total, true);
  }
}

}  // namespace krx
