// The configuration dialog's table and value mappings.
#include <gtest/gtest.h>

#include <set>

#include "core/config_mappings.h"

using namespace krx;

TEST(ConfigMappings, HotkeyListsMapBothWaysAndUnknownValuesShowNoSelection) {
  EXPECT_EQ(HotkeySelection(HotkeyList::kPause, 18), 1);
  EXPECT_EQ(HotkeySelection(HotkeyList::kFlash, 123), 3);
  EXPECT_EQ(HotkeySelection(HotkeyList::kGif, 118), 0);
  EXPECT_EQ(HotkeySelection(HotkeyList::kFlash, 121), -1);
  EXPECT_EQ(HotkeySelection(HotkeyList::kPause, 120), -1);
  for (HotkeyList list : {HotkeyList::kPause, HotkeyList::kFlash, HotkeyList::kGif}) {
    std::vector<HotkeyEntry> entries = HotkeyEntries(list);
    for (size_t i = 0; i < entries.size(); ++i) {
      EXPECT_EQ(HotkeySelection(list, HotkeyValueFor(list, int(i), 0)), int(i));
    }
    // No selection (or a stale index) keeps whatever the setting held.
    EXPECT_EQ(HotkeyValueFor(list, -1, 121), 121);
    EXPECT_EQ(HotkeyValueFor(list, int(entries.size()), 121), 121);
  }
  EXPECT_STREQ(kPauseKeyEntries[1].text, "ATL");
}

TEST(ConfigMappings, ThemeButtonsCoverTheSevenThemesOnce) {
  std::set<int> themes;
  for (const ThemeButton& b : kThemeButtons) {
    EXPECT_EQ(ThemeForCommand(b.commandId), b.themeIndex);
    themes.insert(b.themeIndex);
  }
  EXPECT_EQ(themes, (std::set<int>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(ThemeForCommand(1005), 3);  // Orange
  EXPECT_EQ(ThemeForCommand(1000), 0);
  EXPECT_EQ(ThemeForCommand(1008), 0);
}

TEST(ConfigMappings, EveryOptionHasOneBoxAndNoTwoControlsOverlap) {
  const int w = kConfigDialogWidth - 6;
  std::vector<ConfigControl> controls = ConfigDialogControls(w);
  ASSERT_EQ(controls.size(), 35u);

  std::multiset<int> boxed;
  for (const ConfigControl& c : controls) {
    if (c.kind == ConfigControlKind::kCheckBox || c.kind == ConfigControlKind::kDropList) boxed.insert(c.setting);
  }
  // Every setting has exactly one control, but the six the dialog never
  // shows: the theme has its buttons, the rest are kept for the manager.
  std::set<int> hidden = {kThemeIndex, kCaseSensitiveFind, kSpareValue, kWindowWidth, kWindowHeight, kLastView};
  for (int s = 0; s < kSettingCount; ++s) EXPECT_EQ(boxed.count(s), hidden.count(s) ? 0u : 1u) << kSettingNames[size_t(s)];
  std::set<int> greyed(kOptionBoxSettings.begin(), kOptionBoxSettings.end());
  EXPECT_EQ(greyed.size(), 15u);
  EXPECT_EQ(greyed.count(kAddOnEnabled), 0u);
  std::set<int> okReads(kOkFirstReads.begin(), kOkFirstReads.end());
  okReads.insert(kOkLaterReads.begin(), kOkLaterReads.end());
  EXPECT_EQ(okReads, greyed);

  // Group boxes contain their controls; the rest stand apart. A drop-down
  // list counts by its closed height.
  auto box = [](const ConfigControl& c) {
    ControlRect r = c.rect;
    if (c.kind == ConfigControlKind::kDropList) r.bottom = r.top + 21;
    return r;
  };
  for (size_t i = 0; i < controls.size(); ++i) {
    ControlRect a = box(controls[i]);
    EXPECT_LT(a.left, a.right);
    EXPECT_LE(a.right, w);
    EXPECT_LE(a.bottom, kConfigDialogHeight);
    if (controls[i].kind == ConfigControlKind::kGroupBox) continue;
    for (size_t j = i + 1; j < controls.size(); ++j) {
      if (controls[j].kind == ConfigControlKind::kGroupBox) continue;
      ControlRect b = box(controls[j]);
      bool apart = a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
      EXPECT_TRUE(apart) << controls[i].text << " / " << controls[j].text;
    }
  }
  EXPECT_EQ(controls.back().rect, (ControlRect{w - 85, 356, w - 20, 379}));
}
