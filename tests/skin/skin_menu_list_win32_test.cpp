// The owner-drawn popup menu and list box, drawn through their owner
// windows' WM_MEASUREITEM / WM_DRAWITEM into a bitmap we can read back.
#include <gtest/gtest.h>

#include <string>

#include "framework/dialog.h"
#include "framework/dialog_template.h"
#include "framework/gdi.h"
#include "resource.h"
#include "skin/skin_list_box.h"
#include "skin/skin_menu.h"
#include "host_dialog.h"
#include "support/window_capture_win32.h"

namespace {

using krx::CSkinListBox;
using krx::CSkinMenu;
using krx_test::ClientPixel;
using krx_test::PumpMessages;

constexpr COLORREF kBack = RGB(224, 223, 227);
constexpr COLORREF kFill = RGB(250, 165, 67);
constexpr COLORREF kFrame = RGB(153, 109, 79);
constexpr COLORREF kMarker = RGB(1, 2, 3);
constexpr int kWidth = 160;
constexpr int kHeight = 40;

// A bitmap the tests draw menu items into, pre-filled with a marker colour.
class Canvas {
 public:
  Canvas() : dc_(nullptr) {
    CWindowDC screen(nullptr);
    bitmap_.Reset(CreateCompatibleBitmap(screen, kWidth, kHeight));
    select_ = SelectObject(dc_, bitmap_);
    RECT all = {0, 0, kWidth, kHeight};
    krx::CBrush marker(CreateSolidBrush(kMarker));
    FillRect(dc_, &all, marker);
  }
  ~Canvas() { SelectObject(dc_, select_); }
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  // Leftmost column in [x0, x1) holding a pixel of `colour` between rows y0 and y1, or -1.
  int FirstColumnWith(COLORREF colour, int x0, int x1, int y0, int y1) const {
    for (int x = x0; x < x1; ++x)
      for (int y = y0; y < y1; ++y)
        if (At(x, y) == colour) return x;
    return -1;
  }

 private:
  using CWindowDC = krx::CWindowDC;
  krx::CMemDC dc_;
  krx::CBitmap bitmap_;
  HGDIOBJ select_;
};

class SkinMenuListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    krx_test::CreateHostDialog(owner, "Menu test");
  }

  UINT Measure(UINT id, UINT* width = nullptr) {
    MEASUREITEMSTRUCT m = {};
    m.CtlType = ODT_MENU;
    m.itemID = id;
    EXPECT_TRUE(SendMessageA(owner, WM_MEASUREITEM, 0, LPARAM(&m)));
    if (width) *width = m.itemWidth;
    return m.itemHeight;
  }

  void Draw(const CSkinMenu& menu, UINT id, UINT state, HDC dc, RECT r, UINT action = ODA_DRAWENTIRE) {
    DRAWITEMSTRUCT d = {};
    d.CtlType = ODT_MENU;
    d.itemID = id;
    d.itemAction = action;
    d.itemState = state;
    d.hwndItem = reinterpret_cast<HWND>(menu.m_hMenu);
    d.hDC = dc;
    d.rcItem = r;
    SetTextColor(dc, RGB(0, 0, 0));
    EXPECT_TRUE(SendMessageA(owner, WM_DRAWITEM, 0, LPARAM(&d)));
  }

  void Themed(CSkinMenu& menu) {
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.SetBackColour(kBack);
    menu.SetSelectionColours(RGB(50, 0, 0), kFill, kFrame);
  }

  krx::CDialog owner;
};

TEST_F(SkinMenuListTest, MenuMeasuresOnceAndSeparatorsAreTwelveHigh) {
  CSkinMenu menu;
  Themed(menu);
  menu.AppendItem(MF_OWNERDRAW, 2210, "Restore");
  menu.AppendItem(MF_OWNERDRAW | MF_SEPARATOR, 0, "");
  menu.AppendItem(MF_OWNERDRAW, 2211, "Configuration");
  UINT width = 0;
  EXPECT_EQ(Measure(2210, &width), 20u);
  SIZE extent;
  {
    krx::CClientDC screen(nullptr);
    GetTextExtentPoint32A(screen, "Configuration", 13, &extent);
  }
  EXPECT_EQ(int(width), extent.cx + 22);
  EXPECT_EQ(Measure(0), 12u);
  // A longer text added later does not change the width already measured.
  menu.AppendItem(MF_OWNERDRAW, 2212, "A much longer item text than any before");
  Measure(2212, &width);
  EXPECT_EQ(int(width), extent.cx + 22);
}

TEST_F(SkinMenuListTest, MenuTextColumnIconsTickAndSeparator) {
  CSkinMenu plain;
  Themed(plain);
  plain.AppendItem(MF_OWNERDRAW, 2210, "Restore");
  plain.AppendItem(MF_OWNERDRAW | MF_SEPARATOR, 0, "");
  plain.AppendItem(MF_OWNERDRAW, 2211, "Checked");
  {
    Canvas c;
    Draw(plain, 2210, 0, c.dc(), {0, 0, kWidth, 20});
    EXPECT_EQ(c.At(0, 0), kBack);
    const int first = c.FirstColumnWith(RGB(0, 0, 0), 0, kWidth, 0, 20);
    EXPECT_GE(first, 22);
    EXPECT_LE(first, 24);
  }
  {
    // A separator given 30 pixels keeps only its bottom 12.
    Canvas c;
    Draw(plain, 0, 0, c.dc(), {0, 0, kWidth, 30});
    EXPECT_EQ(c.At(3, 17), kMarker);
    EXPECT_EQ(c.At(3, 18), kBack);
    EXPECT_NE(c.At(50, 23), kBack);  // the etched line, 5 below the new top
    EXPECT_EQ(c.At(3, 23), kBack);   // which stops 6 short of the edge
    EXPECT_EQ(c.At(50, 22), kBack);
  }
  {
    Canvas c;
    Draw(plain, 2211, ODS_CHECKED, c.dc(), {0, 0, kWidth, 22});
    // The drawn tick: a 14 x 14 framed box at (4,4), a stroke from (8,10) down.
    EXPECT_EQ(c.At(4, 4), kFrame);
    EXPECT_EQ(c.At(17, 17), kFrame);
    EXPECT_EQ(c.At(5, 5), kBack);
    EXPECT_EQ(c.At(8, 10), kFrame);
    EXPECT_EQ(c.At(8, 12), kFrame);
    EXPECT_EQ(c.At(8, 13), kBack);
    EXPECT_EQ(c.At(14, 8), kFrame);
  }

  CSkinMenu withIcons;
  Themed(withIcons);
  withIcons.AppendItem(MF_OWNERDRAW, 2210, "Restore");
  withIcons.AppendItem(MF_OWNERDRAW, 2211, "");
  ASSERT_TRUE(withIcons.SetItemIcon(2210, IDI_PROGRAM));
  ASSERT_TRUE(withIcons.SetItemIcon(2211, IDI_CLOSE));
  {
    Canvas c;
    Draw(withIcons, 2210, ODS_CHECKED, c.dc(), {0, 0, kWidth, 24});
    const int first = c.FirstColumnWith(RGB(0, 0, 0), 20, kWidth, 0, 24);
    EXPECT_GE(first, 26);
    EXPECT_LE(first, 28);
    // The icon (16 x 16 at (4,4)) is drawn, not the tick's frame.
    int iconPixels = 0;
    for (int x = 4; x < 20; ++x)
      for (int y = 4; y < 20; ++y) iconPixels += c.At(x, y) != kBack;
    EXPECT_GT(iconPixels, 20);
    EXPECT_EQ(c.FirstColumnWith(kFrame, 0, 20, 0, 24), -1);
    // An item without text still gets its icon.
    Canvas d;
    Draw(withIcons, 2211, 0, d.dc(), {0, 0, kWidth, 24});
    int closePixels = 0;
    for (int x = 4; x < 20; ++x)
      for (int y = 4; y < 20; ++y) closePixels += d.At(x, y) != kBack;
    EXPECT_GT(closePixels, 20);
  }
}

TEST_F(SkinMenuListTest, MenuSelectionAndDisabledItems) {
  CSkinMenu menu;
  Themed(menu);
  menu.AppendItem(MF_OWNERDRAW, 2210, "Restore");
  menu.AppendItem(MF_OWNERDRAW, 2211, "Update");
  menu.EnableMenuItem(2211, MF_BYCOMMAND | MF_GRAYED);
  Canvas c;
  Draw(menu, 2210, ODS_SELECTED, c.dc(), {0, 0, kWidth, 20});
  EXPECT_EQ(c.At(0, 0), kFrame);
  EXPECT_EQ(c.At(kWidth - 1, 19), kFrame);
  EXPECT_EQ(c.At(1, 1), kFill);
  EXPECT_NE(c.FirstColumnWith(RGB(50, 0, 0), 0, kWidth, 0, 20), -1);  // selection text
  // Deselected: refilled, text in the DC's own colour.
  Draw(menu, 2210, 0, c.dc(), {0, 0, kWidth, 20}, ODA_SELECT);
  EXPECT_EQ(c.At(0, 0), kBack);
  EXPECT_EQ(c.FirstColumnWith(kFill, 0, kWidth, 0, 20), -1);
  // Disabled: embossed, white under grey.
  Draw(menu, 2211, 0, c.dc(), {0, 20, kWidth, 40});
  EXPECT_NE(c.FirstColumnWith(RGB(130, 130, 130), 0, kWidth, 20, 40), -1);
  EXPECT_NE(c.FirstColumnWith(RGB(255, 255, 255), 0, kWidth, 20, 40), -1);
  EXPECT_EQ(c.FirstColumnWith(RGB(0, 0, 0), 0, kWidth, 20, 40), -1);
}

TEST_F(SkinMenuListTest, ListBoxSelectionEmptyItemsHeightAndExtent) {
  CSkinListBox list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY,
                          {10, 10, 310, 210}, owner, 1005));
  SIZE w;
  {
    krx::CClientDC dc(list);
    GetTextExtentPoint32A(dc, "W", 1, &w);
  }
  EXPECT_EQ(list.GetItemHeight(0), w.cy + 3);
  list.AddString("");
  list.AddString("http://a.example/ - first");
  list.AddString("http://b.example/some/longer/address - second");
  const int h = list.GetItemHeight(0);
  PumpMessages();

  // Unselected: the empty item is only filled with the background.
  for (int x = 0; x < 100; ++x)
    for (int y = 0; y < h; ++y) ASSERT_EQ(ClientPixel(list, x, y), RGB(255, 255, 255)) << x << "," << y;

  list.SetSelectionBackground(RGB(99, 148, 227));
  list.SetSelectionFrame(RGB(100, 115, 135));
  list.SetSelectionText(RGB(255, 255, 255));
  list.SetCurSel(0);
  PumpMessages();
  EXPECT_EQ(ClientPixel(list, 0, 0), RGB(100, 115, 135));
  for (int x = 1; x < 100; ++x) ASSERT_EQ(ClientPixel(list, x, h / 2), RGB(99, 148, 227)) << x;

  list.SetCurSel(1);
  PumpMessages();
  EXPECT_EQ(ClientPixel(list, 1, h + 1), RGB(99, 148, 227));
  int textPixels = 0;
  for (int x = 4; x < 100; ++x)
    for (int y = h + 1; y < 2 * h - 1; ++y) textPixels += ClientPixel(list, x, y) == RGB(255, 255, 255);
  EXPECT_GT(textPixels, 10);
  int left = -1;
  for (int x = 0; x < 20 && left < 0; ++x)
    for (int y = h + 1; y < 2 * h - 1 && left < 0; ++y)
      if (ClientPixel(list, x, y) == RGB(255, 255, 255)) left = x;
  EXPECT_GE(left, 4);

  // A tab inside a line is drawn as a blank, never as the font's box.
  list.SetCurSel(-1);
  list.AddString("http://a.example/\tx - y");
  list.AddString("http://a.example/ x - y");
  PumpMessages();
  for (int x = 0; x < 290; ++x)
    for (int y = 0; y < h; ++y)
      ASSERT_EQ(ClientPixel(list, x, 3 * h + y), ClientPixel(list, x, 4 * h + y)) << x << "," << y;

  list.SetItemHeight(22);
  EXPECT_EQ(list.GetItemHeight(0), 22);

  list.UpdateHorizontalExtent();
  SIZE widest;
  {
    krx::CClientDC dc(list);
    krx::CSelect useFont(dc, list.GetFont());
    const std::string s = "http://b.example/some/longer/address - second";
    GetTextExtentPoint32A(dc, s.c_str(), int(s.size()), &widest);
  }
  EXPECT_EQ(list.SendMessage(LB_GETHORIZONTALEXTENT), widest.cx + 10);

  list.ResetContent();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetLastSelection(), -1);

  // A variable-height list box asks for each item as it is added; the
  // question reaches the object through its parent.
  CSkinListBox variable;
  ASSERT_TRUE(variable.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, {10, 220, 310, 300},
                              owner, 1006));
  variable.AddString("Tall enough?");
  EXPECT_EQ(variable.GetItemHeight(0), w.cy + 3);
  variable.SetItemHeight(30);
  variable.AddString("");
  EXPECT_EQ(variable.GetItemHeight(1), 30);
}

}  // namespace
