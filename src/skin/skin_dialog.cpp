#include "skin/skin_dialog.h"

#include "core/skin_geometry.h"
#include "framework/dialog_template.h"
#include "res/resource.h"

namespace krx {

namespace {

HFONT MakeFont(int height, int weight) {
  return CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Tahoma");
}

}  // namespace

CSkinDialog::CSkinDialog(HWND parent, UINT templateId) : CDialog(templateId, parent) {}

CSkinDialog::~CSkinDialog() { DestroyWindow(); }

const DLGTEMPLATE* CSkinDialog::FallbackTemplate() {
  // The empty skinned template: 187 x 99 units, no caption, Tahoma 9.
  static const DialogTemplate empty(WS_POPUP | WS_VISIBLE | DS_SETFONT | DS_MODALFRAME, 0, 0, 0, 187, 99, "",
                                    "Tahoma", 9);
  return empty.Get();
}

BOOL CSkinDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  windowIcon_.Reset(LoadIconResource(IDI_PROGRAM, 16, 16));
  SendMessage(WM_SETICON, ICON_BIG, LPARAM(windowIcon_.Get()));
  SendMessage(WM_SETICON, ICON_SMALL, LPARAM(windowIcon_.Get()));
  normalFont_.Reset(MakeFont(12, FW_NORMAL));
  captionFont_.Reset(MakeFont(13, FW_BOLD));

  closeButton_.SetTheme(theme_);
  const ThemeColours& colours = closeButton_.GetThemeColours();
  background_.Reset(CreateSolidBrush(colours[kThemeBackground]));

  const int R = GetClientRect().right;
  // The bar clips the close button out of its painting; the button lies
  // above it.
  captionBar_.Create("", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, RECT{0, 0, kCaptionWidth, kCaptionHeight}, m_hWnd);
  captionBar_.LoadImageResource(UINT(CaptionImageId(theme_)));
  title_.Create(GetWindowText(), WS_CHILD | WS_VISIBLE, RECT{25, 4, R - 40, 21}, captionBar_);
  title_.SetFont(captionFont_);
  title_.SetTransparent(TRUE);
  closeButton_.Create("", WS_CHILD | WS_VISIBLE | BS_FLAT, RECT{R - 21, 3, R - 3, 21}, m_hWnd, IDCANCEL);
  closeButton_.SetFont(normalFont_);
  closeButton_.SetIcon16(IDI_CLOSE);
  closeButton_.SetFlatFrame(TRUE);
  SetWindowPos(closeButton_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  captionIcon_.Create("", WS_CHILD | WS_VISIBLE | SS_ICON, RECT{4, 4, 20, 20}, captionBar_);
  captionIcon_.SetIcon(windowIcon_, 16, 16);
  return TRUE;
}

void CSkinDialog::SetTheme(int index) {
  if (index == theme_) return;
  theme_ = index;
  closeButton_.SetTheme(index);
  const ThemeColours& colours = closeButton_.GetThemeColours();
  background_.Reset(CreateSolidBrush(colours[kThemeBackground]));
  if (!m_hWnd) return;
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (auto* themed = dynamic_cast<IThemed*>(FromHandle(child))) themed->SetTheme(index);
    InvalidateRect(child, nullptr, TRUE);
  }
  title_.SetColours(colours[kThemeTitleActive], RGB(255, 255, 255));
  title_.SetText(GetWindowText());
  captionBar_.LoadImageResource(UINT(CaptionImageId(index)));
  DrawFrame();
  Invalidate(TRUE);
}

void CSkinDialog::DrawFrame() {
  if (!m_hWnd) return;
  const ThemeColours& colours = GetThemeColours(theme_);
  CWindowDC dc(m_hWnd);
  RECT w = GetWindowRect();
  RECT r = {0, 0, w.right - w.left, w.bottom - w.top};
  const COLORREF lines[3] = {colours[kThemeBorder], colours[kThemeFrameMiddle], colours[kThemeBorder]};
  for (COLORREF colour : lines) {
    CBrush brush(CreateSolidBrush(colour));
    FrameRect(dc, &r, brush);
    InflateRect(&r, -1, -1);
  }
}

bool CSkinDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_NCPAINT:
      DrawFrame();  // instead of the system's border
      result = 0;
      return true;
    case WM_WINDOWPOSCHANGED:
      result = Default();
      DrawFrame();
      return true;
    case WM_ACTIVATE:
      result = Default();
      OnActivate(wParam);
      return true;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      result = OnCtlColor(msg, HDC(wParam));
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
      OnMouse(msg, wParam, lParam);
      result = Default();
      return true;
    case WM_DESTROY:
      result = Default();
      background_.Reset();
      normalFont_.Reset();
      captionFont_.Reset();
      return true;
    default:
      return CDialog::OnMessage(msg, wParam, lParam, result);
  }
}

LRESULT CSkinDialog::OnCtlColor(UINT msg, HDC dc) {
  LRESULT answer = Default();
  // Edits and list boxes keep the system's colours.
  if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX || !background_) return answer;
  SetBkColor(dc, GetThemeColours(theme_)[kThemeBackground]);
  return LRESULT(background_.Get());
}

void CSkinDialog::OnActivate(WPARAM wParam) {
  const std::string text = GetWindowText();
  const ThemeColours& colours = GetThemeColours(theme_);
  const bool inactive = LOWORD(wParam) == WA_INACTIVE;
  if (title_.m_hWnd) {
    title_.SetColours(colours[inactive ? kThemeTitleInactive : kThemeTitleActive], RGB(255, 255, 255));
    title_.SetText(text);
  }
  DrawFrame();
}

void CSkinDialog::OnMouse(UINT msg, WPARAM wParam, LPARAM lParam) {
  const int x = short(LOWORD(lParam)), y = short(HIWORD(lParam));
  if (msg == WM_LBUTTONDOWN) {
    if (InCaptionDragArea(x, y)) dragging_ = true;
  } else if (msg == WM_LBUTTONUP) {
    dragging_ = false;
  } else if (dragging_ && wParam == MK_LBUTTON && InCaptionDragArea(x, y) && !IsZoomed(m_hWnd)) {
    // Let the system move the window, as if the bar were a caption. The
    // message wants screen coordinates.
    POINT at = {x, y};
    ClientToScreen(m_hWnd, &at);
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(at.x, at.y));
  } else {
    dragging_ = false;
  }
}

}  // namespace krx
