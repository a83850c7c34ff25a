// The manager window's records: the day files merged, the date list built,
// the record files saved.
#include "core/date_list.h"
#include "manager/manager_dlg.h"
#include "manager/wait_window_progress.h"
#include "records/record_store.h"

namespace krx {

// A merge that found day files ends with the new days in the date list and
// the chosen day topped up in the item list.
void CManagerDlg::MergeDayFiles() {
  const size_t known = dateKeys_.size();
  WaitWindowProgress progress(m_hWnd, GetTheme());
  merger_.MergeDayFiles(tmpFolder_, CurrentView(), dateKeys_, progress, [this, known] {
    AddDateKeysToList(known);
    // Before the selector exists there is no view to fill.
    if (IsView(CurrentView())) FillItemList();
  });
}

void CManagerDlg::BuildDateList() {
  const size_t known = dateKeys_.size();
  WaitWindowProgress progress(m_hWnd, GetTheme());
  krx::BuildDateList(CurrentView(), collections_, dateKeys_, progress);
  AddDateKeysToList(known);
}

// The list box sorts the keys itself; redraw waits for the last one.
void CManagerDlg::AddDateKeysToList(size_t from) {
  if (from >= dateKeys_.size() || !dateList_.m_hWnd) return;
  dateList_.SetRedraw(FALSE);
  for (size_t i = from; i < dateKeys_.size(); ++i) dateList_.AddString(dateKeys_[i]);
  dateList_.SetRedraw(TRUE);
  dateList_.Invalidate();
}

void CManagerDlg::SaveRecordFiles() { krx::SaveRecordFiles(userFolder_, password_, collections_); }

void CManagerDlg::SetStatusText(const std::string& text) {
  if (statusLine_.m_hWnd) statusLine_.SetWindowText(text);
}

}  // namespace krx
