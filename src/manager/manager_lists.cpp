// Filling the manager window's lists; a date or a line chosen.
#include "core/chosen_days.h"
#include "core/item_list.h"
#include "core/item_text.h"
#include "core/quick_filter.h"
#include "framework/wait_cursor.h"
#include "manager/manager_dlg.h"

namespace krx {

// A log view lists the chosen day (nothing without one); the white and
// forbidden lists list everything once. A refresh calls this on a list
// that is not empty and only tops it up. Several chosen days are listed
// day by day, each day's lines in the list's order, and always whole: a
// line topped up could not find its place among the days.
void CManagerDlg::FillItemList() {
  WaitCursor wait;
  const int view = CurrentView();
  const StringArray days = ChosenDays();
  if (IsLogView(view) && days.empty()) return;
  {
    CSkinListBox::RedrawOff quiet(itemList_);
    // A top-up goes into the whole list; the filter then picks from it anew.
    ShowWholeList();
    RecordCollection collection = kVisitRecords;
    if (CollectionOfView(view, collection) && days.size() > 1) {
      itemList_.ResetContent();
      itemList_.AppendBlocks(ItemListLinesOfDays(collections_[collection], days));
    } else if (CollectionOfView(view, collection)) {
      const bool wasEmpty = itemList_.GetCount() == 0;
      const std::string date = days.empty() ? std::string() : days.front();
      itemList_.AddLines(ItemListLines(view, collections_[collection], date), SkipsHeldLines(view, wasEmpty));
    }
    itemList_.UpdateHorizontalExtent();
  }
  if (filterShown_ && !quickFilter_.GetWindowText().empty()) {
    ApplyQuickFilter();
  } else {
    RefreshStatusText();
  }
}

// The count always agrees with the list: after a fill and after every
// command that adds or removes lines. The cache view writes its own totals.
void CManagerDlg::RefreshStatusText() {
  const int view = CurrentView();
  const StringArray days = ChosenDays();
  if (IsLogView(view) && days.empty()) return;
  if (filterOn_) {
    SetStatusText(QuickFilterStatusText(quickFilter_.GetWindowText(), size_t(itemList_.GetCount()), wholeLines_.size()));
    return;
  }
  const std::optional<std::string> status = ItemListStatusTextOfDays(view, days, size_t(itemList_.GetCount()));
  if (status) SetStatusText(*status);
}

void CManagerDlg::OnDateChosen() {
  RememberChosenDay();
  ListChosenDay();
}

void CManagerDlg::ListChosenDay() {
  CSkinListBox::RedrawOff quiet(itemList_);
  itemList_.ResetContent();
  ForgetWholeList();
  FillItemList();
}

void CManagerDlg::OnLineChosen() {
  const int line = itemList_.GetCurSel();
  if (itemList_.GetCount() == 0 || line < 0) return;
  const int view = CurrentView();
  if (IsListView(view)) {
    inputBox_.SetWindowText(itemList_.GetText(line));  // ready for "Update item"
  } else if (view == IDC_TAB_FLASH) {
    flash_.SetBackgroundColour(RGB(255, 255, 255));
    const std::string file = FlashFile(itemList_.GetText(line));
    const FlashSource source = FlashSourceOf(file);
    // A refused line also takes the last movie away: what plays is never
    // mistaken for this line's.
    flash_.LoadMovie(source == FlashSource::kLocalFile || source == FlashSource::kWebAddress ? file : std::string());
    if (source == FlashSource::kRefused) SetStatusText(kFlashRefusedText);
  } else if (view == IDC_TAB_CACHE) {
    ShowCacheDetails();
  }
}

void CManagerDlg::OnCacheFieldChosen() {
  const CacheFieldControls controls = CacheFieldChosen(cacheField_.GetCurSel());
  cacheOperator_.EnableWindow(controls.enabled);
  cacheValue_.EnableWindow(controls.enabled);
  if (controls.valueText) cacheValue_.SetWindowText(controls.valueText);
}

// The list answers from the set that mirrors its lines: the same answer as
// comparing every line from the last to the first, without the scan.
BOOL CManagerDlg::ListContains(const CSkinListBox& list, const std::string& text) const {
  return list.Holds(text) ? TRUE : FALSE;
}

}  // namespace krx
