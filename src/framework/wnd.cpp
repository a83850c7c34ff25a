#include "framework/wnd.h"

#include <commctrl.h>

#include "framework/menu.h"

namespace krx {

namespace {

// One property on every bound window holds its object.
const char kObjectProperty[] = "KrxWndObject";
constexpr UINT_PTR kSubclassId = 0x4B52;  // any fixed id; one subclass per window

bool IsCtlColor(UINT msg) { return msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC; }

// The child window a reflectable message is about, or null.
HWND ReflectionTarget(UINT msg, WPARAM, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      return HWND(lParam);
    case WM_NOTIFY:
      return lParam ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      return item && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    case WM_COMPAREITEM:
      return lParam ? reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_DELETEITEM:
      return lParam ? reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    default:
      return IsCtlColor(msg) ? HWND(lParam) : nullptr;
  }
}

}  // namespace

CWnd::~CWnd() {
  // A window must not outlive its object: it would dispatch into freed memory.
  if (m_hWnd && IsWindow(m_hWnd)) {
    HWND hwnd = m_hWnd;
    Unbind();
    ::DestroyWindow(hwnd);
  }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<CWnd*>(GetPropA(hwnd, kObjectProperty)) : nullptr;
}

bool CWnd::RegisterWndClass(const char* className, UINT classStyle, HCURSOR cursor, HBRUSH background) {
  WNDCLASSA existing;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (GetClassInfoA(instance, className, &existing)) return true;
  WNDCLASSA wc = {};
  wc.style = classStyle;
  wc.lpfnWndProc = &CWnd::ClassProc;
  wc.hInstance = instance;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  return RegisterClassA(&wc) != 0;
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* text, DWORD style, const RECT& rect,
                    HWND parent, UINT id) {
  HMENU menuOrId = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
  HWND hwnd = CreateWindowExA(exStyle, className, text, style, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, parent, menuOrId, GetModuleHandleA(nullptr), this);
  if (!hwnd) return false;
  if (m_hWnd != hwnd) SubclassWindow(hwnd);  // a system class: adopt it now
  return true;
}

bool CWnd::SubclassWindow(HWND hwnd) {
  if (!hwnd || m_hWnd || FromHandle(hwnd)) return false;
  if (!SetWindowSubclass(hwnd, &CWnd::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) return false;
  Bind(hwnd, Binding::kSubclass);
  return true;
}

bool CWnd::SubclassDlgItem(UINT id, HWND parent) { return SubclassWindow(::GetDlgItem(parent, int(id))); }

HWND CWnd::UnsubclassWindow() {
  HWND hwnd = m_hWnd;
  Unbind();
  return hwnd;
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

bool CWnd::PreTranslateMessage(MSG*) { return false; }

std::string CWnd::GetWindowText() const {
  int length = GetWindowTextLengthA(m_hWnd);
  std::string text(size_t(length) + 1, '\0');
  int got = ::GetWindowTextA(m_hWnd, &text[0], length + 1);
  text.resize(size_t(got > 0 ? got : 0));
  return text;
}

RECT CWnd::GetClientRect() const {
  RECT r = {0, 0, 0, 0};
  ::GetClientRect(m_hWnd, &r);
  return r;
}

RECT CWnd::GetWindowRect() const {
  RECT r = {0, 0, 0, 0};
  ::GetWindowRect(m_hWnd, &r);
  return r;
}

void CWnd::ModifyStyle(DWORD remove, DWORD add) {
  SetWindowLongA(m_hWnd, GWL_STYLE, LONG((GetStyle() & ~remove) | add));
}

void CWnd::CenterWindow() {
  RECT area;
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  if (GetStyle() & WS_CHILD) owner = ::GetParent(m_hWnd);
  if (owner && ::IsWindowVisible(owner) && !IsIconic(owner)) {
    ::GetWindowRect(owner, &area);
  } else {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT me = GetWindowRect();
  int w = me.right - me.left, h = me.bottom - me.top;
  POINT at = {area.left + (area.right - area.left - w) / 2, area.top + (area.bottom - area.top - h) / 2};
  if (GetStyle() & WS_CHILD) ScreenToClient(::GetParent(m_hWnd), &at);
  SetWindowPos(m_hWnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CWnd::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool CWnd::OnReflect(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CWnd::Default() {
  const Current c = current_;
  LRESULT result = 0;
  if (IsCtlColor(c.msg) && ReflectToChild(c.msg, c.wParam, c.lParam, result)) return result;
  switch (binding_) {
    case Binding::kSubclass:
      return DefSubclassProc(m_hWnd, c.msg, c.wParam, c.lParam);
    case Binding::kOwnClass:
      return DefWindowProcA(m_hWnd, c.msg, c.wParam, c.lParam);
    default:
      return 0;
  }
}

void CWnd::Bind(HWND hwnd, Binding binding) {
  m_hWnd = hwnd;
  binding_ = binding;
  SetPropA(hwnd, kObjectProperty, this);
  PreSubclassWindow();
}

void CWnd::Unbind() {
  if (!m_hWnd) return;
  if (binding_ == Binding::kSubclass) RemoveWindowSubclass(m_hWnd, &CWnd::SubclassProc, kSubclassId);
  RemovePropA(m_hWnd, kObjectProperty);
  m_hWnd = nullptr;
  binding_ = Binding::kNone;
}

bool CWnd::ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
  if ((msg == WM_DRAWITEM || msg == WM_MEASUREITEM) && CMenu::ReflectMenuMessage(msg, lParam, result)) return true;
  HWND target = ReflectionTarget(msg, wParam, lParam);
  if (msg == WM_MEASUREITEM && lParam) {
    // MEASUREITEMSTRUCT names the control only by id. A system list box asks
    // while it is being created, before it can be adopted; such controls set
    // their item height afterwards instead.
    auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
    if (item->CtlType != ODT_MENU) target = ::GetDlgItem(m_hWnd, int(item->CtlID));
  }
  CWnd* child = FromHandle(target);
  return child && child->OnReflect(msg, wParam, lParam, result);
}

LRESULT CWnd::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
  const Current saved = current_;
  current_ = {msg, wParam, lParam};
  LRESULT result = 0;
  bool handled = false;
  if (!IsCtlColor(msg)) handled = ReflectToChild(msg, wParam, lParam, result);
  if (!handled) handled = OnMessage(msg, wParam, lParam, result);
  if (!handled) result = Default();
  current_ = saved;
  if (msg == WM_NCDESTROY) {
    Unbind();
    PostNcDestroy();
  }
  return result;
}

LRESULT CALLBACK CWnd::ClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CWnd* self = FromHandle(hwnd);
  if (!self && msg == WM_NCCREATE) {
    self = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    if (self) self->Bind(hwnd, Binding::kOwnClass);
  }
  return self ? self->Dispatch(msg, wParam, lParam) : DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<CWnd*>(data);
  if (self->m_hWnd != hwnd) return DefSubclassProc(hwnd, msg, wParam, lParam);
  return self->Dispatch(msg, wParam, lParam);
}

}  // namespace krx
