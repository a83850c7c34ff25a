// CSkinStatic colours on plain and skinned parents, and CJpegStatic
// loading the theme's caption picture (or keeping the bar empty).
#include <gtest/gtest.h>

#include "core/theme_table.h"
#include "demo_dialog.h"
#include "framework/dialog.h"
#include "framework/dialog_template.h"
#include "skin/jpeg_static.h"
#include "support/window_capture_win32.h"

namespace {

using krx_test::ClientPixel;

int CountColour(HWND hwnd, const RECT& r, COLORREF colour) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) n += ClientPixel(hwnd, x, y) == colour;
  }
  return n;
}

TEST(SkinStatic, OwnColoursOnAPlainDialogThemeBackgroundOnASkinnedOne) {
  const COLORREF red = RGB(200, 0, 0), blue = RGB(0, 0, 255);
  krx::DialogTemplate t(WS_POPUP | WS_VISIBLE, 0, 0, 0, 150, 60, "", "Tahoma", 9);
  krx::CDialog plain;
  ASSERT_TRUE(plain.CreateIndirect(t.Get(), nullptr));
  krx::CSkinStatic text;
  ASSERT_TRUE(text.Create("Coloured text", WS_CHILD | WS_VISIBLE, RECT{10, 10, 150, 30}, plain));
  text.SetColours(red, blue);
  text.Invalidate();
  krx_test::PumpMessages();
  EXPECT_EQ(ClientPixel(text, 138, 15), blue);
  EXPECT_GT(CountColour(text, RECT{0, 0, 90, 20}, red), 0);

  krx_test::DemoDialog skinned;
  skinned.SetThemeIndex(2);
  ASSERT_TRUE(skinned.Create(129, nullptr));
  skinned.label.SetColours(red, blue);
  skinned.label.Invalidate();
  krx_test::PumpMessages();
  EXPECT_EQ(ClientPixel(skinned.label, 270, 8), krx::GetThemeColours(2)[1]);
  EXPECT_GT(CountColour(skinned.label, RECT{0, 0, 100, 16}, red), 0);
}

TEST(SkinStatic, TransparentTextChangeLeavesNoTrace) {
  krx_test::DemoDialog dlg;
  ASSERT_TRUE(dlg.Create(129, nullptr));
  krx_test::PumpMessages();
  const COLORREF ink = ClientPixel(dlg.Title(), 0, 0);  // the bar under the title
  dlg.Title().SetColours(RGB(255, 0, 0), 0);
  dlg.Title().SetText("WWWWWWWWWWWWWWWW");
  krx_test::PumpMessages();
  EXPECT_GT(CountColour(dlg.Title(), RECT{100, 0, 160, 17}, RGB(255, 0, 0)), 0);
  dlg.Title().SetText("i");
  krx_test::PumpMessages();
  EXPECT_EQ(CountColour(dlg.Title(), RECT{100, 0, 160, 17}, RGB(255, 0, 0)), 0);
  EXPECT_EQ(ClientPixel(dlg.Title(), 0, 0), ink);
}

TEST(JpegStatic, CaptionPictureOrAnEmptyBar) {
  krx_test::DemoDialog pictured;
  pictured.SetThemeIndex(4);
  ASSERT_TRUE(pictured.Create(129, nullptr));
  EXPECT_TRUE(pictured.CaptionBar().HasPicture());
  // Theme 0 has no caption image: the bar keeps the dialog background.
  krx_test::DemoDialog empty;
  empty.SetThemeIndex(0);
  ASSERT_TRUE(empty.Create(129, nullptr));
  krx_test::PumpMessages();
  EXPECT_FALSE(empty.CaptionBar().HasPicture());
  const COLORREF background = krx::GetThemeColours(0)[1];
  EXPECT_EQ(ClientPixel(empty, 200, 12), background);
  EXPECT_NE(ClientPixel(pictured, 200, 12), krx::GetThemeColours(4)[1]);
  // A failed load keeps the picture it had.
  EXPECT_FALSE(pictured.CaptionBar().LoadImageResource(4711));
  EXPECT_FALSE(pictured.CaptionBar().LoadImageBytes("not a picture"));
  EXPECT_TRUE(pictured.CaptionBar().HasPicture());
  // The 1024 x 25 picture fills its 1024 x 25 bar: the bottom row is not background.
  krx_test::PumpMessages();
  EXPECT_NE(ClientPixel(pictured.CaptionBar(), 150, 24), krx::GetThemeColours(4)[1]);
}

}  // namespace
