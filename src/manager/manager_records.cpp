// The manager window's records: the day files merged, the date list built,
// the record files saved.
#include "core/date_list.h"
#include "manager/manager_dlg.h"
#include "manager/wait_window_progress.h"
#include "records/record_store.h"

namespace krx {

// A merge that found day files ends with the new days in the date list and
// the chosen day topped up in the item list; when the list had no days, the
// view chooses one as on entering it.
void CManagerDlg::MergeDayFiles(bool showNewRecords) {
  const size_t known = dateKeys_.size();
  WaitWindowProgress progress(m_hWnd, GetTheme());
  merger_.MergeDayFiles(tmpFolder_, CurrentView(), dateKeys_, progress, [this, known, showNewRecords] {
    // Before the selector exists there is no view to fill.
    if (!showNewRecords || !IsView(CurrentView())) return;
    AddDateKeysToList(known);
    if (known == 0 && IsLogView(CurrentView())) {
      ChooseDay();
    } else {
      FillItemList();
    }
  });
}

void CManagerDlg::BuildDateList() {
  const size_t known = dateKeys_.size();
  WaitWindowProgress progress(m_hWnd, GetTheme());
  krx::BuildDateList(CurrentView(), collections_, dateKeys_, progress);
  AddDateKeysToList(known);
}

// The list box sorts the keys; the list's bulk fill puts them where adding
// them one by one would, with redraw off until the last one.
void CManagerDlg::AddDateKeysToList(size_t from) {
  if (from >= dateKeys_.size() || !dateList_.m_hWnd) return;
  dateList_.AddLines(StringArray(dateKeys_.begin() + std::ptrdiff_t(from), dateKeys_.end()), false);
}

void CManagerDlg::SaveRecordFiles() { krx::SaveRecordFiles(userFolder_, password_, collections_); }

}  // namespace krx
