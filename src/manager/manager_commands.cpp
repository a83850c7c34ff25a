// The item commands of the manager window's toolbar and bottom row.
#include "manager/manager_dlg.h"

namespace krx {

// not built yet
void CManagerDlg::OnVisitPlay() {}
// not built yet
void CManagerDlg::OnSaveFlash() {}
// not built yet
void CManagerDlg::OnDeleteItems() {}
// not built yet
void CManagerDlg::OnFind() {}
// not built yet
void CManagerDlg::OnAddToWhiteList() {}
// not built yet
void CManagerDlg::OnAddToForbiddenList() {}
// not built yet
void CManagerDlg::OnAddNewItem() {}
// not built yet
void CManagerDlg::OnUpdateItem() {}
// not built yet
void CManagerDlg::OnRefresh() {}
// not built yet
void CManagerDlg::OnHelp() {}
// not built yet
void CManagerDlg::OnSendEmail() {}
// not built yet
void CManagerDlg::OnWebSite() {}
// not built yet
void CManagerDlg::OnOnlineUpdate() {}

}  // namespace krx
