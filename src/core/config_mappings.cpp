#include "core/config_mappings.h"

namespace krx {

const std::array<HotkeyEntry, 2> kPauseKeyEntries = {{{"CTRL", 17}, {"ATL", 18}}};
const std::array<HotkeyEntry, 4> kShowHideKeyEntries = {{{"F7", 118}, {"F8", 119}, {"F9", 120}, {"F12", 123}}};

std::vector<HotkeyEntry> HotkeyEntries(HotkeyList list) {
  if (list == HotkeyList::kPause) return {kPauseKeyEntries.begin(), kPauseKeyEntries.end()};
  return {kShowHideKeyEntries.begin(), kShowHideKeyEntries.end()};
}

Setting HotkeySetting(HotkeyList list) {
  switch (list) {
    case HotkeyList::kPause: return kPauseModifier;
    case HotkeyList::kFlash: return kFlashKey;
    case HotkeyList::kGif: return kGifKey;
  }
  return kFlashKey;
}

int HotkeySelection(HotkeyList list, int value) {
  std::vector<HotkeyEntry> entries = HotkeyEntries(list);
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].value == value) return int(i);
  }
  return -1;
}

int HotkeyValueFor(HotkeyList list, int selection, int current) {
  std::vector<HotkeyEntry> entries = HotkeyEntries(list);
  if (selection < 0 || size_t(selection) >= entries.size()) return current;
  return entries[size_t(selection)].value;
}

const std::array<ThemeButton, 7> kThemeButtons = {{{1007, "Sky", 1},
                                                   {1003, "Blue", 6},
                                                   {1006, "Lime", 2},
                                                   {1001, "Green", 7},
                                                   {1004, "Licorice", 4},
                                                   {1005, "Orange", 3},
                                                   {1002, "Silver", 5}}};

int ThemeForCommand(int commandId) {
  for (const ThemeButton& b : kThemeButtons) {
    if (b.commandId == commandId) return b.themeIndex;
  }
  return 0;
}

const char kConfigHelpTopic[] = "Kestrelix.chm::/Configuration.htm";

namespace {

struct OptionBox {
  Setting setting;
  const char* text;
};

const OptionBox kLeftColumn[] = {
    {kPopupBlocking, "Enable popup block. (Block popup from IE)"},
    {kBlockLog, "Enable block log. (Record popup blocked)"},
    {kVisitLog, "Enable visit log. (Record web page visited)"},
    {kDetailedVisitLog, "Enable detailed visit log. (Record hiding visit)"},
    {kFlashLog, "Enable flash log. (Record flash loaded in IE)"},
    {kMediaLog, "Enable media log. (Record movie played in IE)"},
    {kPasswordOnShow, "Need password when show me from tray bar."},
    {kMatchDomain, "Match domain name for forbidden control."},
    {kBlockStatusMessage, "Show popup block messege in IE status bar."},
};

const OptionBox kRightColumn[] = {
    {kBlockSound, "Notify by a sound when block popup."},
    {kForbiddenStatusMessage, "Show forbidden messege in IE status bar."},
    {kToolbarButton, "Show Kestrelix in the toolbar of IE."},
    {kCheckOnClose, "Check popup on closing IE."},
    {kExcludeForbidden, "Exclude the forbidden list."},
    {kAutorun, "Auto run at windows startup."},
};

struct HotkeyRow {
  HotkeyList list;
  const char* label;
};

const HotkeyRow kHotkeyRows[] = {
    {HotkeyList::kPause, "Hotkey to pause popup block:"},
    {HotkeyList::kFlash, "Hotkey to hide/show(CTRL) flash:"},
    {HotkeyList::kGif, "Hotkey to hide/show(CTRL) GIF:"},
};

// The top of the first option row and the step between rows.
constexpr int kRowTop = 57;
constexpr int kRowStep = 23;
constexpr int kRowHeight = 18;
// A drop-down list's window includes its dropped part.
constexpr int kDropListHeight = 120;

const int kThemeButtonX[7][2] = {{50, 105},  {110, 165}, {170, 225}, {230, 285},
                                 {295, 355}, {370, 430}, {445, 505}};

}  // namespace

const std::array<Setting, 15> kOptionBoxSettings = {
    kPopupBlocking, kBlockLog,   kVisitLog,   kDetailedVisitLog,       kFlashLog,
    kMediaLog,      kPasswordOnShow, kMatchDomain, kBlockStatusMessage, kBlockSound,
    kForbiddenStatusMessage, kToolbarButton, kCheckOnClose, kExcludeForbidden, kAutorun};

const std::array<Setting, 13> kOkFirstReads = {
    kAutorun,       kPopupBlocking, kBlockLog,     kFlashLog,   kVisitLog,
    kDetailedVisitLog, kPasswordOnShow, kToolbarButton, kCheckOnClose, kMatchDomain,
    kForbiddenStatusMessage, kMediaLog, kExcludeForbidden};
const std::array<Setting, 2> kOkLaterReads = {kBlockStatusMessage, kBlockSound};

std::vector<ConfigControl> ConfigDialogControls(int w) {
  using K = ConfigControlKind;
  std::vector<ConfigControl> c;
  auto add = [&c](K kind, std::string text, int id, ControlRect r, int setting = kNoSetting,
                  HotkeyList list = HotkeyList::kPause) { c.push_back({kind, std::move(text), id, r, setting, list}); };

  add(K::kGroupBox, "", 0, {20, 37, w - 18, 277});
  add(K::kCheckBox, "Enable Kestrelix", kEnableCheckBoxId, {30, 35, 145, 53}, kAddOnEnabled);
  int top = kRowTop;
  for (const OptionBox& box : kLeftColumn) {
    add(K::kCheckBox, box.text, 0, {30, top, 315, top + kRowHeight}, box.setting);
    top += kRowStep;
  }
  top = kRowTop;
  for (const OptionBox& box : kRightColumn) {
    add(K::kCheckBox, box.text, 0, {320, top, w - 25, top + kRowHeight}, box.setting);
    top += kRowStep;
  }
  const int labelTops[3] = {199, 225, 251};
  for (int i = 0; i < 3; ++i) {
    const HotkeyRow& row = kHotkeyRows[i];
    add(K::kLabel, row.label, 0, {320, labelTops[i], 510, labelTops[i] + 16});
    int listTop = labelTops[i] - 2;
    // Up to the frame's inner edge: "CTRL" needs 34 of the field's pixels
    // (28 in Tahoma here, and a margin), which ended 5 pixels short.
    add(K::kDropList, "", 0, {511, listTop, w - 20, listTop + kDropListHeight}, HotkeySetting(row.list), row.list);
  }
  add(K::kGroupBox, "Theme Select", 0, {20, 297, w - 18, 345});
  for (int i = 0; i < 7; ++i) {
    add(K::kRadioButton, kThemeButtons[size_t(i)].text, kThemeButtons[size_t(i)].commandId,
        {kThemeButtonX[i][0], 317, kThemeButtonX[i][1], 335});
  }
  add(K::kPushButton, "Change Password", kChangePasswordId, {30, 356, 160, 379});
  add(K::kPushButton, "&Help", kConfigHelpId, {w - 235, 356, w - 170, 379});
  add(K::kPushButton, "&OK", 1, {w - 160, 356, w - 95, 379});
  add(K::kPushButton, "&Cancel", 2, {w - 85, 356, w - 20, 379});
  return c;
}

}  // namespace krx
