#pragma once
// CChangePassDlg: replaces the current password. Opened by the
// configuration dialog with its theme; the caller ignores the result.
//
//   CChangePassDlg dlg(currentPassword, UserFolder(), configDialog);
//   dlg.SetThemeIndex(theme);
//   dlg.DoModal();
#include <string>

#include "framework/edit.h"
#include "skin/mac_button.h"
#include "skin/skin_dialog.h"
#include "skin/skin_static.h"

namespace krx {

class CChangePassDlg : public CSkinDialog {
 public:
  static constexpr UINT kHelpId = 1011;
  static constexpr UINT kOldEditId = 1000;
  static constexpr UINT kNewEditId = 1001;
  static constexpr UINT kConfirmEditId = 1002;

  CChangePassDlg(std::string& currentPassword, std::string userFolder, HWND parent = nullptr);

  CEdit& OldEdit() { return old_; }
  CEdit& NewEdit() { return new_; }
  CEdit& ConfirmEdit() { return confirm_; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  std::string& currentPassword_;
  std::string userFolder_;
  CSkinStatic labels_[3];
  CEdit old_, new_, confirm_;
  CMacButton help_, ok_, cancel_;
};

}  // namespace krx
