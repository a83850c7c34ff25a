// The configuration button and the About box.
#include "manager/manager_dlg.h"

namespace krx {

void CManagerDlg::OnConfiguration() {}

void CManagerDlg::OnAbout() {}

}  // namespace krx
