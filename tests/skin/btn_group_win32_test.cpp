// The button group in a real dialog: which grids it accepts, where the
// buttons go, and that exactly one latched button forwards its command.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/theme_table.h"
#include "framework/dialog.h"
#include "framework/dialog_template.h"
#include "framework/gdi.h"
#include "skin/mac_btn_group.h"
#include "host_dialog.h"
#include "support/window_capture_win32.h"

namespace {

using krx::NMacBtnGroup;
using krx_test::PumpMessages;

using HostDialog = krx_test::CommandRecordingDialog;

const std::vector<std::string> kLabels = {"Visits", "Blocked", "Flash", "White list", "Forbidden", "Cache", "Media"};
const std::vector<UINT> kIds = {179, 180, 181, 182, 183, 184, 185};

class BtnGroupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    krx_test::CreateHostDialog(dialog, "Group test");
  }
  int Children(HWND parent) {
    int n = 0;
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) ++n;
    return n;
  }

  HostDialog dialog;
  krx::CBrush brush{CreateSolidBrush(RGB(224, 223, 227))};
};

TEST_F(BtnGroupTest, CreateButtonsRefusesWhatDoesNotFit) {
  NMacBtnGroup unborn;
  EXPECT_FALSE(unborn.CreateButtons(kLabels, kIds, 1, 7, nullptr));  // no window yet

  NMacBtnGroup group;
  ASSERT_TRUE(group.Create({10, 10, 711, 41}, dialog, brush));
  EXPECT_EQ(group.GetDlgCtrlID(), 0xFFFF);
  std::vector<std::string> eight = kLabels;
  eight.push_back("Eighth");
  std::vector<UINT> eightIds = kIds;
  eightIds.push_back(186);
  EXPECT_FALSE(group.CreateButtons(eight, eightIds, 1, 7, nullptr));
  EXPECT_FALSE(group.CreateButtons(kLabels, eightIds, 1, 8, nullptr));
  EXPECT_FALSE(group.CreateButtons(kLabels, kIds, 0, 7, nullptr));
  EXPECT_EQ(Children(group), 0);
  EXPECT_EQ(group.GetButtonCount(), 0u);

  // A 2 x 4 grid takes seven labels, row by row, neighbours sharing a pixel.
  ASSERT_TRUE(group.CreateButtons(kLabels, kIds, 2, 4, nullptr));
  EXPECT_EQ(Children(group), 7);
  // Client 701 x 31: cells of 175 x 15.
  RECT r;
  GetWindowRect(group.FindButton(183)->m_hWnd, &r);
  MapWindowPoints(nullptr, group, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 15);
  EXPECT_EQ(r.right, 176);
  EXPECT_EQ(r.bottom, 31);
  EXPECT_EQ(group.FindButton(999), nullptr);

  // Layout spreads them over a new place.
  group.Layout(20, 50, 421, 111);
  GetWindowRect(group, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right, 421);
  EXPECT_EQ(r.bottom, 111);
  GetWindowRect(group.FindButton(182)->m_hWnd, &r);
  MapWindowPoints(nullptr, group, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 300);
  EXPECT_EQ(r.right, 401);
  EXPECT_EQ(r.bottom, 31);
}

TEST_F(BtnGroupTest, OneButtonDownAndItsCommandForwardedOnce) {
  NMacBtnGroup group;
  ASSERT_TRUE(group.Create({10, 10, 711, 41}, dialog, brush));
  ASSERT_TRUE(group.CreateButtons(kLabels, kIds, 1, 7, nullptr));
  EXPECT_EQ(group.GetSelectedId(), 0u);

  group.SelectById(181);
  EXPECT_EQ(group.GetSelectedId(), 181u);

  HWND blocked = group.FindButton(180)->m_hWnd;
  krx_test::ClickClient(blocked, 20, 10);
  PumpMessages();
  EXPECT_EQ(group.GetSelectedId(), 180u);
  EXPECT_EQ(group.FindButton(181)->GetState(), 0);
  ASSERT_EQ(dialog.commands.size(), 1u);
  EXPECT_EQ(dialog.commands[0].id, 180u);
  EXPECT_EQ(dialog.commands[0].code, 0u);
  EXPECT_EQ(dialog.commands[0].control, blocked);

  // The button already down takes no second click.
  krx_test::ClickClient(blocked, 20, 10);
  PumpMessages();
  EXPECT_EQ(dialog.commands.size(), 1u);
  EXPECT_EQ(group.GetSelectedId(), 180u);

  // Re-theming swaps the class background brush.
  krx::CBrush lime(CreateSolidBrush(krx::GetThemeColours(2)[1]));
  group.SetTheme(lime, 2);
  EXPECT_EQ(HBRUSH(GetClassLongPtrA(group, GCLP_HBRBACKGROUND)), lime.Get());
  group.SetTheme(brush, 5);
}

// A selector created small and then laid out: each tip answers over the
// whole button, not only where the button was when the tip was made.
TEST_F(BtnGroupTest, TooltipsCoverEachButtonAfterLayout) {
  NMacBtnGroup group;
  ASSERT_TRUE(group.Create({0, 0, 148, 22}, dialog, brush));  // cells of 21 x 21
  ASSERT_TRUE(group.CreateButtons(kLabels, kIds, 1, 7, nullptr));
  group.Layout(10, 10, 711, 41);  // now 100 x 30 each
  for (size_t i = 0; i < kIds.size(); ++i) {
    krx::CMacButton* button = group.FindButton(kIds[i]);
    ASSERT_NE(button->TooltipWindow(), nullptr);
    for (POINT at : {POINT{5, 5}, POINT{60, 15}, POINT{99, 29}}) {
      TTHITTESTINFOA hit = {};
      hit.hwnd = button->m_hWnd;
      hit.pt = at;
      hit.ti.cbSize = TTTOOLINFOA_V2_SIZE;
      char text[80] = {};
      hit.ti.lpszText = text;
      EXPECT_TRUE(SendMessageA(button->TooltipWindow(), TTM_HITTESTA, 0, LPARAM(&hit)))
          << kLabels[i] << " at " << at.x << "," << at.y;
    }
  }
}

}  // namespace
