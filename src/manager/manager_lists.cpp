// Filling the manager window's lists; a date or a line chosen.
#include "manager/manager_dlg.h"

namespace krx {

// not built yet
void CManagerDlg::FillItemList() {}

// not built yet
void CManagerDlg::OnDateChosen() {}

// not built yet
void CManagerDlg::OnLineChosen() {}

// not built yet
void CManagerDlg::OnCacheFieldChosen() {}

// not built yet
BOOL CManagerDlg::ListContains(const CSkinListBox&, const std::string&) const { return FALSE; }

}  // namespace krx
