#pragma once
// CComboBox: a system combo box bound to an object.
#include "framework/wnd.h"

namespace krx {

class CComboBox : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
    return CreateEx(0, "COMBOBOX", "", style, rect, parent, id);
  }
  int AddString(const std::string& text) { return int(SendMessage(CB_ADDSTRING, 0, LPARAM(text.c_str()))); }
  void ResetContent() { SendMessage(CB_RESETCONTENT); }
  int GetCount() const { return int(SendMessage(CB_GETCOUNT)); }
  int GetCurSel() const { return int(SendMessage(CB_GETCURSEL)); }
  int SetCurSel(int index) { return int(SendMessage(CB_SETCURSEL, WPARAM(index))); }
  std::string GetLBText(int index) const;
};

}  // namespace krx
