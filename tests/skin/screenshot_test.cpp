// Screenshots of the skinned dialog and the message box in every theme, for
// people to look at. KRX_SCREENSHOT_DIR names the folder (default: the
// current one); the checks here only make sure each file was written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/theme_table.h"
#include "demo_dialog.h"
#include "skin/skin_message_box.h"
#include "skin/wait_dlg.h"
#include "support/window_capture_win32.h"

namespace {

std::string ShotPath(const std::string& name) {
  const char* dir = std::getenv("KRX_SCREENSHOT_DIR");
  std::string base = dir && *dir ? std::string(dir) + "\\" : std::string();
  return base + name;
}

TEST(Screenshots, SkinnedDialogInEveryTheme) {
  for (int theme = krx::kFirstTheme; theme <= krx::kLastTheme; ++theme) {
    krx_test::DemoDialog dlg;
    dlg.SetThemeIndex(theme);
    ASSERT_TRUE(dlg.Create(129, nullptr));
    SetForegroundWindow(dlg);
    // Show the states too: the mouse over "Cancel", "Latch" latched down.
    krx_test::ClickClient(dlg.latch, 10, 10);
    dlg.latch.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(300, 10));
    dlg.cancel.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    krx_test::PumpMessages();
    std::string name = std::string("skin_dialog_") + std::to_string(theme) + "_" + krx::ThemeName(theme) + ".png";
    EXPECT_TRUE(krx_test::SaveWindowPng(dlg, ShotPath(name))) << name;
  }
}

TEST(Screenshots, MessageBoxInEveryTheme) {
  for (int theme = krx::kFirstTheme; theme <= krx::kLastTheme; ++theme) {
    std::string name = std::string("message_box_") + std::to_string(theme) + "_" + krx::ThemeName(theme) + ".png";
    bool saved = false;
    krx_test::RunInLoop([&] {
      HWND box = GetActiveWindow();
      krx_test::PumpMessages();
      saved = krx_test::SaveWindowPng(box, ShotPath(name));
      krx_test::PostKey(box, VK_ESCAPE);
    });
    krx::SkinYesNoBox("Do you want to add the selected addresses to the white list? Their popup windows "
                      "will no longer be blocked.",
                      theme);
    EXPECT_TRUE(saved) << name;
  }
}

TEST(Screenshots, WaitWindow) {
  krx::CWaitDlg wait;
  wait.SetRange(0, 10);
  wait.SetText("Merging the day files...");
  wait.SetThemeIndex(5);
  ASSERT_TRUE(wait.Create(129, nullptr));
  wait.StepAndPoll(6);
  krx_test::PumpMessages();
  EXPECT_TRUE(krx_test::SaveWindowPng(wait, ShotPath("wait_window_5_Silver.png")));
}

}  // namespace
