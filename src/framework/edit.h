#pragma once
// CEdit: a system edit control bound to an object.
#include "framework/wnd.h"

namespace krx {

class CEdit : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id, DWORD exStyle = 0) {
    return CreateEx(exStyle, "EDIT", "", style, rect, parent, id);
  }
  void LimitText(int chars) { SendMessage(EM_LIMITTEXT, WPARAM(chars)); }
  void SetSel(int start, int end) { SendMessage(EM_SETSEL, WPARAM(start), LPARAM(end)); }
  void SetPasswordChar(char c) { SendMessage(EM_SETPASSWORDCHAR, WPARAM(static_cast<unsigned char>(c))); }
  void SetReadOnly(BOOL readOnly) { SendMessage(EM_SETREADONLY, WPARAM(readOnly)); }
  void ReplaceSel(const std::string& text) { SendMessage(EM_REPLACESEL, TRUE, LPARAM(text.c_str())); }
};

}  // namespace krx
