#include "skin/skin_static.h"

#include "skin/measured_text.h"

namespace krx {

void CSkinStatic::SetColours(COLORREF text, COLORREF background) {
  textColour_ = text;
  if (transparent_) return;
  backgroundColour_ = background;
  background_.Reset(CreateSolidBrush(background));
}

void CSkinStatic::SetIcon(HICON icon, int width, int height) {
  icon_ = icon;
  iconWidth_ = width;
  iconHeight_ = height;
  transparent_ = true;
  if (m_hWnd) Invalidate();
}

void CSkinStatic::SetFont(HFONT font) {
  font_ = font;
  if (m_hWnd) CWnd::SetFont(font, TRUE);
}

void CSkinStatic::SetText(const std::string& text) {
  if (!m_hWnd) return;
  if (transparent_) {
    HWND parent = GetParent();
    RECT r = GetWindowRect();
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    InvalidateRect(parent, &r, TRUE);
  }
  SetWindowText(text);
}

bool CSkinStatic::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!measured_ || (msg != WM_PAINT && msg != WM_PRINTCLIENT)) return CStatic::OnMessage(msg, wParam, lParam, result);
  if (msg == WM_PRINTCLIENT) {
    PaintMeasuredText(HDC(wParam));
  } else {
    CPaintDC dc(m_hWnd);
    PaintMeasuredText(dc);
  }
  result = 0;
  return true;
}

void CSkinStatic::PaintMeasuredText(HDC dc) {
  const RECT client = GetClientRect();
  // The colours and brush come from the parent exactly as for the system
  // control's own painting (and reach OnReflect from there).
  HBRUSH brush = HBRUSH(::SendMessageA(GetParent(), WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(m_hWnd)));
  if (!brush) brush = GetSysColorBrush(COLOR_BTNFACE);
  FillRect(dc, &client, brush);
  if (transparent_) SetBkMode(dc, TRANSPARENT);
  CSelect useFont(dc, font_ ? font_ : GetFont());
  DrawMeasuredLines(dc, BreakTextLines(dc, GetWindowText(), client.right), 0, 0, client);
}

bool CSkinStatic::OnReflect(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  if (msg < WM_CTLCOLORMSGBOX || msg > WM_CTLCOLORSTATIC) return false;
  HDC dc = HDC(wParam);
  if (transparent_) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColour_);
    if (icon_) DrawIconEx(dc, 0, 0, icon_, iconWidth_, iconHeight_, 0, nullptr, DI_NORMAL);
    result = LRESULT(GetStockObject(NULL_BRUSH));
    return true;
  }
  if (!background_) return false;  // never coloured: the parent decides
  SetBkMode(dc, OPAQUE);
  SetTextColor(dc, textColour_);
  SetBkColor(dc, backgroundColour_);
  result = LRESULT(background_.Get());
  return true;
}

}  // namespace krx
