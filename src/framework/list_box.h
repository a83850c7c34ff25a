#pragma once
// CListBox: a system list box bound to an object. Indexes are the list
// box's own (LB_ERR = -1 on failure).
#include <vector>

#include "framework/wnd.h"

namespace krx {

class CListBox : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id, DWORD exStyle = 0) {
    return CreateEx(exStyle, "LISTBOX", "", style, rect, parent, id);
  }
  int AddString(const std::string& text) { return int(SendMessage(LB_ADDSTRING, 0, LPARAM(text.c_str()))); }
  int InsertString(int index, const std::string& text) {
    return int(SendMessage(LB_INSERTSTRING, WPARAM(index), LPARAM(text.c_str())));
  }
  int DeleteString(int index) { return int(SendMessage(LB_DELETESTRING, WPARAM(index))); }
  void ResetContent() { SendMessage(LB_RESETCONTENT); }
  int GetCount() const { return int(SendMessage(LB_GETCOUNT)); }
  int GetCurSel() const { return int(SendMessage(LB_GETCURSEL)); }
  int SetCurSel(int index) { return int(SendMessage(LB_SETCURSEL, WPARAM(index))); }
  int GetSel(int index) const { return int(SendMessage(LB_GETSEL, WPARAM(index))); }
  int SetSel(int index, BOOL select = TRUE) { return int(SendMessage(LB_SETSEL, WPARAM(select), LPARAM(index))); }
  int GetSelCount() const { return int(SendMessage(LB_GETSELCOUNT)); }
  std::vector<int> GetSelItems() const;
  std::string GetText(int index) const;
  int GetTextLen(int index) const { return int(SendMessage(LB_GETTEXTLEN, WPARAM(index))); }
  int GetTopIndex() const { return int(SendMessage(LB_GETTOPINDEX)); }
  int SetTopIndex(int index) { return int(SendMessage(LB_SETTOPINDEX, WPARAM(index))); }
  int SetItemHeight(int index, int height) { return int(SendMessage(LB_SETITEMHEIGHT, WPARAM(index), height)); }
  int GetItemHeight(int index) const { return int(SendMessage(LB_GETITEMHEIGHT, WPARAM(index))); }
  DWORD_PTR GetItemData(int index) const { return DWORD_PTR(SendMessage(LB_GETITEMDATA, WPARAM(index))); }
  int SetItemData(int index, DWORD_PTR data) { return int(SendMessage(LB_SETITEMDATA, WPARAM(index), LPARAM(data))); }
  int GetItemRect(int index, RECT* rect) const { return int(SendMessage(LB_GETITEMRECT, WPARAM(index), LPARAM(rect))); }
  int FindStringExact(int startAfter, const std::string& text) const {
    return int(SendMessage(LB_FINDSTRINGEXACT, WPARAM(startAfter), LPARAM(text.c_str())));
  }
  int GetCaretIndex() const { return int(SendMessage(LB_GETCARETINDEX)); }
  int SetCaretIndex(int index, BOOL scroll = TRUE) { return int(SendMessage(LB_SETCARETINDEX, WPARAM(index), scroll)); }
  int SelItemRange(BOOL select, int first, int last) {
    return int(SendMessage(LB_SELITEMRANGE, WPARAM(select), MAKELPARAM(first, last)));
  }
  void SetRedraw(BOOL redraw) { SendMessage(WM_SETREDRAW, WPARAM(redraw)); }
};

}  // namespace krx
