#include "framework/wnd.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "framework/handler_fault.h"
#include "framework/menu.h"

namespace krx {

// What the layer knows of one window it has bound. For a window of one of
// our classes the class procedure is ClassProc; any other window has
// ChainProc in front of `previous` in its GWLP_WNDPROC chain.
struct WndLink {
  HWND hwnd = nullptr;
  CWnd* object = nullptr;      // null: let go; ChainProc only passes messages on
  WNDPROC previous = nullptr;  // what ChainProc calls next (not for our classes)
  int running = 0;             // messages of this window inside our procedure now
  bool ownClass = false;
  bool destroyed = false;      // WM_NCDESTROY has passed

  LRESULT CallNext(UINT msg, WPARAM wParam, LPARAM lParam) const {
    if (destroyed) return 0;  // nothing left to default to
    return ownClass ? DefWindowProcA(hwnd, msg, wParam, lParam) : CallWindowProcA(previous, hwnd, msg, wParam, lParam);
  }
};

namespace {

// Every bound window of this process by handle. Window properties would do
// the same, but under Wine each property lookup is a round trip to the
// server; this table is a hash lookup under a lock that only the wait
// window's thread ever contends for.
class LinkTable {
 public:
  LinkTable() { InitializeCriticalSection(&lock_); }
  ~LinkTable() { DeleteCriticalSection(&lock_); }
  LinkTable(const LinkTable&) = delete;
  LinkTable& operator=(const LinkTable&) = delete;

  WndLink* Find(HWND hwnd) {
    Locked hold(lock_);
    auto it = links_.find(hwnd);
    return it == links_.end() ? nullptr : it->second.get();
  }
  // The record of hwnd, a fresh one when there is none.
  WndLink* Add(HWND hwnd) {
    Locked hold(lock_);
    std::unique_ptr<WndLink>& slot = links_[hwnd];
    if (!slot) {
      slot = std::make_unique<WndLink>();
      slot->hwnd = hwnd;
    }
    return slot.get();
  }
  void Erase(HWND hwnd) {
    std::unique_ptr<WndLink> gone;  // freed outside the lock
    Locked hold(lock_);
    auto it = links_.find(hwnd);
    if (it == links_.end()) return;
    gone = std::move(it->second);
    links_.erase(it);
  }

 private:
  struct Locked {
    explicit Locked(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
    ~Locked() { LeaveCriticalSection(&cs_); }
    CRITICAL_SECTION& cs_;
  };
  CRITICAL_SECTION lock_;
  std::unordered_map<HWND, std::unique_ptr<WndLink>> links_;
};

// Never destroyed: window objects of static lifetime may let go of their
// windows after every other static is gone.
LinkTable& Links() {
  static LinkTable* table = new LinkTable;
  return *table;
}

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
  const HWND hwnd = m_hWnd;
  Unbind();
  if (hwnd && IsWindow(hwnd)) ::DestroyWindow(hwnd);
}

CWnd* CWnd::FromHandle(HWND hwnd) {
  WndLink* link = hwnd ? Links().Find(hwnd) : nullptr;
  return link ? link->object : nullptr;
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
  if (!hwnd || m_hWnd || !IsWindow(hwnd)) return false;
  // Only a window of this process can run our procedure.
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process != GetCurrentProcessId()) return false;
  WndLink* link = Links().Find(hwnd);
  if (link && (link->object || link->ownClass || link->destroyed)) return false;  // one object per window
  if (!link) {
    link = Links().Add(hwnd);
    // ANSI in, ANSI on: SetWindowLongPtrA hands back the previous procedure
    // in a form CallWindowProcA converts for, whatever its character set.
    link->previous = WNDPROC(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, LONG_PTR(&CWnd::ChainProc)));
    if (!link->previous) {
      Links().Erase(hwnd);
      return false;
    }
  }
  // else our procedure still passes this window's messages on: take them again.
  Bind(link);
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
  if (GetStyle() & WS_CHILD) {
    ScreenToClient(::GetParent(m_hWnd), &at);
  } else {
    // A window larger than its owner near the screen's edge stays on the
    // screen, its caption first: a caption above the screen cannot be
    // dragged back.
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    at.x = std::max(std::min(int(at.x), int(work.right) - w), int(work.left));
    at.y = std::max(std::min(int(at.y), int(work.bottom) - h), int(work.top));
  }
  SetWindowPos(m_hWnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CWnd::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool CWnd::OnReflect(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CWnd::Default() {
  const Current c = current_;
  LRESULT result = 0;
  if (IsCtlColor(c.msg) && ReflectToChild(c.msg, c.wParam, c.lParam, result)) return result;
  return c.link ? c.link->CallNext(c.msg, c.wParam, c.lParam) : 0;
}

void CWnd::Bind(WndLink* link) {
  link->object = this;
  link_ = link;
  m_hWnd = link->hwnd;
  PreSubclassWindow();
}

void CWnd::Unbind() {
  WndLink* link = link_;
  if (!link) return;
  link_ = nullptr;
  m_hWnd = nullptr;
  link->object = nullptr;
  LetGo(link);
}

void CWnd::LetGo(WndLink* link) {
  // Only when no message of the window is inside our procedure: the frames
  // still running read the record. The outermost one calls here again.
  if (link->object || link->running > 0) return;
  const HWND hwnd = link->hwnd;
  if (!link->ownClass && !link->destroyed && IsWindow(hwnd)) {
    // Someone chained over us (a tooltip's subclass): taking our procedure
    // out would cut them off, so it stays and passes messages on, and tries
    // again after each one.
    if (WNDPROC(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)) != &CWnd::ChainProc) return;
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, LONG_PTR(link->previous));
  }
  Links().Erase(hwnd);
}

bool CWnd::ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
  if ((msg == WM_DRAWITEM || msg == WM_MEASUREITEM) && CMenu::ReflectMenuMessage(msg, lParam, result)) return true;
  HWND target = ReflectionTarget(msg, wParam, lParam);
  if (msg == WM_MEASUREITEM && lParam) {
    // MEASUREITEMSTRUCT names the control only by id. A system list box asks
    // while it is being created, before it can be adopted; such controls set
    // their item height afterwards instead.
    auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
    if (item->CtlType != ODT_MENU) target = MeasuredChild(item->CtlID);
  }
  CWnd* child = FromHandle(target);
  return child && child->OnReflect(msg, wParam, lParam, result);
}

HWND CWnd::MeasuredChild(UINT id) const {
  // The child found last time, while it is still ours with that id; else the
  // dialog manager's search (which lists the children through the server).
  const HWND last = measuredChild_;
  if (last && ::GetParent(last) == m_hWnd && UINT(GetWindowLongPtrA(last, GWLP_ID)) == id) return last;
  measuredChild_ = ::GetDlgItem(m_hWnd, int(id));
  return measuredChild_;
}

LRESULT CWnd::Dispatch(WndLink* link, UINT msg, WPARAM wParam, LPARAM lParam) {
  const Current saved = current_;
  current_ = {link, msg, wParam, lParam};
  LRESULT result = 0;
  try {
    bool handled = false;
    if (!IsCtlColor(msg)) handled = ReflectToChild(msg, wParam, lParam, result);
    if (!handled) handled = OnMessage(msg, wParam, lParam, result);
    if (!handled) result = Default();
  } catch (...) {
    // The message counts as handled, with 0; a paint that threw is marked
    // done, or the system would ask for it again at once, and again.
    result = 0;
    if (msg == WM_PAINT) ValidateRect(link->hwnd, nullptr);
    ReportHandlerFault(link->hwnd);
  }
  current_ = saved;
  if (msg == WM_NCDESTROY && link_ == link) {
    link->destroyed = true;
    Unbind();
    PostNcDestroy();
  }
  return result;
}

LRESULT CALLBACK CWnd::ClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WndLink* link = Links().Find(hwnd);
  if (msg == WM_NCCREATE && !(link && link->object)) {
    auto* self = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    if (self && !self->m_hWnd) {
      link = Links().Add(hwnd);  // a record left by a destroyed window of the same handle is reused
      *link = WndLink();
      link->hwnd = hwnd;
      link->ownClass = true;
      self->Bind(link);
    }
  }
  if (!link || !link->ownClass || !link->object) return DefWindowProcA(hwnd, msg, wParam, lParam);
  ++link->running;
  const LRESULT result = link->object->Dispatch(link, msg, wParam, lParam);
  --link->running;
  if (msg == WM_NCDESTROY) link->destroyed = true;
  LetGo(link);
  return result;
}

LRESULT CALLBACK CWnd::ChainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WndLink* link = Links().Find(hwnd);
  if (!link) return DefWindowProcA(hwnd, msg, wParam, lParam);  // never: we leave the chain before the record
  ++link->running;
  const LRESULT result = link->object ? link->object->Dispatch(link, msg, wParam, lParam)
                                      : CallWindowProcA(link->previous, hwnd, msg, wParam, lParam);
  --link->running;
  if (msg == WM_NCDESTROY) link->destroyed = true;
  LetGo(link);
  return result;
}

}  // namespace krx
