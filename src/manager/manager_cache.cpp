// The manager window's browser-cache view.
#include "manager/manager_dlg.h"

namespace krx {

// not built yet
void CManagerDlg::LoadCacheList() {}
// not built yet
void CManagerDlg::ShowCacheDetails() {}
// not built yet
void CManagerDlg::DeleteSelectedCacheFiles() {}

}  // namespace krx
