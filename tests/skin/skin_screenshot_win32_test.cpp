// Pictures of the controls in three themes, for a person to look at: check
// boxes and a radio group, an open popup menu. They go to
// $KRX_SCREENSHOT_DIR when set, else to a temporary folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/theme_table.h"
#include "framework/dialog.h"
#include "framework/dialog_template.h"
#include "framework/gdi.h"
#include "resource.h"
#include "skin/mac_check_box.h"
#include "skin/mac_radio_button.h"
#include "skin/skin_menu.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"

namespace {

using krx_test::PumpMessages;

// A dialog in a theme's background, as the skinned dialog colours its
// controls.
class ThemedHost : public krx::CDialog {
 public:
  explicit ThemedHost(int theme) : brush(CreateSolidBrush(krx::GetThemeColours(theme)[1])), theme_(theme) {}
  krx::CBrush brush;

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (msg == WM_CTLCOLORDLG || msg == WM_CTLCOLORBTN || msg == WM_CTLCOLORSTATIC) {
      SetBkColor(HDC(wParam), krx::GetThemeColours(theme_)[1]);
      result = LRESULT(brush.Get());
      return true;
    }
    return krx::CDialog::OnMessage(msg, wParam, lParam, result);
  }

 private:
  int theme_;
};

std::string OutputFolder(const krx_test::TempFolder& temp) {
  const char* dir = std::getenv("KRX_SCREENSHOT_DIR");
  if (!dir || !*dir) return temp.path();
  std::string out = dir;
  if (out.back() != '\\' && out.back() != '/') out += '\\';
  return out;
}

const char* ThemeFile(int theme) { return theme == 1 ? "sky" : theme == 3 ? "orange" : "blue"; }

class SkinScreenshotTest : public ::testing::TestWithParam<int> {
 protected:
  krx_test::TempFolder temp;
};

TEST_P(SkinScreenshotTest, CheckBoxesAndRadioGroup) {
  const int theme = GetParam();
  ThemedHost host(theme);
  krx::DialogTemplate t(WS_POPUP | WS_VISIBLE | WS_BORDER | DS_SETFONT, 0, 30, 30, 200, 130, "Options", "Tahoma",
                        9);
  ASSERT_TRUE(host.CreateIndirect(t.Get(), nullptr));
  SetWindowPos(host, nullptr, 40, 40, 330, 220, SWP_NOZORDER);
  const DWORD child = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  std::vector<std::unique_ptr<krx::CMacCheckBox>> boxes;
  const char* labels[] = {"Start with Windows", "Ask for the password when restored", "Flat check box",
                          "Disabled option", "Text on the left"};
  const DWORD extra[] = {0, 0, BS_FLAT, 0, BS_LEFTTEXT};
  for (int i = 0; i < 5; ++i) {
    boxes.push_back(std::make_unique<krx::CMacCheckBox>());
    ASSERT_TRUE(boxes.back()->Create(labels[i], child | BS_AUTOCHECKBOX | extra[i], {12, 12 + 22 * i, 220, 30 + 22 * i},
                                     host, 1001 + i));
    boxes.back()->SetTheme(theme);
    boxes.back()->SetCheck(i != 2);
  }
  boxes[3]->EnableWindow(FALSE);
  std::vector<std::unique_ptr<krx::CMacRadioButton>> radios;
  for (int i = 1; i <= 7; ++i) {
    radios.push_back(std::make_unique<krx::CMacRadioButton>());
    ASSERT_TRUE(radios.back()->Create(krx::ThemeName(i), child | BS_AUTORADIOBUTTON | (i == 1 ? WS_GROUP : 0),
                                      {230, 12 + 22 * (i - 1), 320, 30 + 22 * (i - 1)}, host, 1100 + i));
    radios.back()->SetTheme(theme);
    radios.back()->SetCheck(i == theme);
  }
  // One radio held down, to show the pressed shading.
  SendMessageA(*radios[6], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 9));
  PumpMessages();
  EXPECT_TRUE(krx_test::SaveWindowPng(host, OutputFolder(temp) + "check-radio-" + ThemeFile(theme) + ".png"));
  SendMessageA(*radios[6], WM_LBUTTONUP, 0, MAKELPARAM(500, 9));
}

TEST_P(SkinScreenshotTest, OpenPopupMenu) {
  const int theme = GetParam();
  const krx::ThemeColours& c = krx::GetThemeColours(theme);
  ThemedHost host(theme);
  krx::DialogTemplate t(WS_POPUP | WS_VISIBLE | WS_BORDER | DS_SETFONT, 0, 30, 30, 200, 130, "Menu", "Tahoma", 9);
  ASSERT_TRUE(host.CreateIndirect(t.Get(), nullptr));
  SetWindowPos(host, nullptr, 40, 40, 260, 280, SWP_NOZORDER);
  krx::CFont font(CreateFontA(-12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma"));

  krx::CSkinMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.SetBackColour(c[1]);
  menu.SetSelectionColours(c[7], c[5], c[4]);
  menu.SetFont(font);
  menu.SetItemHeight(23);
  menu.SetItemWidth(180);
  struct Item {
    UINT id;
    const char* text;
    UINT icon;
  };
  const Item items[] = {{2210, "Show me", IDI_PROGRAM}, {2211, "Hide me", IDI_HIDE}, {0, "", 0},
                        {2212, "Configuration", IDI_ICON_133}, {2213, "Online Update", IDI_ICON_144},
                        {2214, "Without icon, checked", 0}, {0, "", 0}, {2215, "Help", IDI_ICON_130},
                        {2216, "About...", IDI_ICON_132}, {2217, "Exit", IDI_CLOSE}};
  for (const Item& item : items) {
    if (item.id == 0) {
      menu.AppendItem(MF_OWNERDRAW | MF_SEPARATOR, 0, "");
    } else {
      menu.AppendItem(MF_OWNERDRAW, item.id, item.text);
      if (item.icon) menu.SetItemIcon(item.id, item.icon);
    }
  }
  menu.CheckMenuItem(2214, MF_BYCOMMAND | MF_CHECKED);
  menu.EnableMenuItem(2213, MF_BYCOMMAND | MF_GRAYED);
  PumpMessages();

  bool saved = false;
  const std::string path = OutputFolder(temp) + "popup-menu-" + ThemeFile(theme) + ".png";
  krx_test::RunInLoop([&] {
    // Highlight the second item, as the mouse would, then take the picture.
    HWND popup = FindWindowA("#32768", nullptr);
    if (popup) {
      keybd_event(VK_DOWN, 0, 0, 0);
      keybd_event(VK_DOWN, 0, KEYEVENTF_KEYUP, 0);
    }
    krx_test::RunInLoop([&, popup] {
      if (popup) UpdateWindow(popup);
      saved = krx_test::SaveWindowPng(host, path);
      EndMenu();
    }, 150);
  }, 150);
  SetForegroundWindow(host);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, 60, 55, 0, host, nullptr);
  PumpMessages();
  EXPECT_TRUE(saved);
}

INSTANTIATE_TEST_SUITE_P(Themes, SkinScreenshotTest, ::testing::Values(1, 3, 6));

}  // namespace
