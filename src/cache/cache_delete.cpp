// Deleting the cache files of chosen addresses, in the cache view and from
// the visit and flash logs.
#include <optional>

#include "cache/cache_entry.h"
#include "cache/cache_pump.h"
#include "cache/cache_view.h"
#include "core/cache_text.h"
#include "records/day_files.h"
#include "skin/skin_list_box.h"
#include "skin/skin_message_box.h"
#include "skin/wait_dlg.h"

namespace krx {

bool DeleteCacheEntry(const std::string& address, int theme, int64_t* size) {
  CacheEntryBuffer buffer;
  int64_t had = 0;
  if (ReadCacheEntry(address, buffer)) {
    had = EntrySize(*buffer.info());
    const std::string file = Text(buffer.info()->lpszLocalFileName);
    if (!file.empty()) DeleteFileForced(file);
  }
  if (DeleteUrlCacheEntryA(address.c_str())) {
    if (size) *size = had;
    return true;
  }
  switch (GetLastError()) {
    // Windows says "access denied" for an entry in use, Wine "sharing
    // violation": the same locked file either way.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: SkinMessageBox(kCacheLockedText, theme); break;
    case ERROR_FILE_NOT_FOUND: SkinMessageBox(CacheNotFoundText(address), theme); break;
    default: break;
  }
  return false;
}

namespace {

// A line chosen for deleting, as it was when the user said Yes.
struct ChosenLine {
  int index;
  std::string text;
};

// The window takes no input while the loop runs; the wait window, a popup
// of its own, still takes Escape.
class InputOff {
 public:
  explicit InputOff(HWND window) : window_(window), was_(window != nullptr && IsWindowEnabled(window)) {
    if (was_) EnableWindow(window_, FALSE);
  }
  ~InputOff() { Restore(); }
  // Before the wait window goes, so the activation comes back to the window.
  void Restore() {
    if (was_ && IsWindow(window_)) EnableWindow(window_, TRUE);
    was_ = false;
  }

 private:
  HWND window_;
  bool was_;
};

// Takes a deleted entry's line out of the cache list, if the list still
// lists it: a fetch may have filled it anew meanwhile. True when it went.
bool RemoveListedLine(const CacheViewControls& c, const ChosenLine& line) {
  if (!IsWindow(c.items->m_hWnd)) return false;
  if (c.viewIsCurrent && !c.viewIsCurrent()) return false;
  const int count = c.items->GetCount();
  if (line.index < count && c.items->GetText(line.index) == line.text) {
    c.items->DeleteString(line.index);
    return true;
  }
  if (!c.items->Holds(line.text)) return false;
  for (int i = count - 1; i >= 0; --i) {
    if (c.items->GetText(i) == line.text) {
      c.items->DeleteString(i);
      return true;
    }
  }
  return false;
}

// After lines went from the cache list: the totals count what it still
// lists, and the details show the focused line only while it is selected
// (the one they showed may be gone).
void ShowWhatIsLeft(const CacheViewControls& c) {
  ShowCacheTotals(c, c.items->GetCount(), ListedCacheSize(), true);
  const int focused = c.items->GetCaretIndex();
  if (focused >= 0 && focused < c.items->GetCount() && c.items->GetSel(focused) > 0) {
    ShowCacheDetails(c);
  } else if (c.details != nullptr) {
    SetWindowTextA(c.details, "");
  }
}

}  // namespace

void DeleteSelectedCacheFiles(const CacheViewControls& c, int view) {
  if (c.items == nullptr) return;
  if (view != kCacheView && view != kVisitLogView && view != kFlashLogView) return;
  const int n = c.items->GetSelCount();
  if (n <= 0) return;
  if (!SkinYesNoBox(kCacheDeleteQuestion, c.theme)) return;
  // The texts of the chosen lines are taken now. A message box below runs
  // a loop of its own, and whatever happens meanwhile (a fetch, another
  // view) must not change which entries or files are deleted.
  std::vector<ChosenLine> chosen;
  for (int index : c.items->GetSelItems()) chosen.push_back({index, c.items->GetText(index)});
  InputOff inputOff(c.owner);

  CWaitDlg wait;
  wait.SetRange(0, int(chosen.size()));
  wait.SetText(kCacheDeletingText);
  wait.SetThemeIndex(c.theme);
  wait.Create(129, c.owner);
  int step = 0;
  bool removed = false;
  // From the last selected line back, so a removed line never moves one
  // still to come.
  for (auto it = chosen.rbegin(); it != chosen.rend(); ++it) {
    if (!wait.StepAndPoll(++step)) break;
    if (c.closing && c.closing()) break;
    if (view == kCacheView) {
      int64_t size = 0;
      if (DeleteCacheEntry(it->text, c.theme, &size) && RemoveListedLine(c, *it)) {
        ListedCacheSize() = int64_t(uint64_t(ListedCacheSize()) - uint64_t(size));  // as the fetch's sum wraps
        removed = true;
      }
    } else if (view == kVisitLogView) {
      if (const auto address = CacheDeleteTarget(it->text, CacheLogView::kVisit)) DeleteCacheEntry(*address, c.theme);
    } else {
      if (const auto file = CacheDeleteTarget(it->text, CacheLogView::kFlash)) DeleteFileForced(*file);
    }
  }
  inputOff.Restore();
  wait.DestroyWindow();
  if (removed && IsWindow(c.items->m_hWnd) && (!c.viewIsCurrent || c.viewIsCurrent())) ShowWhatIsLeft(c);
}

}  // namespace krx
