// Times "Fetch Cache" under Wine: the fetch as built (redraw a few times a
// second) on 10,000 entries, beside the loop that redraws the list and the
// totals for every line, measured on 1,000. Prints figures and the ratio of
// the time per entry; asserts nothing.
//
//   wine cache_fetch_timing.exe [entries=10000] [literal entries=1000]
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cache/cache_view.h"
#include "cache_fill_win32.h"
#include "cache_host_win32.h"
#include "core/cache_filter.h"
#include "core/cache_text.h"
#include "support/window_capture_win32.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return double(to.QuadPart - from.QuadPart) / double(f.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t;
}

double Fill(int entries) {
  cache_test::ClearCache();
  const LARGE_INTEGER start = Now();
  for (int i = 0; i < entries; ++i) {
    const std::string url = "http://timing.example/" + std::to_string(i * 7919 % 100003) + "/page" +
                            std::to_string(i) + ".htm";
    if (!cache_test::AddEntry(url, 100 + i % 500, "htm")) {
      std::printf("the cache refused entry %d\n", i);
      break;
    }
  }
  return Seconds(start, Now());
}

// The fetch written line by line: every message dispatched, the list box
// repainting each line as it is added, the totals rewritten after each.
int LiteralFetch(cache_test::CacheHost& host) {
  krx::CacheViewControls c = host.Controls();
  host.items.ResetContent();
  int count = 0;
  int64_t total = 0;
  std::vector<char> buffer(8192);
  auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
  DWORD size = DWORD(buffer.size());
  info->dwStructSize = size;
  HANDLE find = FindFirstUrlCacheEntryA(nullptr, info, &size);
  bool have = find != nullptr;
  while (have) {
    const krx::CacheFilter filter(int(SendMessageA(c.field, CB_GETCURSEL, 0, 0)),
                                  int(SendMessageA(c.op, CB_GETCURSEL, 0, 0)), host.value.GetWindowText());
    if (filter.Passes(krx::CacheEntryFacts{})) {
      host.items.AddString(info->lpszSourceUrlName);
      ++count;
      total += (int64_t(info->dwSizeHigh) << 32) | info->dwSizeLow;
      SetWindowTextA(c.status, krx::CacheTotalsText(count, total, false).c_str());
      host.items.UpdateWindow();
      UpdateWindow(c.status);
    }
    MSG msg;
    while (PeekMessageA(&msg, host.m_hWnd, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    std::vector<char> fresh(8192);
    buffer.swap(fresh);
    info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
    size = DWORD(buffer.size());
    info->dwStructSize = size;
    have = FindNextUrlCacheEntryA(find, info, &size) != FALSE;
  }
  if (find) FindCloseUrlCache(find);
  SetWindowTextA(c.status, krx::CacheTotalsText(count, total, true).c_str());
  return count;
}

double TimeFetch(cache_test::CacheHost& host, bool literal, int* listed) {
  // Both start from an empty list: emptying the last listing is not fetching.
  host.items.ResetContent();
  krx_test::PumpMessages();
  const LARGE_INTEGER start = Now();
  if (literal) {
    *listed = LiteralFetch(host);
  } else {
    krx::LoadCacheList(host.Controls(), krx::CacheKind::kAll);
    *listed = host.items.GetCount();
  }
  const double s = Seconds(start, Now());
  krx_test::PumpMessages();
  return s;
}

// Where the time of a fetch goes: the enumeration alone, the list alone,
// the message check alone.
void Pieces(cache_test::CacheHost& host, int entries) {
  LARGE_INTEGER start = Now();
  const size_t n = cache_test::Entries(nullptr).size();
  std::printf("  enumeration alone: %zu entries %.3f s\n", n, Seconds(start, Now()));
  host.items.ResetContent();
  host.items.SetRedraw(FALSE);
  start = Now();
  for (int i = 0; i < entries; ++i) host.items.AddString("http://timing.example/" + std::to_string(i * 7919 % 100003));
  std::printf("  adding %d lines, redraw off: %.3f s\n", entries, Seconds(start, Now()));
  host.items.SetRedraw(TRUE);
  host.items.ResetContent();
  std::vector<std::string> lines;
  for (int i = 0; i < entries; ++i) lines.push_back("http://timing.example/" + std::to_string(i * 7919 % 100003));
  start = Now();
  host.items.AddLines(lines, false);
  std::printf("  AddLines of %d lines into the empty list: %.3f s\n", entries, Seconds(start, Now()));
  host.items.ResetContent();
  start = Now();
  {
    krx::CSkinListBox::RedrawOff off(host.items);
    for (int b = 0; b < 20; ++b) {
      host.items.AddLines(std::vector<std::string>(lines.begin() + b * entries / 20, lines.begin() + (b + 1) * entries / 20), false);
    }
  }
  std::printf("  AddLines in 20 batches: %.3f s\n", Seconds(start, Now()));
  start = Now();
  for (int r = 0; r < 20; ++r) {
    host.items.SetRedraw(TRUE);
    host.items.Invalidate();
    host.items.UpdateWindow();
    host.items.SetRedraw(FALSE);
  }
  host.items.SetRedraw(TRUE);
  std::printf("  20 refreshes of the full list: %.3f s\n", Seconds(start, Now()));
  start = Now();
  for (int r = 0; r < 1000; ++r) {
    char text[64];
    GetWindowTextA(host.value, text, sizeof text);
    SendMessageA(host.field, CB_GETCURSEL, 0, 0);
  }
  std::printf("  1000 filter reads: %.3f s\n", Seconds(start, Now()));
  host.items.ResetContent();
  start = Now();
  MSG msg;
  for (int i = 0; i < entries; ++i) PeekMessageA(&msg, host.m_hWnd, 0, 0, PM_NOREMOVE);
  std::printf("  %d message checks: %.3f s\n", entries, Seconds(start, Now()));
  start = Now();
  for (int i = 0; i < entries; ++i) GetTickCount();
  std::printf("  %d tick counts: %.3f s\n", entries, Seconds(start, Now()));
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  const int entries = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int literalEntries = argc > 2 ? std::atoi(argv[2]) : 1000;
  if (argc > 3) {  // the pieces only, on the cache as it is (filled first when empty)
    cache_test::CacheHost host;
    if (!host.Open()) return 1;
    if (cache_test::Entries(nullptr).empty()) std::printf("filling: %.2f s\n", Fill(entries));
    int listed = 0;
    host.SetFilter(krx::kCacheFieldFileSize, krx::kCacheOpLess, "0");
    std::printf("  fetch listing nothing: %.3f s\n", TimeFetch(host, false, &listed));
    host.SetFilter(0, 0, "");
    const double all = TimeFetch(host, false, &listed);
    std::printf("  fetch listing all: %.3f s, %d listed; %s\n", all, listed, host.Status().c_str());
    Pieces(host, entries);
    return 0;
  }
  cache_test::CacheHost host;
  if (!host.Open()) {
    std::printf("no window\n");
    return 1;
  }

  std::printf("filling %d entries: %.2f s\n", literalEntries, Fill(literalEntries));
  int listed = 0;
  const double literal = TimeFetch(host, true, &listed);
  std::printf("line by line, %d entries listed: %.3f s (%.1f us per entry)\n", listed, literal,
              literal * 1e6 / listed);
  const double literalPer = literal / listed;
  const double small = TimeFetch(host, false, &listed);
  std::printf("fetch,        %d entries listed: %.3f s (%.1f us per entry)\n", listed, small, small * 1e6 / listed);

  std::printf("filling %d entries: %.2f s\n", entries, Fill(entries));
  const double fast = TimeFetch(host, false, &listed);
  std::printf("fetch,        %d entries listed: %.3f s (%.1f us per entry)\n", listed, fast, fast * 1e6 / listed);
  std::printf("ratio of time per entry, line by line (%d) / fetch (%d): %.1fx\n", literalEntries, entries,
              literalPer / (fast / listed));
  std::printf("status: %s\n", host.Status().c_str());
  Pieces(host, listed);
  if (std::getenv("KRX_KEEP_CACHE") == nullptr) cache_test::ClearCache();
  return 0;
}
