#include "skin/wait_dlg.h"

namespace krx {

BOOL CWaitDlg::OnInitDialog() {
  MoveWindow(0, 0, 300, 130);
  CenterWindow();
  SetWindowText("Please Wait...");
  CSkinDialog::OnInitDialog();
  textControl_.Create(text_, WS_CHILD | WS_VISIBLE, RECT{30, 50, 270, 67}, m_hWnd);
  textControl_.SetFont(NormalFont());
  bar_.SetRange(min_, max_);
  bar_.SetBarColour(GetThemeColours(GetTheme())[kThemeShadow]);
  bar_.Create(RECT{30, 85, 270, 100}, m_hWnd);
  bar_.SetBorder(TRUE);
  CloseButton().ShowWindow(SW_HIDE);
  SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return TRUE;
}

void CWaitDlg::SetStep(int pos) {
  bar_.SetPos(pos);
  bar_.UpdateWindow();
  if (pos == max_) OnCancel();
}

bool CWaitDlg::StepAndPoll(int pos) {
  SetStep(pos);
  UpdateWindow();
  bool escape = false;
  MSG msg;
  while (m_hWnd && PeekMessageA(&msg, m_hWnd, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) escape = true;
    DispatchMessageA(&msg);
  }
  return !escape;
}

}  // namespace krx
