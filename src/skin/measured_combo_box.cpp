#include "skin/measured_combo_box.h"

#include "skin/measured_text.h"

namespace krx {

BOOL CMeasuredComboBox::Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
  if (!CComboBox::Create(style | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, rect, parent, id)) return FALSE;
  FitItemHeights();
  return TRUE;
}

void CMeasuredComboBox::FitItemHeights() {
  if (!m_hWnd) return;
  HDC dc = ::GetDC(m_hWnd);
  HGDIOBJ font = HGDIOBJ(SendMessage(WM_GETFONT));
  HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);
  // The selection field as tall as the plain box makes it, the lines of the
  // list as tall as the font.
  SendMessage(CB_SETITEMHEIGHT, WPARAM(-1), LPARAM(metrics.tmHeight + 2));
  SendMessage(CB_SETITEMHEIGHT, 0, LPARAM(metrics.tmHeight + 2));
}

bool CMeasuredComboBox::OnReflect(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
  if (msg != WM_DRAWITEM) return false;
  const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  HDC dc = item.hDC;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemID != UINT(-1)) {
    const int length = int(SendMessage(CB_GETLBTEXTLEN, item.itemID));
    std::string text(size_t(length > 0 ? length : 0), '\0');
    if (length > 0) SendMessage(CB_GETLBTEXT, item.itemID, LPARAM(&text[0]));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(
        dc, GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const RECT& r = item.rcItem;
    DrawMeasuredLines(dc, {text}, r.left + 2, (r.top + r.bottom - metrics.tmHeight) / 2, r);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
  }
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dc, &item.rcItem);
  result = TRUE;
  return true;
}

}  // namespace krx
