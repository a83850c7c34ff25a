// Screenshots of the skinned dialog and the message box in every theme, for
// people to look at. KRX_SCREENSHOT_DIR names the folder (default: the
// current one); the checks here only make sure each file was written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/theme_table.h"
#include "demo_dialog.h"
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
    krx_test::PumpMessages();
    std::string name = std::string("skin_dialog_") + std::to_string(theme) + "_" + krx::ThemeName(theme) + ".png";
    EXPECT_TRUE(krx_test::SaveWindowPng(dlg, ShotPath(name))) << name;
  }
}

}  // namespace
