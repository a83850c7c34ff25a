#include "manager/about_dlg.h"

#include <utility>

#include "records/folders.h"

namespace krx {

namespace {
constexpr char kVersion[] = "1.30";
}  // namespace

CAboutDlg::CAboutDlg(std::string userFolder, HWND parent)
    : CSkinDialog(parent), userFolder_(std::move(userFolder)) {}

std::string CAboutDlg::VersionLine() { return std::string("Version ") + kVersion; }

const char* CAboutDlg::PurposeLine() {
  return "Keeps the logs of the Internet Explorer add-on (pages visited, popups blocked, flash and media), "
         "its white and forbidden lists, and browses the browser's cache.";
}

std::string CAboutDlg::DataLine() const {
  return "Your records, options (KRX.cfg) and password (user.sav) are kept in " + userFolder_;
}

BOOL CAboutDlg::OnInitDialog() {
  MoveWindow(0, 0, kWidth, kHeight);
  // Not the product name alone: a second start looks for the main window
  // by that title.
  SetWindowText(std::string("About ") + kProductName);
  CSkinDialog::OnInitDialog();
  CenterWindow();
  const int w = GetClientRect().right;
  const struct {
    CSkinStatic& label;
    std::string text;
    RECT rect;
    bool bold;
  } lines[] = {{name_, kProductName, RECT{20, 38, w - 20, 58}, true},
               {version_, VersionLine(), RECT{20, 60, w - 20, 76}, false},
               {purpose_, PurposeLine(), RECT{20, 84, w - 20, 116}, false},
               {data_, DataLine(), RECT{20, 120, w - 20, 152}, false}};
  for (const auto& line : lines) {
    line.label.Create(line.text, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, line.rect, m_hWnd);
    line.label.SetFont(line.bold ? CaptionFont() : NormalFont());
    line.label.SetTransparent(TRUE);
  }
  ok_.Create("&OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, RECT{w / 2 - 35, 162, w / 2 + 35, 185},
             m_hWnd, IDOK);
  ok_.SetFont(NormalFont());
  ok_.SetTheme(GetTheme());
  ::SetFocus(ok_);
  return FALSE;
}

}  // namespace krx
