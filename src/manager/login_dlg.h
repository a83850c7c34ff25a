#pragma once
// CLoginDlg: asks for the password at start-up (and when the manager window
// is restored, if so set), or on first use has the user choose one.
//
//   CLoginDlg login(currentPassword, UserFolder());
//   login.SetThemeIndex(theme);
//   if (login.DoModal() != IDOK) return;  // the program ends
#include <string>

#include "framework/edit.h"
#include "skin/mac_button.h"
#include "skin/skin_dialog.h"
#include "skin/skin_static.h"

namespace krx {

// At start-up the login checks user.sav (or creates it on first use). When
// the manager window comes back from the tray, the session is already
// logged in: the typed text is checked against the password it logged in
// with, and neither user.sav nor the current password changes - removing
// or replacing user.sav meanwhile lets nobody in.
enum class LoginPurpose { kStartUp, kShowAgain };

class CLoginDlg : public CSkinDialog {
 public:
  static constexpr UINT kHelpId = 101;
  static constexpr UINT kPasswordEditId = 1000;

  // At start-up, currentPassword is set to what was typed once the login is
  // accepted; when showing again, it is what the typed text must equal.
  CLoginDlg(std::string& currentPassword, std::string userFolder, LoginPurpose purpose = LoginPurpose::kStartUp,
            HWND parent = nullptr);

  // Chosen when the dialog opens: no user.sav yet.
  bool IsFirstUseMode() const { return firstUse_; }

  // For tests and the manager window.
  CSkinStatic& Prompt() { return prompt_; }
  CSkinStatic& Reminder() { return reminder_; }
  CEdit& PasswordEdit() { return password_; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  void AskAgain(const char* text);

  std::string& currentPassword_;
  std::string userFolder_;
  LoginPurpose purpose_;
  bool firstUse_ = false;
  CSkinStatic prompt_;
  CEdit password_;
  CSkinStatic reminder_;
  CMacButton help_;
  CMacButton ok_;
  CMacButton cancel_;
};

// The start-up check and login: true when the program may go on to the
// manager window (no password set, or the login ended with OK). The dialog
// takes the theme of the settings.
bool LoginAtStartup(const std::string& userFolder, std::string& currentPassword, int theme);

}  // namespace krx
