// The manager window's views, the placing of its controls, sizing and
// dragging by the caption strip.
#include "manager/manager_dlg.h"

namespace krx {

void CManagerDlg::SwitchView(int) {}

void CManagerDlg::LayoutControls(int, int) {}

void CManagerDlg::OnSize(UINT) {}

void CManagerDlg::OnGetMinMaxInfo(MINMAXINFO*) {}

void CManagerDlg::OnMouse(UINT, WPARAM, LPARAM) {}

}  // namespace krx
