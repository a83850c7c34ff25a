#include "manager/login_dlg.h"

#include <utility>

#include "config/html_help.h"
#include "core/password_rules.h"
#include "manager/dialog_buttons.h"
#include "records/folders.h"
#include "records/password_store.h"
#include "skin/skin_message_box.h"

namespace krx {

namespace {
constexpr int kWidth = 280, kHeight = 145;
constexpr RECT kPromptRect = {10, 37, 270, 52};
constexpr RECT kEditRect = {10, 60, 262, 80};
constexpr RECT kReminderRect = {10, 85, 265, 100};
constexpr RECT kHelpRect = {30, 108, 100, 130};
constexpr RECT kOkRect = {110, 108, 180, 130};
constexpr RECT kCancelRect = {190, 108, 260, 130};
}  // namespace

CLoginDlg::CLoginDlg(std::string& currentPassword, std::string userFolder, LoginPurpose purpose, HWND parent)
    : CSkinDialog(parent), currentPassword_(currentPassword), userFolder_(std::move(userFolder)), purpose_(purpose) {}

BOOL CLoginDlg::OnInitDialog() {
  MoveWindow(0, 0, kWidth, kHeight);
  CenterWindow();
  SetWindowText(std::string(kProductName) + kLoginTitleSuffix);
  CSkinDialog::OnInitDialog();

  firstUse_ = purpose_ == LoginPurpose::kStartUp && IsFirstUse(userFolder_);
  prompt_.Create(firstUse_ ? kFirstUsePromptText : kLoginPromptText, WS_CHILD | WS_VISIBLE, kPromptRect, m_hWnd);
  prompt_.SetFont(NormalFont());
  password_.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_PASSWORD, kEditRect, m_hWnd, kPasswordEditId,
                   WS_EX_CLIENTEDGE);
  password_.SetFont(NormalFont());
  password_.LimitText(kPasswordLimit);
  reminder_.Create(kRememberPasswordText, WS_CHILD | (firstUse_ ? WS_VISIBLE : 0), kReminderRect, m_hWnd);
  reminder_.SetFont(NormalFont());

  CreateDialogButtons(*this, {{help_, "&Help", kHelpRect, kHelpId},
                              {ok_, "&OK", kOkRect, IDOK},
                              {cancel_, "&Cancel", kCancelRect, IDCANCEL}});
  ::SetFocus(password_);
  return FALSE;  // the focus is set
}

void CLoginDlg::AskAgain(const char* text) {
  SkinMessageBox(text, GetTheme());
  ::SetFocus(password_);
  password_.SetSel(0, -1);
  password_.SendMessage(EM_SCROLLCARET);
}

void CLoginDlg::OnOK() {
  const std::string typed = password_.GetWindowText();
  if (purpose_ == LoginPurpose::kShowAgain) {
    if (typed == currentPassword_) {
      EndDialog(IDOK);
    } else {
      AskAgain(kIncorrectPasswordText);
    }
    return;
  }
  switch (SubmitLogin(userFolder_, typed)) {
    case LoginResult::kAccepted:
      // Only an accepted password becomes the current one: a wrong one
      // typed and then cancelled (when the window is restored from the
      // tray) would otherwise stamp the next save with it.
      currentPassword_ = typed;
      EndDialog(IDOK);
      break;
    case LoginResult::kCreateFailed:
      SkinMessageBox(kUserFileCreateFailedText, GetTheme());
      EndDialog(IDCANCEL);
      break;
    case LoginResult::kIncorrect:
      AskAgain(kIncorrectPasswordText);
      break;
    case LoginResult::kUnreadable:
      AskAgain(kUserFileReadFailedText);
      break;
  }
}

bool CLoginDlg::OnCommand(UINT id, UINT code, HWND control) {
  if (id == kHelpId) {
    ShowHelpTopic(kLoginHelpTopic);
    return true;
  }
  return CSkinDialog::OnCommand(id, code, control);
}

bool LoginAtStartup(const std::string& userFolder, std::string& currentPassword, int theme) {
  if (!LoginRequired(userFolder)) {
    currentPassword.clear();  // user.sav holds the sealed empty password
    return true;
  }
  CLoginDlg login(currentPassword, userFolder);
  login.SetThemeIndex(theme);
  return login.DoModal() == IDOK;
}

}  // namespace krx
