#pragma once
// CWnd: one C++ object bound to one HWND.
//
// How a window gets its object (wnd.cpp keeps the bindings):
//   - windows of our own classes (RegisterWndClass + CreateEx) receive `this`
//     through lpCreateParams and are bound at WM_NCCREATE;
//   - system controls created with CreateEx, or adopted with SubclassWindow /
//     SubclassDlgItem, get our procedure in front of theirs (GWLP_WNDPROC,
//     the previous procedure called with CallWindowProcA);
//   - dialogs (CDialog) are bound at WM_INITDIALOG and subclassed the same way.
// One table of this process maps each bound window to its object;
// FromHandle(hwnd) reads it. The binding is cleared at WM_NCDESTROY.
// Letting go of a window another subclasser has chained over leaves our
// procedure in place, passing messages on, until it can leave the chain.
// Our procedure is ANSI: handlers get ANSI text whatever the sender used.
//
// Messages: override OnMessage with a plain switch; return true when the
// message is handled and leave the answer in `result`. Unhandled messages go
// to Default(): DefWindowProc, or the subclassed window's previous procedure
// (which for a dialog is the dialog manager). A handler may also call
// Default() itself first and then add to it. Once the window is destroyed
// (a handler may destroy it), Default() answers 0.
//
// Reflection (owner-drawn and self-colouring controls): WM_COMMAND (by the
// control handle in lParam), WM_NOTIFY (by hwndFrom), WM_DRAWITEM,
// WM_MEASUREITEM, WM_COMPAREITEM and WM_DELETEITEM (by the item's window) are
// offered to the child's OnReflect first; if the child handles them the
// parent never sees them. WM_CTLCOLOR* goes to the parent's OnMessage first;
// the parent's Default() offers it to the child's OnReflect and only then to
// the system, so a parent can take the child's answer and adjust it.
// Owner-drawn menu items reach the CMenu that owns them (menu.h).
#include <windows.h>

#include <string>

namespace krx {

struct WndLink;  // the layer's record of one bound window (wnd.cpp)

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;
  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }

  // The object bound to a window, or null.
  static CWnd* FromHandle(HWND hwnd);

  // Registers a window class whose procedure dispatches to CWnd objects.
  // Returns false only when the class cannot be registered.
  static bool RegisterWndClass(const char* className, UINT classStyle, HCURSOR cursor = nullptr,
                               HBRUSH background = nullptr);

  // Creates a window of any class and binds it to this object: a class from
  // RegisterWndClass directly, any other class (system controls) by
  // subclassing. `rect` is in the parent's client coordinates.
  bool CreateEx(DWORD exStyle, const char* className, const char* text, DWORD style, const RECT& rect,
                HWND parent, UINT id);

  // Adopts an existing window (e.g. a control of a dialog template).
  bool SubclassWindow(HWND hwnd);
  bool SubclassDlgItem(UINT id, HWND parent);
  // Releases the binding without destroying the window.
  HWND UnsubclassWindow();

  // Destroys the window; the binding goes with it.
  BOOL DestroyWindow();

  // Called for every message while pre-translated in our modal loop, from
  // the target window up to the dialog. Return true to swallow the message.
  virtual bool PreTranslateMessage(MSG* msg);

  // --- thin wrappers (only those the program uses) ---
  std::string GetWindowText() const;
  void SetWindowText(const std::string& text) { ::SetWindowTextA(m_hWnd, text.c_str()); }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  HWND GetParent() const { return ::GetParent(m_hWnd); }
  BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
  void MoveWindow(const RECT& r, BOOL repaint = TRUE) {
    ::MoveWindow(m_hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, repaint);
  }
  void MoveWindow(int x, int y, int w, int h, BOOL repaint = TRUE) { ::MoveWindow(m_hWnd, x, y, w, h, repaint); }
  RECT GetClientRect() const;
  RECT GetWindowRect() const;
  void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
  void UpdateWindow() { ::UpdateWindow(m_hWnd); }
  LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageA(m_hWnd, msg, w, l); }
  BOOL PostMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return ::PostMessageA(m_hWnd, msg, w, l); }
  void SetFont(HFONT font, BOOL redraw = TRUE) { SendMessage(WM_SETFONT, WPARAM(font), redraw); }
  HFONT GetFont() const { return HFONT(SendMessage(WM_GETFONT)); }
  DWORD GetStyle() const { return DWORD(GetWindowLongA(m_hWnd, GWL_STYLE)); }
  void ModifyStyle(DWORD remove, DWORD add);
  // Centres on the owner (or the screen when it has none).
  void CenterWindow();

 protected:
  // The message handler of each class. See the top of this file.
  virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // A message the parent reflected to this child (WM_DRAWITEM, WM_COMMAND,
  // WM_CTLCOLOR*, ... with the parent's wParam and lParam).
  virtual bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Default processing of the message being handled now.
  LRESULT Default();
  // Called right after the window is bound to this object (at WM_NCCREATE,
  // subclassing or WM_INITDIALOG): the place to adjust its style.
  virtual void PreSubclassWindow() {}
  // Called after WM_NCDESTROY, when the object is no longer bound.
  virtual void PostNcDestroy() {}

 private:
  struct Current {
    WndLink* link;  // null outside a message of the window: Default() answers 0
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
  };

  static LRESULT CALLBACK ClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ChainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void Bind(WndLink* link);
  void Unbind();
  static void LetGo(WndLink* link);
  LRESULT Dispatch(WndLink* link, UINT msg, WPARAM wParam, LPARAM lParam);
  bool ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) const;
  HWND MeasuredChild(UINT id) const;

  WndLink* link_ = nullptr;
  Current current_ = {nullptr, 0, 0, 0};
  // The child that answered the last WM_MEASUREITEM: a list filled line by
  // line asks once per line, and finding a child by id asks the server.
  mutable HWND measuredChild_ = nullptr;

  friend class CDialog;
};

}  // namespace krx
