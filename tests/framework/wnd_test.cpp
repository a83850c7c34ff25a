// The window-class layer: binding, reflection order and the default answer,
// recorded as message sequences the way Wine's own user32 tests do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/button.h"
#include "framework/gdi.h"
#include "framework/wnd.h"
#include "support/window_capture_win32.h"

namespace {

using krx::CWnd;

std::vector<std::string> g_log;

// The entries of the log about one message (painting sends others too).
std::vector<std::string> LogOf(const std::string& name) {
  std::vector<std::string> out;
  for (const auto& e : g_log) {
    if (e.size() > name.size() && e.compare(e.size() - name.size(), name.size(), name) == 0) out.push_back(e);
  }
  return out;
}

const char* Name(UINT msg) {
  switch (msg) {
    case WM_COMMAND: return "command";
    case WM_DRAWITEM: return "drawitem";
    case WM_CTLCOLORBTN: return "ctlcolorbtn";
    default: return nullptr;
  }
}

class RecordingButton : public krx::CButton {
 public:
  bool takeCommand = false;
  HBRUSH brush = nullptr;

 protected:
  bool OnReflect(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
    if (const char* n = Name(msg)) g_log.push_back(std::string("child:") + n);
    if (msg == WM_DRAWITEM) {
      result = TRUE;
      return true;
    }
    if (msg == WM_COMMAND) return takeCommand;
    if (msg == WM_CTLCOLORBTN && brush) {
      result = LRESULT(brush);
      return true;
    }
    return false;
  }
};

class RecordingParent : public CWnd {
 public:
  LRESULT ctlColorDefault = 0;

 protected:
  bool OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
    if (const char* n = Name(msg)) g_log.push_back(std::string("parent:") + n);
    if (msg == WM_CTLCOLORBTN) {
      ctlColorDefault = Default();
      result = ctlColorDefault;
      return true;
    }
    return false;
  }
};

struct Fixture : ::testing::Test {
  RecordingParent parent;
  RecordingButton button;
  void SetUp() override {
    g_log.clear();
    ASSERT_TRUE(CWnd::RegisterWndClass("KrxTestParent", 0, nullptr, HBRUSH(COLOR_BTNFACE + 1)));
    ASSERT_TRUE(parent.CreateEx(0, "KrxTestParent", "Parent", WS_POPUP | WS_VISIBLE, RECT{50, 50, 250, 150},
                                nullptr, 0));
    ASSERT_TRUE(button.Create("Button", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT{10, 10, 110, 40}, parent, 77));
    krx_test::PumpMessages();
    g_log.clear();
  }
};

TEST_F(Fixture, BindingAndLookup) {
  EXPECT_EQ(CWnd::FromHandle(parent), &parent);
  EXPECT_EQ(CWnd::FromHandle(button), &button);
  EXPECT_EQ(button.GetDlgCtrlID(), 77);
  EXPECT_EQ(button.GetWindowText(), "Button");
  HWND hwnd = button;
  button.DestroyWindow();
  EXPECT_EQ(button.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
}

TEST_F(Fixture, CenterWindowKeepsAWindowLargerThanItsOwnerOnTheScreen) {
  CWnd big;
  ASSERT_TRUE(big.CreateEx(0, "KrxTestParent", "Big", WS_POPUP, RECT{0, 0, 600, 400}, parent, 0));
  big.CenterWindow();  // centred on the owner at (50, 50) it would start above and left of the screen
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const RECT r = big.GetWindowRect();
  EXPECT_EQ(r.left, work.left);
  EXPECT_EQ(r.top, work.top);
}

TEST_F(Fixture, DrawItemReachesOnlyTheChild) {
  button.Invalidate();
  button.UpdateWindow();
  EXPECT_EQ(LogOf(":drawitem"), (std::vector<std::string>{"child:drawitem"}));
}

TEST_F(Fixture, CommandGoesToChildFirstThenParent) {
  button.Click();
  EXPECT_EQ(LogOf(":command"), (std::vector<std::string>{"child:command", "parent:command"}));
  g_log.clear();
  button.takeCommand = true;
  button.Click();
  EXPECT_EQ(LogOf(":command"), (std::vector<std::string>{"child:command"}));
}

TEST_F(Fixture, ControlColourParentSeesChildAnswerAsDefault) {
  krx::CBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
  button.brush = brush;
  HDC dc = GetDC(button);
  LRESULT answer = parent.SendMessage(WM_CTLCOLORBTN, WPARAM(dc), LPARAM(HWND(button)));
  ReleaseDC(button, dc);
  EXPECT_EQ(g_log, (std::vector<std::string>{"parent:ctlcolorbtn", "child:ctlcolorbtn"}));
  EXPECT_EQ(answer, LRESULT(HBRUSH(brush)));
  // Without a child answer the default is the system's.
  button.brush = nullptr;
  dc = GetDC(button);
  answer = parent.SendMessage(WM_CTLCOLORBTN, WPARAM(dc), LPARAM(HWND(button)));
  ReleaseDC(button, dc);
  EXPECT_NE(answer, 0);
  EXPECT_NE(answer, LRESULT(HBRUSH(brush)));
}

TEST(Wnd, ObjectDestroyedFirstTakesItsWindowAlong) {
  HWND hwnd;
  {
    krx::CButton b;
    ASSERT_TRUE(b.Create("x", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0));
    hwnd = b;
  }
  EXPECT_FALSE(IsWindow(hwnd));
}

}  // namespace
