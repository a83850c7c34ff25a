// Owner-drawn menu items reach the CMenu that holds them, through the
// owner window's default handling.
#include <gtest/gtest.h>

#include "framework/menu.h"
#include "framework/wnd.h"

namespace {

class DrawnMenu : public krx::CMenu {
 public:
  int drawn = 0, measured = 0;

 protected:
  bool DrawItem(const DRAWITEMSTRUCT&) override {
    ++drawn;
    return true;
  }
  bool MeasureItem(MEASUREITEMSTRUCT& item) override {
    ++measured;
    item.itemWidth = 100;
    item.itemHeight = 20;
    return true;
  }
};

class Owner : public krx::CWnd {
 public:
  int sawDrawItem = 0;

 protected:
  bool OnMessage(UINT msg, WPARAM, LPARAM, LRESULT&) override {
    sawDrawItem += msg == WM_DRAWITEM;
    return false;
  }
};

TEST(Menu, OwnerDrawnItemsReachTheirMenu) {
  ASSERT_TRUE(krx::CWnd::RegisterWndClass("KrxMenuOwner", 0));
  Owner owner;
  ASSERT_TRUE(owner.CreateEx(0, "KrxMenuOwner", "", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0));
  DrawnMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.AppendMenu(MF_OWNERDRAW, 2215, nullptr);
  EXPECT_EQ(krx::CMenu::FromHandle(menu), &menu);

  MEASUREITEMSTRUCT measure = {};
  measure.CtlType = ODT_MENU;
  measure.itemID = 2215;
  EXPECT_EQ(owner.SendMessage(WM_MEASUREITEM, 0, LPARAM(&measure)), TRUE);
  EXPECT_EQ(menu.measured, 1);
  EXPECT_EQ(measure.itemHeight, 20u);

  DRAWITEMSTRUCT draw = {};
  draw.CtlType = ODT_MENU;
  draw.itemID = 2215;
  draw.hwndItem = reinterpret_cast<HWND>(menu.m_hMenu);
  EXPECT_EQ(owner.SendMessage(WM_DRAWITEM, 0, LPARAM(&draw)), TRUE);
  EXPECT_EQ(menu.drawn, 1);
  EXPECT_EQ(owner.sawDrawItem, 0);

  // A menu that was destroyed is no longer found.
  HMENU handle = menu.m_hMenu;
  menu.DestroyMenu();
  EXPECT_EQ(krx::CMenu::FromHandle(handle), nullptr);
  draw.hwndItem = reinterpret_cast<HWND>(handle);
  owner.SendMessage(WM_DRAWITEM, 0, LPARAM(&draw));
  EXPECT_EQ(owner.sawDrawItem, 1);
}

}  // namespace
