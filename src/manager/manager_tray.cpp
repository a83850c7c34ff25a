// The manager window in the notification area: tray icon, tray menu, hiding
// and showing, and the keys the window handles itself.
#include "manager/manager_dlg.h"

namespace krx {

// not built yet
void CManagerDlg::BuildTrayMenu() {}
// not built yet
void CManagerDlg::AddTrayIcon() {}
// not built yet
void CManagerDlg::RemoveTrayIcon() {}
// not built yet
void CManagerDlg::OnTrayNotify(UINT) {}
// not built yet
BOOL CManagerDlg::ToggleVisibility() { return TRUE; }
// not built yet
BOOL CManagerDlg::AskPassword() { return FALSE; }
// not built yet
void CManagerDlg::OnTrayCommand(UINT) {}
// not built yet
bool CManagerDlg::PreTranslateMessage(MSG* msg) { return CSkinDialog::PreTranslateMessage(msg); }

}  // namespace krx
