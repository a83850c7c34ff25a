// The manager window's colours: the theme, activation, control colours and
// the icon drawn while minimised.
#include "manager/manager_dlg.h"

namespace krx {

void CManagerDlg::ApplyTheme(int) {}

void CManagerDlg::OnActivate(WPARAM) {}

LRESULT CManagerDlg::OnCtlColor(UINT, HDC) { return Default(); }

bool CManagerDlg::OnPaintMinimised() { return false; }

}  // namespace krx
