// The manager window's records: the day files merged, the date list built,
// the record files saved.
#include <algorithm>

#include "config/user_notice.h"
#include "core/date_list.h"
#include "core/save_notices.h"
#include "manager/manager_dlg.h"
#include "manager/wait_window_progress.h"
#include "records/record_store.h"
#include "skin/skin_message_box.h"

namespace krx {

// A merge that found day files ends with the new days in the date list and
// the chosen day topped up in the item list; when the list had no days, the
// view chooses one as on entering it. Lines of the day files that are no
// records are told once, after the merge.
void CManagerDlg::MergeDayFiles(bool showNewRecords) {
  const size_t known = dateKeys_.size();
  WaitWindowProgress progress(m_hWnd, GetTheme());
  auto fill = [this, known, showNewRecords] {
    // Before the selector exists there is no view to fill.
    if (!showNewRecords || !IsView(CurrentView())) return;
    AddDateKeysToList(known);
    if (known == 0 && IsLogView(CurrentView())) {
      ChooseDay();
    } else {
      FillItemList();
    }
  };
  const DayFileMergeResult result = merger_.MergeDayFiles(tmpFolder_, CurrentView(), dateKeys_, progress, fill);
  const std::string notice = DayFileLinesLeftOutNotice(result.leftOut);
  if (!notice.empty()) SkinMessageBox(notice, GetTheme());
}

void CManagerDlg::BuildDateList() {
  const size_t known = dateKeys_.size();
  WaitWindowProgress progress(m_hWnd, GetTheme());
  krx::BuildDateList(CurrentView(), collections_, dateKeys_, progress);
  AddDateKeysToList(known);
}

// The date list lists days by their date, not as text: each new key goes in
// at its place with LB_INSERTSTRING (the list box never sorts what goes in
// that way), with redraw off until the last one. The chosen days move with
// their lines; a list of several selections leaves its focus and anchor
// where they were, so they are moved here.
void CManagerDlg::AddDateKeysToList(size_t from) {
  if (from >= dateKeys_.size() || !dateList_.m_hWnd) return;
  CSkinListBox::RedrawOff quiet(dateList_);
  StringArray listed;
  for (int i = 0, n = dateList_.GetCount(); i < n; ++i) listed.push_back(dateList_.GetText(i));
  int focus = listed.empty() ? -1 : dateList_.GetCaretIndex();
  int anchor = listed.empty() ? -1 : int(dateList_.SendMessage(LB_GETANCHORINDEX));
  StringArray adding(dateKeys_.begin() + std::ptrdiff_t(from), dateKeys_.end());
  std::stable_sort(adding.begin(), adding.end(), DateListLess);
  for (const std::string& key : adding) {
    const size_t at = DateListInsertIndex(listed, key);
    if (dateList_.InsertString(int(at), key) < 0) continue;
    listed.insert(listed.begin() + std::ptrdiff_t(at), key);
    if (focus >= int(at)) ++focus;
    if (anchor >= int(at)) ++anchor;
  }
  if (anchor >= 0) dateList_.SendMessage(LB_SETANCHORINDEX, WPARAM(anchor));
  if (focus >= 0) dateList_.SetCaretIndex(focus, FALSE);
}

// A record file that is there but cannot be read, or whose read threw, is
// kept untouched (no save writes over it), and the user hears of it once,
// here; so does a damaged one, with the name of the copy of its bytes. Its
// log's day files are read whole: their lines are in no record file this
// run saves.
void CManagerDlg::LoadRecordFiles() {
  const RecordLoadReport report = krx::LoadRecordFiles(userFolder_, password_, collections_);
  std::array<bool, kRecordCollectionCount> loaded{};
  std::vector<std::string> unreadable, notLoaded, damaged;
  for (int i = 0; i < kRecordCollectionCount; ++i) {
    loaded[i] = report.outcome[i] == RecordFileOutcome::kLoaded;
    if (report.outcome[i] == RecordFileOutcome::kUnreadable) unreadable.push_back(kRecordFileNames[i]);
    if (report.outcome[i] == RecordFileOutcome::kNotRead) notLoaded.push_back(kRecordFileNames[i]);
    if (report.outcome[i] == RecordFileOutcome::kDamaged) damaged.push_back(kRecordFileNames[i]);
  }
  merger_.UseSavedMarks(userFolder_, tmpFolder_, loaded);
  // The logs were read anew: their first-day indexes are built again when next asked.
  for (RecordCollection log : {kVisitRecords, kMediaRecords, kBlockRecords, kFlashRecords}) merger_.Invalidate(log);
  for (const std::string& notice :
       {UnreadableRecordsNotice(unreadable, notLoaded), DamagedRecordsNotice(damaged, report.damagedCopies)}) {
    if (!notice.empty()) TellUser(notice, GetTheme());
  }
}

// Every save also moves the day files' marks on, so a line deleted before
// it stays deleted even when the close never comes.
std::vector<std::string> CManagerDlg::SaveRecordFiles() {
  std::vector<std::string> unsaved = krx::SaveRecordFiles(userFolder_, password_, collections_);
  merger_.SaveMarks(userFolder_, tmpFolder_, unsaved);
  return unsaved;
}

bool CManagerDlg::SaveList(RecordCollection list) {
  const std::vector<std::string> unsaved = SaveRecordFiles();
  if (std::find(unsaved.begin(), unsaved.end(), kRecordFileNames[list]) == unsaved.end()) return true;
  SkinMessageBox(ListNotSavedNotice(list), GetTheme());
  return false;
}

}  // namespace krx
