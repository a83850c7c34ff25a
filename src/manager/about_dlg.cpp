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

const char* CAboutDlg::DataLine() {
  return "Your records, your options (KRX.cfg) and your sealed password (user.sav) are kept in this folder:";
}

BOOL CAboutDlg::OnInitDialog() {
  MoveWindow(0, 0, kWidth, kHeight);
  // Not the product name alone: a second start looks for the main window
  // by that title.
  SetWindowText(std::string("About ") + kProductName);
  CSkinDialog::OnInitDialog();
  CenterWindow();
  const int w = GetClientRect().right;
  nameFont_.Reset(CreateFontA(-18, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma"));
  const struct {
    CSkinStatic& label;
    std::string text;
    RECT rect;
    HFONT font;
  } lines[] = {{name_, kProductName, RECT{20, 36, w - 20, 60}, nameFont_},
               {version_, VersionLine(), RECT{20, 62, w - 20, 78}, NormalFont()},
               {purpose_, PurposeLine(), RECT{20, 86, w - 20, 134}, NormalFont()},
               {data_, DataLine(), RECT{20, 140, w - 20, 172}, NormalFont()},
               {folder_, userFolder_, RECT{20, 174, w - 20, 190}, NormalFont()}};
  for (const auto& line : lines) {
    // A long folder is shortened in its middle rather than cut off.
    const DWORD ellipsis = &line.label == &folder_ ? SS_PATHELLIPSIS : 0;
    line.label.Create(line.text, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | ellipsis, line.rect, m_hWnd);
    line.label.SetFont(line.font);
    line.label.SetTransparent(TRUE);
  }
  ok_.Create("&OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, RECT{w / 2 - 35, 200, w / 2 + 35, 223},
             m_hWnd, IDOK);
  ok_.SetFont(NormalFont());
  ok_.SetTheme(GetTheme());
  ::SetFocus(ok_);
  return FALSE;
}

}  // namespace krx
