#pragma once
// The context menus of the manager window's two lists: which commands each
// view offers there, in what order, with which text and icon. The item
// list's menu repeats the toolbar commands the view shows (so a command is
// never offered where its button is hidden) and adds the commands that have
// no button. The window builds its skinned menu from these rows.
#include <vector>

namespace krx {

// Commands that only the context menus and keys reach. Outside the control
// ids (1000-1027), the views (179-185) and the tray menu (2210-2219).
enum ContextCommandId : int {
  kIdCopy = 2230,          // the selected lines as text on the clipboard (Ctrl+C)
  kIdSelectAll = 2231,     // every line of the item list (Ctrl+A)
  kIdDeleteDay = 2232,     // every line of the chosen day
  kIdExport = 2233,        // the whole log or list to a file
  kIdExportDay = 2235,     // the chosen day to a file
  kIdFindAllDays = 2234,   // Find through every day of the log
  kIdStatistics = 2236,    // the Statistics window of the log (F7)
  kIdGroupBySite = 2237,   // the grouped view of the chosen days (Ctrl+G)
};

struct ContextMenuItem {
  int id;            // 0: a separator
  const char* text;
  unsigned icon;     // icon resource, 0 for none
};

// The item list's menu in view `view`.
std::vector<ContextMenuItem> ItemListMenu(int view);
// The date list's menu in log view `view` (empty in the other views).
std::vector<ContextMenuItem> DateListMenu(int view);

// Ctrl with a letter in the item list; Ctrl+G (group by site) anywhere in
// the window.
enum class ListKey { kNone, kCopy, kSelectAll, kGroupBySite };
ListKey ListKeyCommand(unsigned vk, bool ctrlDown, bool focusInItemList);

}  // namespace krx
