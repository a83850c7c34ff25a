#pragma once
// The manager window's tray icon and tray menu, and the keys it handles
// itself, as data and small decisions the window only applies. The command
// ids are those of manager_views.h.
#include <array>
#include <string>

namespace krx {

// The tray icon's record for Shell_NotifyIconA; the icon id and callback
// message are in manager_views.h.
constexpr unsigned kTrayIconRecordSize = 488;
constexpr unsigned kTrayTipSize = 64;
// The shell's registered message, broadcast when the taskbar is created
// again (Explorer restarted): every tray icon must then be added anew.
constexpr char kTaskbarCreatedMessageName[] = "TaskbarCreated";

// One row of the tray menu, top to bottom; id 0 is a separator.
struct TrayMenuItem {
  unsigned id;
  const char* text;
  unsigned icon;
};
extern const std::array<TrayMenuItem, 11> kTrayMenuItems;
constexpr int kTrayMenuItemHeight = 23;
constexpr int kTrayMenuWidth = 140;

// The tip field of the tray icon record: text when it has 1 to 63
// characters, otherwise empty; the last byte is always 0.
std::array<char, kTrayTipSize> TrayTip(const std::string& text);

// Keys that the window takes before the dialog's own key handling.
enum class WindowKey { kNone, kFind, kFindAllDays, kDelete, kRefresh, kAddNewItem, kStatistics };
// Key-down of virtual key vk: F3 finds, Shift+F3 finds in all days, F5
// refreshes, F7 opens the statistics of the log, Delete deletes only while
// the item list has the focus (elsewhere it edits text).
WindowKey KeyCommand(unsigned vk, bool focusInItemList, bool shiftDown = false);
// Enter in the input box of view `view`: the two lists take the typed text
// as a new entry, the logs find it; elsewhere nothing.
WindowKey InputBoxEnterCommand(int view);

}  // namespace krx
