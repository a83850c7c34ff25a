// The skinned dialog read back from the screen: frame lines, background,
// title colours with activation, the close button, theme changes, dragging.
#include <gtest/gtest.h>

#include "core/theme_table.h"
#include "demo_dialog.h"
#include "framework/edit.h"
#include "support/window_capture_win32.h"

namespace {

using krx::GetThemeColours;
using krx_test::ClientPixel;
using krx_test::WindowPixel;

struct SkinDialogTest : ::testing::Test {
  krx_test::DemoDialog dlg;
  void Open(int theme) {
    dlg.SetThemeIndex(theme);
    ASSERT_TRUE(dlg.Create(129, nullptr));
    SetForegroundWindow(dlg);
    SetActiveWindow(dlg);
    krx_test::PumpMessages();
  }
  // Pixels of one exact colour in the title's rectangle.
  int TitlePixels(COLORREF colour) {
    RECT c = dlg.GetClientRect();
    int n = 0;
    for (int y = 4; y < 21; ++y) {
      for (int x = 25; x < c.right - 40; ++x) n += ClientPixel(dlg, x, y) == colour;
    }
    return n;
  }
};

TEST_F(SkinDialogTest, FrameLinesAndBackground) {
  Open(6);
  const auto& c = GetThemeColours(6);
  RECT w = dlg.GetWindowRect();
  const int W = w.right - w.left, H = w.bottom - w.top;
  for (int y : {30, 100, H / 2}) {
    EXPECT_EQ(WindowPixel(dlg, 0, y), c[4]);
    EXPECT_EQ(WindowPixel(dlg, 1, y), c[5]);
    EXPECT_EQ(WindowPixel(dlg, 2, y), c[4]);
    EXPECT_EQ(WindowPixel(dlg, W - 2, y), c[5]);
  }
  EXPECT_EQ(WindowPixel(dlg, W / 2, H - 3), c[4]);
  EXPECT_EQ(WindowPixel(dlg, W / 2, 1), c[5]);
  // Client background (beside the static text and below the buttons).
  EXPECT_EQ(ClientPixel(dlg, 5, 140), c[1]);
  EXPECT_EQ(ClientPixel(dlg, 300, 60), c[1]);
  // The static text is drawn on the dialog's background too.
  EXPECT_EQ(ClientPixel(dlg, 21, 41), c[1]);
}

TEST_F(SkinDialogTest, TitleFollowsActivation) {
  Open(1);
  const auto& c = GetThemeColours(1);
  EXPECT_GT(TitlePixels(c[7]), 0);
  EXPECT_EQ(TitlePixels(c[8]), 0);
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 600, 600, 50, 50, nullptr, nullptr,
                               nullptr, nullptr);
  SetActiveWindow(other);
  krx_test::PumpMessages();
  EXPECT_EQ(TitlePixels(c[7]), 0);
  EXPECT_GT(TitlePixels(c[8]), 0);
  // The system's non-client activation painting leaves our frame in place.
  EXPECT_EQ(WindowPixel(dlg, 0, 80), c[4]);
  EXPECT_EQ(WindowPixel(dlg, 1, 80), c[5]);
  EXPECT_EQ(WindowPixel(dlg, 2, 80), c[4]);
  SetActiveWindow(dlg);
  krx_test::PumpMessages();
  EXPECT_GT(TitlePixels(c[7]), 0);
  DestroyWindow(other);
}

TEST_F(SkinDialogTest, CloseButtonIsSquareFlatAndRingsOnHover) {
  Open(5);
  const auto& c = GetThemeColours(5);
  krx::CMacButton& close = dlg.CloseButton();
  EXPECT_EQ(close.GetDlgCtrlID(), IDCANCEL);
  RECT r = close.GetClientRect();
  EXPECT_EQ(r.right, 18);
  EXPECT_EQ(r.bottom, 18);
  EXPECT_EQ(close.CornerWidth(), 0);
  EXPECT_EQ(ClientPixel(close, 0, 0), c[5]);    // square corner in the frame colour
  EXPECT_EQ(ClientPixel(close, 2, 9), c[5]);    // face
  EXPECT_EQ(ClientPixel(close, 1, 9), c[1]);    // ring of the flat frame variant
  close.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(9, 9));
  close.UpdateWindow();
  EXPECT_EQ(close.GetState(), krx::CMacButton::kHover);
  EXPECT_EQ(ClientPixel(close, 1, 9), c[6]);    // hover ring
  close.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(40, 9));
  close.UpdateWindow();
  EXPECT_EQ(ClientPixel(close, 1, 9), c[1]);
}

TEST_F(SkinDialogTest, SetThemeWithCurrentIndexRepaintsNothing) {
  Open(3);
  krx_test::PumpMessages();
  dlg.SetTheme(3);
  RECT dirty;
  EXPECT_FALSE(GetUpdateRect(dlg, &dirty, FALSE));
  for (HWND child = GetWindow(dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    EXPECT_FALSE(GetUpdateRect(child, &dirty, FALSE));
  }
  dlg.SetTheme(7);
  EXPECT_TRUE(GetUpdateRect(dlg, &dirty, FALSE));
  krx_test::PumpMessages();
  const auto& c = GetThemeColours(7);
  EXPECT_EQ(dlg.ok.GetTheme(), 7);
  EXPECT_EQ(ClientPixel(dlg, 5, 140), c[1]);
  EXPECT_EQ(WindowPixel(dlg, 1, 80), c[5]);
  EXPECT_EQ(ClientPixel(dlg.ok, 6, 12), c[1]);  // the button's face
}

TEST_F(SkinDialogTest, DragStartsOnlyOnTheBar) {
  Open(5);
  MSG msg;
  while (PeekMessageA(&msg, dlg, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE)) {
  }
  const RECT before = dlg.GetWindowRect();
  dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 30));
  dlg.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(120, 23));
  dlg.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(120, 23));
  EXPECT_FALSE(PeekMessageA(&msg, dlg, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_NOREMOVE));
  krx_test::PumpMessages();
  const RECT after = dlg.GetWindowRect();
  EXPECT_TRUE(EqualRect(&before, &after));

  dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 10));
  dlg.SendMessage(WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(101, 10));  // not the left button alone
  EXPECT_FALSE(PeekMessageA(&msg, dlg, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_NOREMOVE));
  dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 10));
  dlg.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(105, 12));
  ASSERT_TRUE(PeekMessageA(&msg, dlg, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
  EXPECT_EQ(msg.wParam, WPARAM(HTCAPTION));
  POINT at = {105, 12};
  ClientToScreen(dlg, &at);
  EXPECT_EQ(short(LOWORD(msg.lParam)), at.x);
  EXPECT_EQ(short(HIWORD(msg.lParam)), at.y);
}

TEST_F(SkinDialogTest, EditsAndListBoxesKeepSystemColours) {
  Open(4);
  krx::CEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, RECT{150, 105, 300, 125}, dlg, 1010));
  HDC dc = GetDC(edit);
  LRESULT editBrush = dlg.SendMessage(WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(HWND(edit)));
  LRESULT staticBrush = dlg.SendMessage(WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(HWND(edit)));
  ReleaseDC(edit, dc);
  EXPECT_NE(editBrush, LRESULT(dlg.BackgroundBrush()));
  EXPECT_EQ(staticBrush, LRESULT(dlg.BackgroundBrush()));
  krx_test::PumpMessages();
  EXPECT_EQ(ClientPixel(edit, 5, 5), GetSysColor(COLOR_WINDOW));
}

TEST(SkinDialog, CloseButtonCancelsAModalRun) {
  krx::CSkinDialog dlg;
  dlg.SetThemeIndex(7);
  krx_test::RunInLoop([&dlg] {
    EXPECT_TRUE(dlg.CloseButton().IsWindowVisible());
    krx_test::ClickClient(dlg.CloseButton(), 9, 9);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
}

}  // namespace
