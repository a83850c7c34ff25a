#include "manager/change_pass_dlg.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "config/html_help.h"
#include "core/password_rules.h"
#include "manager/dialog_buttons.h"
#include "manager/wait_window_progress.h"
#include "records/folders.h"
#include "records/password_store.h"
#include "skin/skin_message_box.h"

namespace krx {

namespace {
constexpr int kWidth = 320, kHeight = 180;
}  // namespace

CChangePassDlg::CChangePassDlg(std::string& currentPassword, std::string userFolder, HWND parent)
    : CSkinDialog(parent), currentPassword_(currentPassword), userFolder_(std::move(userFolder)) {}

BOOL CChangePassDlg::OnInitDialog() {
  MoveWindow(0, 0, kWidth, kHeight);
  CenterWindow();
  SetWindowText(std::string(kProductName) + kChangePassTitleSuffix);
  CSkinDialog::OnInitDialog();

  const int w = GetClientRect().right;
  // The labels end at x = 120. Where the system's font sets a label wider
  // than its 100 pixels, it grows to the left instead of wrapping its last
  // word out of sight.
  auto labelLeft = [&](const char* text) {
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, NormalFont());
    SIZE extent = {0, 0};
    ::GetTextExtentPoint32A(dc, text, int(std::strlen(text)), &extent);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    return extent.cx + 2 > 100 ? std::max(4, 120 - int(extent.cx) - 2) : 20;
  };
  const struct {
    const char* label;
    CEdit& edit;
    UINT id;
    int top;
  } rows[] = {{"Old password:", old_, kOldEditId, 40}, {"New password:", new_, kNewEditId, 70},
              {"Confirm password:", confirm_, kConfirmEditId, 100}};
  for (int i = 0; i < 3; ++i) {
    const int top = rows[i].top;
    labels_[i].Create(rows[i].label, WS_CHILD | WS_VISIBLE | SS_RIGHT, RECT{labelLeft(rows[i].label), top + 2, 120, top + 18}, m_hWnd);
    labels_[i].SetFont(NormalFont());
    rows[i].edit.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL,
                        RECT{130, top, w - 20, top + 21}, m_hWnd, rows[i].id, WS_EX_CLIENTEDGE);
    rows[i].edit.SetFont(NormalFont());
    rows[i].edit.LimitText(kPasswordLimit);
  }

  CreateDialogButtons(*this, {{help_, "&Help", RECT{w - 235, 140, w - 170, 163}, kHelpId},
                              {ok_, "&OK", RECT{w - 160, 140, w - 95, 163}, IDOK},
                              {cancel_, "&Cancel", RECT{w - 85, 140, w - 20, 163}, IDCANCEL}});
  ::SetFocus(old_);
  return FALSE;  // the focus is set
}

void CChangePassDlg::OnOK() {
  WaitWindowProgress progress(m_hWnd, GetTheme());
  const std::string typedOld = old_.GetWindowText();
  switch (ChangePassword(userFolder_, currentPassword_, typedOld, new_.GetWindowText(), confirm_.GetWindowText(),
                         progress)) {
    case PasswordChangeResult::kOldPasswordWrong:
      SkinMessageBox(kOldPasswordErrorText, GetTheme());
      ::SetFocus(old_);
      old_.SetSel(0, -1);
      old_.SendMessage(EM_SCROLLCARET);
      break;
    case PasswordChangeResult::kConfirmMismatch:
      SkinMessageBox(kNewPasswordConfirmErrorText, GetTheme());
      new_.SetWindowText("");
      confirm_.SetWindowText("");
      ::SetFocus(new_);
      break;
    case PasswordChangeResult::kUnchanged:
      break;  // the same password again: nothing to do, nothing to say
    case PasswordChangeResult::kUserFileNotWritten:
      SkinMessageBox(kUserFileWriteFailedText, GetTheme());
      break;
    case PasswordChangeResult::kRecordsNotWritten:
      SkinMessageBox(kRecordFileWriteFailedText, GetTheme());
      break;
    case PasswordChangeResult::kUnchangedFilesLeftNew:
      SkinMessageBox(kUnchangedFilesLeftNewText, GetTheme());
      break;
    case PasswordChangeResult::kChangedFilesLeftOld:
      SkinMessageBox(kChangedFilesLeftOldText, GetTheme());
      EndDialog(IDOK);
      break;
    case PasswordChangeResult::kChanged:
      EndDialog(IDOK);
      break;
  }
}

bool CChangePassDlg::OnCommand(UINT id, UINT code, HWND control) {
  if (id == kHelpId) {
    ShowHelpTopic(kChangePassHelpTopic);
    return true;
  }
  return CSkinDialog::OnCommand(id, code, control);
}

}  // namespace krx
