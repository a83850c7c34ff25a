// The "Please Wait..." window: the threaded form followed by its state
// (window, visibility, bar pixels), never by the clock; and the caller-driven
// form with Escape.
#include <gtest/gtest.h>

#include "core/theme_table.h"
#include "skin/wait_dlg.h"
#include "skin/wait_window.h"
#include "support/window_capture_win32.h"

namespace {

using krx_test::ClientPixel;
using krx_test::PumpUntil;

// A pixel inside the bar (which lies at (30,85)-(270,100) of the window).
COLORREF BarPixel(HWND wait, int x) { return ClientPixel(wait, 30 + x, 92); }

TEST(WaitWindow, ThreadedWindowFollowsStepsHidesAtTotalClosesAtDone) {
  const COLORREF bar = krx::GetThemeColours(3)[krx::kThemeShadow];
  HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100, nullptr, nullptr,
                               nullptr, nullptr);
  SetActiveWindow(owner);
  krx::WaitWindowStart(owner, "Merging the day files...", 4, 3);
  ASSERT_TRUE(PumpUntil([] { return krx::WaitWindowHandle() && IsWindowVisible(krx::WaitWindowHandle()); }));
  HWND wait = krx::WaitWindowHandle();
  EXPECT_EQ(GetActiveWindow(), owner);  // it shows without taking the activation
  EXPECT_TRUE(GetWindowLongA(wait, GWL_EXSTYLE) & WS_EX_TOPMOST);
  char title[64] = {};
  GetWindowTextA(wait, title, sizeof(title));
  EXPECT_STREQ(title, "Please Wait...");

  krx::WaitWindowStep(2);  // half of 240 pixels
  EXPECT_TRUE(PumpUntil([&] { return BarPixel(wait, 60) == bar; }));
  EXPECT_NE(BarPixel(wait, 180), bar);
  krx::WaitWindowStep(3);
  EXPECT_TRUE(PumpUntil([&] { return BarPixel(wait, 170) == bar; }));

  krx::WaitWindowStep(4);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(wait); }));
  EXPECT_TRUE(IsWindow(wait));  // hidden, still polling until done
  EXPECT_TRUE(krx::WaitWindowRunning());

  krx::WaitWindowDone();
  EXPECT_TRUE(PumpUntil([] { return !krx::WaitWindowRunning(); }));
  EXPECT_FALSE(IsWindow(wait));
  EXPECT_EQ(krx::WaitWindowHandle(), nullptr);
  DestroyWindow(owner);
}

TEST(WaitWindow, NothingToDoOpensAndClosesAtOnce) {
  krx::WaitWindowStart(nullptr, "Nothing", 0, 5);
  krx::WaitWindowDone();
  EXPECT_TRUE(PumpUntil([] { return !krx::WaitWindowRunning(); }));
  EXPECT_EQ(krx::WaitWindowHandle(), nullptr);
  // A second start after done works the same.
  krx::WaitWindowStart(nullptr, "Again", 2, 5);
  ASSERT_TRUE(PumpUntil([] { return krx::WaitWindowHandle() != nullptr; }));
  krx::WaitWindowDone();
  EXPECT_TRUE(PumpUntil([] { return !krx::WaitWindowRunning(); }));
}

TEST(WaitWindow, CallerDrivenStopsOnEscape) {
  HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_POPUP | WS_VISIBLE, 10, 10, 400, 300, nullptr, nullptr,
                               nullptr, nullptr);
  krx::CWaitDlg wait;
  wait.SetRange(0, 10);
  wait.SetText("Deleting cache files...");
  wait.SetThemeIndex(6);
  ASSERT_TRUE(wait.Create(129, owner));
  EXPECT_TRUE(wait.StepAndPoll(1));
  EXPECT_TRUE(wait.StepAndPoll(2));
  EXPECT_EQ(wait.Bar().GetPos(), 2);
  // A step outside the range leaves the bar as it was.
  EXPECT_FALSE(wait.Bar().SetPos(11));
  EXPECT_FALSE(wait.Bar().SetPos(-1));
  EXPECT_EQ(wait.Bar().GetPos(), 2);
  krx_test::PostKey(wait, VK_ESCAPE);
  EXPECT_FALSE(wait.StepAndPoll(3));
  EXPECT_TRUE(wait.IsWindowVisible());
  wait.SetStep(10);  // the end of the range ends the dialog
  EXPECT_FALSE(wait.IsWindowVisible());
  wait.DestroyWindow();
  DestroyWindow(owner);
}

}  // namespace
