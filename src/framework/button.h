#pragma once
// CButton: a system button (push, check, radio, owner-drawn) bound to an
// object. Create it, or adopt a template's button with SubclassDlgItem.
#include "framework/wnd.h"

namespace krx {

class CButton : public CWnd {
 public:
  BOOL Create(const std::string& text, DWORD style, const RECT& rect, HWND parent, UINT id) {
    return CreateEx(0, "BUTTON", text.c_str(), style, rect, parent, id);
  }
  int GetCheck() const { return int(SendMessage(BM_GETCHECK)); }
  void SetCheck(int check) { SendMessage(BM_SETCHECK, WPARAM(check)); }
  UINT GetState() const { return UINT(SendMessage(BM_GETSTATE)); }
  void SetState(BOOL highlight) { SendMessage(BM_SETSTATE, WPARAM(highlight)); }
  UINT GetButtonStyle() const { return UINT(GetStyle() & 0xFF); }
  void SetButtonStyle(UINT style, BOOL redraw = TRUE) { SendMessage(BM_SETSTYLE, style, redraw); }
  HICON SetIcon(HICON icon) { return HICON(SendMessage(BM_SETIMAGE, IMAGE_ICON, LPARAM(icon))); }
  void Click() { SendMessage(BM_CLICK); }
};

}  // namespace krx
