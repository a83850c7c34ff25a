#include "skin/skin_message_dlg.h"

#include <algorithm>

#include "core/skin_geometry.h"
#include "skin/skin_message_box.h"

namespace krx {

namespace {

constexpr UINT kButtonIds[4] = {1, 2, 201, 202};

int TextWidth(HDC dc, const std::string& text) {
  SIZE size = {0, 0};
  GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
  return size.cx;
}

}  // namespace

INT_PTR CSkinMessageDlg::ShowModal(const std::string& text, int mode) {
  message_ = text;
  mode_ = mode;
  resultIndex_ = -1;
  return DoModal();
}

BOOL CSkinMessageDlg::OnInitDialog() {
  MoveWindow(0, 0, 500, 400);
  CenterWindow();
  CSkinDialog::OnInitDialog();
  CloseButton().ShowWindow(SW_HIDE);

  CClientDC dc(m_hWnd);
  CSelect useFont(dc, NormalFont());
  const int cx = TextWidth(dc, message_);
  RECT wrapped = {0, 0, kMessageMaxTextWidth, 400};
  DrawTextA(dc, message_.c_str(), int(message_.size()), &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);

  if (mode_ == kModeCustom && labels_.size() > 4) labels_.resize(4);
  std::vector<int> labelWidths;
  for (const std::string& label : labels_) labelWidths.push_back(TextWidth(dc, label));
  const MessageBoxLayout layout = LayoutMessageBox(cx, wrapped.bottom, mode_, labelWidths);
  MoveWindow(0, 0, layout.width, layout.height);
  CenterWindow();

  const Rect& t = layout.text;
  text_.Create(message_, WS_CHILD | WS_VISIBLE | SS_NOPREFIX, RECT{t.left, t.top, t.right, t.bottom}, m_hWnd);
  text_.SetMeasuredText(TRUE);  // sized to the measured extent: it must draw within it
  text_.SetFont(NormalFont());

  const char* first = "&OK";
  const char* second = "&No";
  std::string caption = "Message";
  if (mode_ == kModeYesNo) {
    first = "&Yes";
    caption = "Please select";
  } else if (mode_ == kModeRetryCancel) {
    first = "&Retry";
    second = "&Cancel";
    caption = "Please select";
  } else if (mode_ == kModeCustom) {
    first = labels_.size() > 0 ? labels_[0].c_str() : "";
    second = labels_.size() > 1 ? labels_[1].c_str() : "";
    caption = caption_;
  }
  const char* texts[4] = {first, second, labels_.size() > 2 ? labels_[2].c_str() : "",
                          labels_.size() > 3 ? labels_[3].c_str() : ""};
  const int count = mode_ == kModeCustom ? int(layout.buttons.size()) : 2;
  for (int i = 0; i < 4; ++i) {
    if (i >= 2 && i >= count) break;  // buttons 3 and 4 exist only for their labels
    RECT r = {0, 0, 0, 0};
    if (i < int(layout.buttons.size())) {
      const Rect& b = layout.buttons[size_t(i)];
      r = {b.left, b.top, b.right, b.bottom};
    }
    buttons_[i].Create(texts[i], WS_CHILD | WS_VISIBLE, r, m_hWnd, kButtonIds[i]);
    buttons_[i].SetFont(NormalFont());
    if (i >= int(layout.buttons.size())) buttons_[i].ShowWindow(SW_HIDE);
  }
  SetWindowText(caption);
  for (CMacButton& b : buttons_) b.SetTheme(GetTheme());
  return TRUE;
}

bool CSkinMessageDlg::OnCommand(UINT id, UINT, HWND) {
  for (int i = 0; i < 4; ++i) {
    if (id == kButtonIds[i]) {
      resultIndex_ = i;
      EndDialog(i == 1 ? IDCANCEL : IDOK);
      return true;
    }
  }
  return false;
}

bool CSkinMessageDlg::PreTranslateMessage(MSG* msg) {
  // Windows' own Yes/No box takes Y and N alone, wherever the focus is, as
  // Alt+Y and Alt+N; the mnemonics alone answer only while a button has
  // the focus. Only the box with those buttons: Y is no answer to Retry.
  if (mode_ == kModeYesNo && msg->message == WM_KEYDOWN && (msg->wParam == 'Y' || msg->wParam == 'N') &&
      GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
    const int index = msg->wParam == 'Y' ? 0 : 1;
    OnCommand(kButtonIds[index], BN_CLICKED, buttons_[index].m_hWnd);
    return true;
  }
  return CSkinDialog::PreTranslateMessage(msg);
}

void SkinMessageBox(const std::string& text, int theme) {
  CSkinMessageDlg dlg;
  dlg.SetThemeIndex(theme);
  dlg.ShowModal(text, kModeMessage);
}

int SkinYesNoBox(const std::string& text, int theme) {
  CSkinMessageDlg dlg;
  dlg.SetThemeIndex(theme);
  return dlg.ShowModal(text, kModeYesNo) == IDOK ? TRUE : FALSE;
}

}  // namespace krx
