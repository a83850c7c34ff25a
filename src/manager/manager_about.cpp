// The About box.
#include "manager/about_dlg.h"
#include "manager/manager_dlg.h"

namespace krx {

void CManagerDlg::OnAbout() {
  CAboutDlg about(userFolder_, m_hWnd);
  about.SetThemeIndex(GetTheme());
  about.DoModal();
}

}  // namespace krx
