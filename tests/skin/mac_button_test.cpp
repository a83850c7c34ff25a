// CMacButton read back from the screen: faces and rings in each state,
// square corners below 30 pixels, latch and toggle behaviour, disabled look.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "core/theme_table.h"
#include "demo_dialog.h"
#include "support/window_capture_win32.h"

namespace {

using krx::CMacButton;
using krx::GetThemeColours;
using krx_test::ClientPixel;

struct MacButtonTest : ::testing::Test {
  krx_test::DemoDialog dlg;
  const krx::ThemeColours& c = GetThemeColours(5);
  void SetUp() override {
    ASSERT_TRUE(dlg.Create(129, nullptr));
    SetActiveWindow(dlg);
    krx_test::PumpMessages();
  }
  static void Hover(CMacButton& b, int x, int y) {
    b.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    b.UpdateWindow();
  }
};

TEST_F(MacButtonTest, NormalFaceAndShadowRing) {
  CMacButton& b = dlg.cancel;  // 80 x 23, rounded
  EXPECT_EQ(b.GetState(), CMacButton::kNormal);
  EXPECT_EQ(ClientPixel(b, 0, 11), c[4]);                            // border
  EXPECT_EQ(ClientPixel(b, 1, 11), c[3]);                            // ring: shadow
  EXPECT_EQ(ClientPixel(b, 2, 11), c[0]);                            // highlight line
  EXPECT_EQ(ClientPixel(b, 6, 6), c[1]);                             // face
  EXPECT_EQ(ClientPixel(b, 40, 20), krx::MidColour(c[1], c[3]));     // mid line
  EXPECT_EQ(ClientPixel(b, 0, 0), ClientPixel(dlg, 110, 70));        // outside the rounded corner
  EXPECT_EQ(ClientPixel(b, 0, 2), c[4]);                             // corner pixel
}

TEST_F(MacButtonTest, HoverRingThenPressedFace) {
  CMacButton& b = dlg.cancel;
  Hover(b, 40, 11);
  EXPECT_EQ(b.GetState(), CMacButton::kHover);
  EXPECT_EQ(ClientPixel(b, 1, 11), c[6]);
  EXPECT_EQ(ClientPixel(b, 6, 6), c[1]);
  b.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 11));
  b.UpdateWindow();
  EXPECT_EQ(b.GetState(), CMacButton::kPressed);
  EXPECT_EQ(ClientPixel(b, 1, 11), c[6]);                            // pressed, not flat: hover ring
  EXPECT_EQ(ClientPixel(b, 6, 8), krx::MidColour(c[1], c[3]));       // pressed face
  EXPECT_EQ(ClientPixel(b, 2, 11), c[3]);                            // shadow line inside the left edge
  b.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(40, 11));
  b.UpdateWindow();
  EXPECT_EQ(b.GetState(), CMacButton::kNormal);
  EXPECT_EQ(dlg.clicks, (std::vector<UINT>{1002}));
  EXPECT_EQ(ClientPixel(b, 6, 6), c[1]);
  // Leaving changes only the ring, and the face survives the dialog
  // repainting its background over the button afterwards.
  Hover(b, 40, 11);
  b.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(200, 11));
  dlg.Invalidate(TRUE);
  krx_test::PumpMessages();
  EXPECT_EQ(ClientPixel(b, 0, 11), c[4]);
  EXPECT_EQ(ClientPixel(b, 2, 11), c[0]);
  EXPECT_EQ(ClientPixel(b, 1, 11), c[3]);
}

TEST_F(MacButtonTest, NarrowButtonIsSquareForGood) {
  CMacButton& n = dlg.narrow;  // 29 pixels wide
  EXPECT_EQ(n.CornerWidth(), 0);
  EXPECT_EQ(ClientPixel(n, 0, 0), c[4]);
  n.MoveWindow(20, 105, 60, 23);
  n.UpdateWindow();
  krx_test::PumpMessages();
  EXPECT_EQ(n.CornerWidth(), 0);
  EXPECT_EQ(ClientPixel(n, 0, 0), c[4]);
  EXPECT_EQ(ClientPixel(n, 59, 22), c[4]);
}

TEST_F(MacButtonTest, LatchSendsNoSecondClick) {
  CMacButton& b = dlg.latch;
  krx_test::ClickClient(b, 20, 10);
  EXPECT_EQ(b.GetState(), CMacButton::kPressed);
  krx_test::ClickClient(b, 20, 10);
  krx_test::ClickClient(b, 21, 11);
  b.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 10));
  b.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
  EXPECT_EQ(dlg.clicks, (std::vector<UINT>{1003}));
  // It stays pressed when the mouse leaves, until SetState releases it.
  b.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(300, 10));
  dlg.Invalidate(TRUE);
  krx_test::PumpMessages();
  EXPECT_EQ(b.GetState(), CMacButton::kPressed);
  EXPECT_EQ(ClientPixel(b, 6, 8), krx::MidColour(c[1], c[3]));
  EXPECT_EQ(ClientPixel(b, 0, 11), c[4]);
  EXPECT_EQ(ClientPixel(b, 1, 11), c[6]);
  b.SetState(CMacButton::kNormal, TRUE);
  b.UpdateWindow();
  EXPECT_EQ(ClientPixel(b, 6, 6), c[1]);
  krx_test::ClickClient(b, 20, 10);
  EXPECT_EQ(dlg.clicks, (std::vector<UINT>{1003, 1003}));
}

TEST_F(MacButtonTest, ToggleAlternatesOnEachClick) {
  CMacButton& b = dlg.ok;
  b.SetBehaviour(CMacButton::kToggle);
  krx_test::ClickClient(b, 20, 10);
  EXPECT_EQ(b.GetState(), CMacButton::kPressed);
  Hover(b, 300, 10);
  EXPECT_EQ(b.GetState(), CMacButton::kPressed);
  krx_test::ClickClient(b, 20, 10);
  EXPECT_EQ(b.GetState(), CMacButton::kNormal);
  EXPECT_EQ(dlg.clicks, (std::vector<UINT>{IDOK, IDOK}));
}

TEST_F(MacButtonTest, DoubleClickIsASecondClick) {
  // The second press of a quick double click toggles the face back, so the
  // owner must hear it as a click too, or it believes the button still down.
  CMacButton& b = dlg.ok;
  b.SetBehaviour(CMacButton::kToggle);
  krx_test::ClickClient(b, 20, 10);
  b.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 10));
  b.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
  EXPECT_EQ(b.GetState(), CMacButton::kNormal);
  EXPECT_EQ(dlg.clicks, (std::vector<UINT>{IDOK, IDOK}));
}

TEST_F(MacButtonTest, DisabledTextIsEmbossedGrey) {
  CMacButton& b = dlg.disabled;
  int white = 0, grey = 0;
  for (int y = 4; y < 20; ++y) {
    for (int x = 10; x < 70; ++x) {
      COLORREF p = ClientPixel(b, x, y);
      white += p == RGB(255, 255, 255);
      grey += p == RGB(130, 130, 130);
    }
  }
  EXPECT_GT(white, 0);
  EXPECT_GT(grey, 0);
  b.EnableWindow(TRUE);
  b.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
  b.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
  EXPECT_EQ(dlg.clicks, (std::vector<UINT>{1005}));
}

TEST_F(MacButtonTest, TooltipIsCreatedOnceAndRelayed) {
  CMacButton& b = dlg.ok;
  EXPECT_EQ(b.TooltipWindow(), nullptr);
  b.SetTooltipText("First");
  HWND tip = b.TooltipWindow();
  ASSERT_NE(tip, nullptr);
  b.SetTooltipText("Second");
  EXPECT_EQ(b.TooltipWindow(), tip);
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 300);
  char text[64] = {};
  TOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.lpszText = text;
  ASSERT_TRUE(SendMessageA(tip, TTM_ENUMTOOLSA, 0, LPARAM(&tool)));
  EXPECT_STREQ(text, "Second");
  dlg.DestroyWindow();
  EXPECT_FALSE(IsWindow(tip));
}

}  // namespace
