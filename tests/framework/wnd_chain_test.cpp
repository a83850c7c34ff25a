// The window layer's own subclass chain: other subclassers on the same
// window, letting go in either order, destruction and modal loops inside a
// handler, the character set, and a tooltip's subclass after the layer
// lets go.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/dialog_template.h"
#include "framework/handler_fault.h"
#include "framework/wnd.h"
#include "support/window_capture_win32.h"

namespace {

using krx::CWnd;
using Log = std::vector<std::string>;

constexpr UINT kProbe = WM_APP + 1;
Log g_seen;

void Seen(const char* who, WPARAM w) { g_seen.push_back(std::string(who) + ":" + std::to_string(w)); }

// A subclasser that knows nothing of the layer: replaces the procedure and,
// when it goes, puts back what it found, as most code does.
struct RawLayer {
  static inline WNDPROC previous = nullptr;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kProbe) Seen("raw", wParam);
    return CallWindowProcA(previous, hwnd, msg, wParam, lParam);
  }
  static void Install(HWND hwnd) { previous = WNDPROC(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, LONG_PTR(&Proc))); }
  static void Remove(HWND hwnd) { SetWindowLongPtrA(hwnd, GWLP_WNDPROC, LONG_PTR(previous)); }
};

// comctl32's subclassing, as a tooltip uses it; it makes the window Unicode.
struct ComctlLayer {
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == kProbe) Seen("comctl", wParam);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
  }
  static void Install(HWND hwnd) { SetWindowSubclass(hwnd, &Proc, 1, 0); }
  static void Remove(HWND hwnd) { RemoveWindowSubclass(hwnd, &Proc, 1); }
};

// The layer's object: notes the probe and the text of LB_ADDSTRING, and on
// request destroys its window or runs a modal dialog inside the handler.
class Probe : public CWnd {
 public:
  std::vector<std::string> texts;
  bool destroyInHandler = false;
  bool modalInHandler = false;
  int throwInHandler = 0;  // 1: out of memory, 2: another exception
  int postNcDestroy = 0;

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void PostNcDestroy() override { ++postNcDestroy; }
};

bool Probe::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == LB_ADDSTRING) texts.push_back(reinterpret_cast<const char*>(lParam));
  if (msg != kProbe) return false;
  Seen("ours", wParam);
  if (throwInHandler == 1) throw std::bad_alloc();
  if (throwInHandler == 2) throw std::runtime_error("no such line");
  if (destroyInHandler) ::DestroyWindow(m_hWnd);
  if (modalInHandler && wParam == 1) {
    // Inside the dialog's loop: a second probe to this window, then the
    // layer lets go of it, then the dialog ends.
    krx::DialogTemplate t(WS_POPUP | WS_CAPTION | DS_SETFONT, 0, 20, 20, 120, 60, "Modal", "Tahoma", 9);
    krx::CDialog dialog;
    const HWND hwnd = m_hWnd;
    krx_test::RunInLoop([this, hwnd, &dialog] {
      ::SendMessageA(hwnd, kProbe, 2, 0);
      UnsubclassWindow();
      dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModalIndirect(t.Get()), IDOK);
  }
  result = 0;
  return false;  // the default: whatever is below the layer
}

HWND NewList() {
  return CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_HASSTRINGS, 0, 0, 100, 100, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

Log Probed(HWND hwnd, WPARAM w = 0) {
  g_seen.clear();
  SendMessageA(hwnd, kProbe, w, 0);
  return g_seen;
}

WNDPROC ProcOf(HWND hwnd) { return WNDPROC(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)); }

TEST(WndChain, AnotherSubclasserAboveTheLayerAndEitherLettingGoFirst) {
  struct Case {
    const char* name;
    bool comctl;
    bool layerFirst;  // the layer lets go before the other subclasser
  };
  const Case cases[] = {{"raw, layer first", false, true},
                        {"raw, other first", false, false},
                        {"comctl32, layer first", true, true},
                        {"comctl32, other first", true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const char* other = c.comctl ? "comctl:0" : "raw:0";
    auto install = c.comctl ? &ComctlLayer::Install : &RawLayer::Install;
    auto remove = c.comctl ? &ComctlLayer::Remove : &RawLayer::Remove;
    HWND list = NewList();
    const WNDPROC original = ProcOf(list);
    Probe probe;
    ASSERT_TRUE(probe.SubclassWindow(list));
    EXPECT_FALSE(IsWindowUnicode(list));  // our procedure is ANSI, as the window was
    install(list);
    EXPECT_EQ(Probed(list), (Log{other, "ours:0"}));
    if (c.layerFirst) {
      EXPECT_EQ(probe.UnsubclassWindow(), list);
      EXPECT_EQ(CWnd::FromHandle(list), nullptr);
      EXPECT_EQ(Probed(list), (Log{other}));
      // Taken again while our procedure still passes messages on.
      ASSERT_TRUE(probe.SubclassWindow(list));
      EXPECT_EQ(Probed(list), (Log{other, "ours:0"}));
      probe.UnsubclassWindow();
      remove(list);
    } else {
      remove(list);
      EXPECT_EQ(Probed(list), (Log{"ours:0"}));
      probe.UnsubclassWindow();
    }
    EXPECT_EQ(Probed(list), Log{});
    // Out of the chain for good; the list box still does its work.
    EXPECT_EQ(ProcOf(list), original);
    EXPECT_FALSE(IsWindowUnicode(list));
    EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, LPARAM("x")), 0);
    ASSERT_TRUE(probe.SubclassWindow(list));
    EXPECT_EQ(Probed(list), (Log{"ours:0"}));
    probe.DestroyWindow();
    EXPECT_EQ(probe.m_hWnd, nullptr);
    EXPECT_EQ(probe.postNcDestroy, 1);
  }
}

TEST(WndChain, TheLayerAboveAnotherLetsGoCleanly) {
  HWND list = NewList();
  RawLayer::Install(list);
  Probe probe;
  ASSERT_TRUE(probe.SubclassWindow(list));
  EXPECT_EQ(Probed(list), (Log{"ours:0", "raw:0"}));
  probe.UnsubclassWindow();
  EXPECT_EQ(ProcOf(list), &RawLayer::Proc);
  EXPECT_EQ(Probed(list), (Log{"raw:0"}));
  DestroyWindow(list);
}

TEST(WndChain, HandlersGetAnsiTextWhoeverSendsItAndWhateverIsAbove) {
  for (bool comctlAbove : {false, true}) {
    SCOPED_TRACE(comctlAbove ? "comctl32 above" : "alone");
    Probe probe;
    ASSERT_TRUE(probe.SubclassWindow(NewList()));
    if (comctlAbove) ComctlLayer::Install(probe);
    SendMessageA(probe, LB_ADDSTRING, 0, LPARAM("ansi"));
    SendMessageW(probe, LB_ADDSTRING, 0, LPARAM(L"wide"));
    EXPECT_EQ(probe.texts, (std::vector<std::string>{"ansi", "wide"}));
    char text[16] = {};
    SendMessageA(probe, LB_GETTEXT, 1, LPARAM(text));
    EXPECT_STREQ(text, "wide");
    if (comctlAbove) ComctlLayer::Remove(probe);
    probe.DestroyWindow();
  }
}

TEST(WndChain, DestroyedFromInsideItsOwnHandler) {
  ASSERT_TRUE(CWnd::RegisterWndClass("KrxChainTest", 0));
  for (bool ownClass : {true, false}) {
    SCOPED_TRACE(ownClass ? "our class" : "adopted list box");
    Probe probe;
    HWND hwnd = nullptr;
    if (ownClass) {
      ASSERT_TRUE(probe.CreateEx(0, "KrxChainTest", "", WS_POPUP, RECT{0, 0, 50, 50}, nullptr, 0));
      hwnd = probe;
    } else {
      // A subclasser below the layer: nothing may reach it once the window is gone.
      hwnd = NewList();
      RawLayer::Install(hwnd);
      ASSERT_TRUE(probe.SubclassWindow(hwnd));
    }
    probe.destroyInHandler = true;
    g_seen.clear();
    EXPECT_EQ(SendMessageA(hwnd, kProbe, 5, 0), 0);
    EXPECT_EQ(g_seen, (Log{"ours:5"}));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(probe.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
    EXPECT_EQ(probe.postNcDestroy, 1);
  }
}

Log g_faults;
void NoteFault(HWND, bool outOfMemory, const char* what) {
  g_faults.push_back(outOfMemory ? "out of memory" : what);
}

// What a handler throws stops at the layer: reported once, the message
// answered 0, the window alive and its next message handled as usual.
TEST(WndChain, WhatAHandlerThrowsIsReportedAndTheWindowGoesOn) {
  ASSERT_TRUE(CWnd::RegisterWndClass("KrxChainTest", 0));
  const krx::HandlerFaultReporter previous = krx::SetHandlerFaultReporter(&NoteFault);
  for (bool ownClass : {true, false}) {
    for (int kind : {1, 2}) {
      SCOPED_TRACE(std::string(ownClass ? "our class, " : "adopted list box, ") + std::to_string(kind));
      Probe probe;
      if (ownClass) {
        ASSERT_TRUE(probe.CreateEx(0, "KrxChainTest", "", WS_POPUP, RECT{0, 0, 50, 50}, nullptr, 0));
      } else {
        ASSERT_TRUE(probe.SubclassWindow(NewList()));
      }
      probe.throwInHandler = kind;
      g_faults.clear();
      EXPECT_EQ(SendMessageA(probe, kProbe, 7, 0), 0);
      EXPECT_EQ(g_faults, (Log{kind == 1 ? "out of memory" : "no such line"}));
      probe.throwInHandler = 0;
      EXPECT_EQ(Probed(probe, 8), (Log{"ours:8"}));
      EXPECT_EQ(g_faults.size(), 1u);
      probe.DestroyWindow();
    }
  }
  krx::SetHandlerFaultReporter(previous);
}

TEST(WndChain, ModalLoopInsideAHandlerAndLettingGoWithinIt) {
  HWND list = NewList();
  RawLayer::Install(list);
  Probe probe;
  ASSERT_TRUE(probe.SubclassWindow(list));
  probe.modalInHandler = true;
  g_seen.clear();
  SendMessageA(list, kProbe, 1, 0);
  // The nested probe went all the way down; the outer one's default, after
  // the dialog and after the layer let go, still reached the layer below
  // with its own arguments.
  EXPECT_EQ(g_seen, (Log{"ours:1", "ours:2", "raw:2", "raw:1"}));
  EXPECT_EQ(CWnd::FromHandle(list), nullptr);
  EXPECT_EQ(ProcOf(list), &RawLayer::Proc);
  DestroyWindow(list);
}

TEST(WndChain, TooltipKeepsRelayingAfterTheLayerLetsGo) {
  INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&init);
  // Far from where other tests put their windows, and the pointer goes back
  // where it was: a later test's button must not find it hovering.
  HWND parent = CreateWindowExA(0, "STATIC", "Tip host", WS_POPUP | WS_VISIBLE, 1000, 850, 200, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  POINT pointer = {0, 0};
  GetCursorPos(&pointer);
  Probe button;
  ASSERT_TRUE(button.CreateEx(0, "BUTTON", "Tip", WS_CHILD | WS_VISIBLE, RECT{10, 10, 110, 50}, parent, 9));
  HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, parent,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(tip, nullptr);
  SendMessageA(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
  char text[] = "Hello";
  TOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = parent;
  tool.uId = UINT_PTR(HWND(button));
  tool.lpszText = text;
  ASSERT_TRUE(SendMessageA(tip, TTM_ADDTOOLA, 0, LPARAM(&tool)));
  HWND hwnd = button.UnsubclassWindow();
  EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
  // The button still answers through both, and the tip still hears its mouse.
  EXPECT_EQ(Probed(hwnd), Log{});
  SetWindowTextA(hwnd, "Still");
  char got[16] = {};
  GetWindowTextA(hwnd, got, sizeof got);
  EXPECT_STREQ(got, "Still");
  RECT r;
  GetWindowRect(hwnd, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
  EXPECT_TRUE(krx_test::PumpUntil([tip] { return IsWindowVisible(tip) != FALSE; }));
  // Wine's tooltip keeps its subclass until the button goes: beneath it our
  // procedure passes the button's messages on, to the end.
  DestroyWindow(tip);
  SetWindowTextA(hwnd, "Again");
  GetWindowTextA(hwnd, got, sizeof got);
  EXPECT_STREQ(got, "Again");
  DestroyWindow(parent);
  EXPECT_FALSE(IsWindow(hwnd));
  SetCursorPos(pointer.x, pointer.y);
}

}  // namespace
