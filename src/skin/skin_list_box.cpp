#include "skin/skin_list_box.h"

#include <algorithm>
#include <vector>

#include "core/list_box_geometry.h"
#include "framework/gdi.h"
#include "skin/glyph_painter.h"

namespace krx {

BOOL CSkinListBox::Create(DWORD style, const RECT& rect, HWND parent, UINT id, DWORD exStyle) {
  if (!CListBox::Create(style, rect, parent, id, exStyle)) return FALSE;
  ApplyFixedHeight();
  return TRUE;
}

BOOL CSkinListBox::SubclassDlgItem(UINT id, HWND parent) {
  if (!CWnd::SubclassDlgItem(id, parent)) return FALSE;
  ApplyFixedHeight();
  return TRUE;
}

void CSkinListBox::ApplyFixedHeight() {
  if (!(GetStyle() & LBS_OWNERDRAWFIXED)) return;
  CListBox::SetItemHeight(0, ListItemHeight(itemHeight_, MeasureText("W")));
}

void CSkinListBox::SetItemHeight(int height) {
  itemHeight_ = height;
  if (m_hWnd) ApplyFixedHeight();
}

int CSkinListBox::SelectAlone(int index) {
  SetSel(-1, FALSE);
  if (index < 0 || index >= GetCount()) return LB_ERR;
  SetSel(index, TRUE);
  SendMessage(LB_SETANCHORINDEX, WPARAM(index));
  SetCaretIndex(index, TRUE);
  return index;
}

void CSkinListBox::ResetContent() {
  CListBox::ResetContent();
  lastSelection_ = -1;
}

int CSkinListBox::MeasureText(const std::string& text) const {
  // Measured with the plain DC's font, not the list box's: the height that
  // results is what the list has always had.
  CClientDC dc(m_hWnd);
  const std::string sample = text.empty() ? std::string("W") : text;
  SIZE size = {0, 0};
  GetTextExtentPoint32A(dc, sample.c_str(), int(sample.size()), &size);
  return size.cy;
}

void CSkinListBox::UpdateHorizontalExtent() {
  if (extentCurrent_) return;
  CClientDC dc(m_hWnd);
  CSelect useFont(dc, GetFont());
  std::vector<int> widths;
  const int count = GetCount();
  widths.reserve(size_t(count > 0 ? count : 0));
  for (int i = 0; i < count; ++i) {
    std::string text = GetText(i);
    std::replace(text.begin(), text.end(), '\t', ' ');  // as DrawItem draws it
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
    widths.push_back(size.cx);
  }
  SendMessage(LB_SETHORIZONTALEXTENT, WPARAM(ListHorizontalExtent(widths)));
}

void CSkinListBox::MeasureItem(MEASUREITEMSTRUCT& item) {
  if (bulkItemHeight_ > 0) {
    item.itemHeight = UINT(bulkItemHeight_);
    return;
  }
  std::string text;
  if (item.itemID != UINT(-1) && int(item.itemID) < GetCount()) text = GetText(int(item.itemID));
  item.itemHeight = UINT(ListItemHeight(itemHeight_, MeasureText(text)));
}

void CSkinListBox::DrawItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == UINT(-1)) return;  // an empty list draws nothing
  HDC dc = item.hDC;
  CSaveDC saved(dc);
  const RECT r = item.rcItem;
  if (item.itemState & ODS_SELECTED) {
    SetTextColor(dc, selectionText_);
    SetBkColor(dc, selectionBack_);
    CBrush back(CreateSolidBrush(selectionBack_));
    FillRect(dc, &r, back);
    CBrush frame(CreateSolidBrush(selectionFrame_));
    FrameRect(dc, &r, frame);
  } else {
    CBrush back(CreateSolidBrush(background_));
    FillRect(dc, &r, back);
  }
  std::string text = GetText(int(item.itemID));
  if (text.empty()) return;
  // A tab inside a line is a blank here: a single line has no tab stops,
  // and the font would draw its box.
  std::replace(text.begin(), text.end(), '\t', ' ');
  RECT textRect = ToRECT(ListItemTextRect(ToPixelRect(r)));
  DrawTextA(dc, text.c_str(), int(text.size()), &textRect, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
}

bool CSkinListBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == WM_LBUTTONDOWN) lastSelection_ = GetCurSel();
  // Whoever sends it (this program or another), LB_SETCURSEL chooses the
  // line alone in a list of several selections too, where the list box
  // itself would refuse it.
  if (msg == LB_SETCURSEL && (GetStyle() & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL))) {
    result = SelectAlone(int(wParam));
    return true;
  }
  return MirrorMessage(msg, wParam, lParam, result);
}

bool CSkinListBox::OnReflect(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
    case WM_MEASUREITEM:
      MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
    default:
      return false;
  }
}

}  // namespace krx
