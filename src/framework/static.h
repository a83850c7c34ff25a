#pragma once
// CStatic: a system static control bound to an object.
#include "framework/wnd.h"

namespace krx {

class CStatic : public CWnd {
 public:
  BOOL Create(const std::string& text, DWORD style, const RECT& rect, HWND parent, UINT id = 0xFFFF) {
    return CreateEx(0, "STATIC", text.c_str(), style, rect, parent, id);
  }
  HICON SetIcon(HICON icon) { return HICON(SendMessage(STM_SETICON, WPARAM(icon))); }
  HICON GetIcon() const { return HICON(SendMessage(STM_GETICON)); }
};

}  // namespace krx
