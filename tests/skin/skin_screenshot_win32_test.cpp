// Pictures of the second half of the toolkit in three themes, for people to
// look at: check boxes and a radio group, an open popup menu, and a button
// group above a list box with a selection. KRX_SCREENSHOT_DIR names the
// folder (default: a temporary one); the checks only make sure each file
// was written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/theme_table.h"
#include "resource.h"
#include "skin/mac_btn_group.h"
#include "skin/mac_check_box.h"
#include "skin/mac_radio_button.h"
#include "skin/skin_dialog.h"
#include "skin/skin_list_box.h"
#include "skin/skin_menu.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"

namespace {

using krx_test::PumpMessages;

// A skinned dialog whose controls a test adds after the chrome is built.
class ShotDialog : public krx::CSkinDialog {
 public:
  ShotDialog(const char* title, int width, int height, std::function<void(ShotDialog&)> build)
      : title_(title), width_(width), height_(height), build_(std::move(build)) {}

  BOOL OnInitDialog() override {
    SetWindowText(title_);
    MoveWindow(40, 40, width_, height_);
    krx::CSkinDialog::OnInitDialog();
    build_(*this);
    return TRUE;
  }

 private:
  const char* title_;
  int width_, height_;
  std::function<void(ShotDialog&)> build_;
};

class SkinScreenshotTest : public ::testing::TestWithParam<int> {
 protected:
  std::string Path(const char* scene) const {
    const int theme = GetParam();
    const char* dir = std::getenv("KRX_SCREENSHOT_DIR");
    const std::string base = dir && *dir ? std::string(dir) + "\\" : temp.path();
    return base + scene + "_" + std::to_string(theme) + "_" + krx::ThemeName(theme) + ".png";
  }
  krx_test::TempFolder temp;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

TEST_P(SkinScreenshotTest, CheckBoxesAndRadioGroup) {
  const int theme = GetParam();
  std::vector<std::unique_ptr<krx::CMacCheckBox>> boxes;
  std::vector<std::unique_ptr<krx::CMacRadioButton>> radios;
  ShotDialog dlg("Options", 360, 230, [&](ShotDialog& d) {
    const char* labels[] = {"Start with Windows", "Ask password on restore", "Flat check box", "Disabled option",
                            "Text on the left"};
    const DWORD extra[] = {0, 0, BS_FLAT, 0, BS_LEFTTEXT};
    for (int i = 0; i < 5; ++i) {
      boxes.push_back(std::make_unique<krx::CMacCheckBox>());
      auto& box = *boxes.back();
      box.Create(labels[i], kChild | BS_AUTOCHECKBOX | extra[i], {16, 40 + 24 * i, 196, 58 + 24 * i}, d, 1001 + i);
      box.SetFont(d.NormalFont());
      box.SetTheme(theme);
      box.SetCheck(i != 2);
    }
    boxes[3]->EnableWindow(FALSE);
    for (int i = 1; i <= 7; ++i) {
      radios.push_back(std::make_unique<krx::CMacRadioButton>());
      auto& radio = *radios.back();
      radio.Create(krx::ThemeName(i), kChild | BS_AUTORADIOBUTTON | (i == 1 ? WS_GROUP : 0),
                   {230, 40 + 24 * (i - 1), 340, 58 + 24 * (i - 1)}, d, 1100 + i);
      radio.SetFont(d.NormalFont());
      radio.SetTheme(theme);
      radio.SetCheck(i == theme);
    }
  });
  dlg.SetThemeIndex(theme);
  ASSERT_TRUE(dlg.Create(129, nullptr));
  SetForegroundWindow(dlg);
  // One radio button held down, to show the pressed shading.
  SendMessageA(*radios[theme == 7 ? 0 : 6], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 9));
  PumpMessages();
  EXPECT_TRUE(krx_test::SaveWindowPng(dlg, Path("check_radio")));
  SendMessageA(*radios[theme == 7 ? 0 : 6], WM_LBUTTONUP, 0, MAKELPARAM(500, 9));
}

TEST_P(SkinScreenshotTest, OpenPopupMenu) {
  const int theme = GetParam();
  const krx::ThemeColours& c = krx::GetThemeColours(theme);
  ShotDialog dlg("Tray menu", 260, 300, [](ShotDialog&) {});
  dlg.SetThemeIndex(theme);
  ASSERT_TRUE(dlg.Create(129, nullptr));

  krx::CSkinMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.SetBackColour(c[1]);
  menu.SetSelectionColours(c[7], c[5], c[4]);
  menu.SetFont(dlg.NormalFont());
  menu.SetItemHeight(23);
  menu.SetItemWidth(180);
  struct Item {
    UINT id;
    const char* text;
    UINT icon;
  };
  const Item items[] = {{2210, "Show me", IDI_PROGRAM},    {2211, "Hide me", IDI_HIDE},
                        {0, "", 0},                         {2212, "Configuration", IDI_ICON_133},
                        {2213, "Online Update", IDI_ICON_144}, {2214, "Checked, no icon", 0},
                        {0, "", 0},                         {2215, "Help", IDI_ICON_130},
                        {2216, "About...", IDI_ICON_132},   {2217, "Exit", IDI_CLOSE}};
  for (const Item& item : items) {
    if (item.id == 0) {
      menu.AppendItem(MF_OWNERDRAW | MF_SEPARATOR, 0, "");
      continue;
    }
    menu.AppendItem(MF_OWNERDRAW, item.id, item.text);
    if (item.icon) menu.SetItemIcon(item.id, item.icon);
  }
  menu.CheckMenuItem(2214, MF_BYCOMMAND | MF_CHECKED);
  menu.EnableMenuItem(2213, MF_BYCOMMAND | MF_GRAYED);
  SetForegroundWindow(dlg);
  PumpMessages();

  bool saved = false;
  const std::string path = Path("popup_menu");
  krx_test::RunInLoop(
      [&] {
        // Highlight the second item, as the keyboard would, then take the picture.
        for (int i = 0; i < 2; ++i) {
          keybd_event(VK_DOWN, 0, 0, 0);
          keybd_event(VK_DOWN, 0, KEYEVENTF_KEYUP, 0);
        }
        krx_test::RunInLoop(
            [&] {
              saved = krx_test::SaveWindowPng(dlg, path);
              EndMenu();
            },
            200);
      },
      150);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, 70, 75, 0, dlg, nullptr);
  PumpMessages();
  EXPECT_TRUE(saved);
}

TEST_P(SkinScreenshotTest, ButtonGroupAboveListBox) {
  const int theme = GetParam();
  const krx::ThemeColours& c = krx::GetThemeColours(theme);
  krx::NMacBtnGroup group;
  krx::CSkinListBox list;
  ShotDialog dlg("Views", 560, 300, [&](ShotDialog& d) {
    group.Create({12, 36, 548, 66}, d, d.BackgroundBrush());
    group.CreateButtons({"Visits", "Blocked", "Flash", "White list", "Forbidden", "Cache", "Media"},
                        {179, 180, 181, 182, 183, 184, 185}, 1, 7, d.NormalFont());
    group.SetTheme(d.BackgroundBrush(), theme);
    group.SelectById(180);
    list.Create(kChild | WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY,
                {12, 74, 548, 288}, d, 1005);
    list.SetFont(d.NormalFont());
    list.SetSelectionBackground(c[5]);
    list.SetSelectionFrame(c[4]);
    list.SetSelectionText(c[7]);
    const char* lines[] = {
        "<2026-12-07 10:00:01> http://ads.example.com/pop?id=17 - Blocked popup",
        "<2026-12-07 10:02:44> http://news.example.org/ - Front page",
        "<2026-12-07 10:05:12> http://banner.example.net/x.html - Blocked popup",
        "<2026-12-07 10:09:30> http://shop.example.com/offer - Blocked popup",
        "",
        "<2026-12-07 10:15:03> http://video.example.com/clip - Blocked popup",
        "<2026-12-07 10:21:57> http://www.example.com/a/rather/long/address/that/needs/the/horizontal/scroll "
        "bar - Blocked popup",
    };
    for (const char* line : lines) list.AddString(line);
    list.UpdateHorizontalExtent();
    list.SetCurSel(2);
  });
  dlg.SetThemeIndex(theme);
  ASSERT_TRUE(dlg.Create(129, nullptr));
  SetForegroundWindow(dlg);
  PumpMessages();
  EXPECT_EQ(group.GetSelectedId(), 180u);
  EXPECT_TRUE(krx_test::SaveWindowPng(dlg, Path("btn_group_list")));
}

INSTANTIATE_TEST_SUITE_P(Themes, SkinScreenshotTest, ::testing::Values(1, 3, 6));

}  // namespace
