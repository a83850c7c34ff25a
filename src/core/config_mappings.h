#pragma once
// What the configuration dialog shows and how its controls map to the
// values of KRX.cfg: the hotkey lists, the theme buttons and the table of
// every control with its text, id and place. The window only creates what
// this table says and copies values through these mappings.
#include <array>
#include <string>
#include <vector>

#include "core/settings_file.h"

namespace krx {

// ----- hotkey lists -----
struct HotkeyEntry {
  const char* text;
  int value;  // virtual-key code stored in the file
};
// "ATL" is what users of the add-on have always seen in this list.
extern const std::array<HotkeyEntry, 2> kPauseKeyEntries;     // CTRL 17, ATL 18
extern const std::array<HotkeyEntry, 4> kShowHideKeyEntries;  // F7 118, F8 119, F9 120, F12 123

enum class HotkeyList { kPause, kFlash, kGif };
std::vector<HotkeyEntry> HotkeyEntries(HotkeyList list);
Setting HotkeySetting(HotkeyList list);
// The list index showing value, or -1: a value of no entry shows no selection.
int HotkeySelection(HotkeyList list, int value);
// The value for a selected index; a list without selection (or an index
// out of range) leaves current as it is.
int HotkeyValueFor(HotkeyList list, int selection, int current);

// ----- theme buttons -----
struct ThemeButton {
  int commandId;
  const char* text;
  int themeIndex;
};
// In the order the buttons stand, left to right.
extern const std::array<ThemeButton, 7> kThemeButtons;
// The theme index of a theme button's command id, or 0 for any other id.
int ThemeForCommand(int commandId);

// ----- the dialog -----
constexpr int kConfigDialogWidth = 595;
constexpr int kConfigDialogHeight = 390;
constexpr int kEnableCheckBoxId = 1101;
constexpr int kChangePasswordId = 1010;
constexpr int kConfigHelpId = 1011;
// The dialog's help topic inside the program's help file.
extern const char kConfigHelpTopic[];  // "Kestrelix.chm::/Configuration.htm"

enum class ConfigControlKind { kGroupBox, kCheckBox, kLabel, kDropList, kRadioButton, kPushButton };

struct ControlRect {
  int left, top, right, bottom;
  bool operator==(const ControlRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

constexpr int kNoSetting = -1;
struct ConfigControl {
  ConfigControlKind kind;
  std::string text;
  int id;             // 0 for controls the dialog never addresses by id
  ControlRect rect;   // client pixels
  int setting;        // the Setting a check box or list stands for, else kNoSetting
  HotkeyList list;    // for kDropList only
};

// Every control of the dialog in creation order, placed for a client area
// clientWidth pixels wide.
std::vector<ConfigControl> ConfigDialogControls(int clientWidth);

// The fifteen option boxes that the enable box greys, in creation order.
extern const std::array<Setting, 15> kOptionBoxSettings;

// What OK reads from the boxes before the toolbar button is applied, and
// after it. Everything else on the dialog is set while it is open.
extern const std::array<Setting, 13> kOkFirstReads;
extern const std::array<Setting, 2> kOkLaterReads;

}  // namespace krx
