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

bool DeleteCacheEntry(const std::string& address, int theme) {
  CacheEntryBuffer buffer;
  if (ReadCacheEntry(address, buffer)) {
    const std::string file = Text(buffer.info()->lpszLocalFileName);
    if (!file.empty()) DeleteFileForced(file);
  }
  if (DeleteUrlCacheEntryA(address.c_str())) return true;
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

void DeleteSelectedCacheFiles(const CacheViewControls& c, int view) {
  if (c.items == nullptr) return;
  if (view != kCacheView && view != kVisitLogView && view != kFlashLogView) return;
  const int n = c.items->GetSelCount();
  if (n <= 0) return;
  if (!SkinYesNoBox(kCacheDeleteQuestion, c.theme)) return;
  const std::vector<int> selected = c.items->GetSelItems();

  CWaitDlg wait;
  wait.SetRange(0, int(selected.size()));
  wait.SetText(kCacheDeletingText);
  wait.SetThemeIndex(c.theme);
  wait.Create(129, c.owner);
  int step = 0;
  // From the last selected line back, so a removed line never moves one
  // still to come.
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
    if (!wait.StepAndPoll(++step)) break;
    if (!IsWindow(c.items->m_hWnd)) break;
    // A message box above may have let the list change under us.
    if (*it >= c.items->GetCount()) continue;
    const std::string line = c.items->GetText(*it);
    if (view == kCacheView) {
      if (DeleteCacheEntry(line, c.theme)) c.items->DeleteString(*it);
    } else if (view == kVisitLogView) {
      if (const auto address = CacheDeleteTarget(line, CacheLogView::kVisit)) DeleteCacheEntry(*address, c.theme);
    } else {
      if (const auto file = CacheDeleteTarget(line, CacheLogView::kFlash)) DeleteFileForced(*file);
    }
  }
  wait.DestroyWindow();
}

}  // namespace krx
