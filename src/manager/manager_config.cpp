// The configuration button: the options window, with the change-password
// dialog it opens, and what its answer changes.
#include "config/integration.h"
#include "manager/change_pass_dlg.h"
#include "manager/manager_dlg.h"

namespace krx {

// The settings object doubles as the options window. OK: the chosen theme
// is taken over and the add-on registered or unregistered after its
// setting; Cancel: the theme it may have previewed is given back.
void CManagerDlg::OnConfiguration() {
  settings_.SetParentHandle(m_hWnd);
  settings_.SetThemeIndex(GetTheme());
  settings_.SetChangePasswordAction([this](HWND owner, int theme) {
    CChangePassDlg change(password_, userFolder_, owner);
    change.SetThemeIndex(theme);
    change.DoModal();
  });
  if (settings_.DoModal() == IDOK) {
    if (settings_.GetTheme() != GetTheme()) ApplyTheme(settings_.GetTheme());
    if (settings_.Get(kAddOnEnabled) == 1) {
      RegisterAddOn(GetTheme());
    } else {
      UnregisterAddOn(GetTheme());
    }
  } else {
    settings_.SetThemeIndex(GetTheme());
  }
}

}  // namespace krx
