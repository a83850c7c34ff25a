#include "core/context_menu.h"

#include "core/manager_layout.h"
#include "core/chosen_days.h"
#include "core/manager_views.h"
#include "core/quick_filter.h"

namespace krx {

namespace {

// The toolbar commands a menu may repeat, in the menu's order, with the
// slot whose visibility decides and the button's own icon.
struct ToolbarEntry {
  ManagerSlot slot;
  ContextMenuItem item;
};
const ToolbarEntry kToolbarEntries[] = {
    {kSlotVisitPlay, {kIdVisitPlay, "Visit/Play", 218}},
    {kSlotFind, {kIdFind, "Find", 139}},
    {kSlotDelete, {kIdDelete, "Delete", 178}},
    {kSlotAddToWhite, {kIdAddToWhite, "Add to White list", 180}},
    {kSlotAddToForbidden, {kIdAddToForbidden, "Add to forbidden list", 177}},
    {kSlotSaveFlash, {kIdSaveFlash, "Save flash", 190}},
    {kSlotDeleteCacheFiles, {kIdDeleteCacheFiles, "Delete cache files", 200}},
};

constexpr ContextMenuItem kSeparator = {0, "", 0};
constexpr ContextMenuItem kFindAllDays = {kIdFindAllDays, "Find in all days (Shift+F3)", 139};
constexpr ContextMenuItem kExport = {kIdExport, "Export...", 0};

}  // namespace

std::vector<ContextMenuItem> ItemListMenu(int view) {
  std::vector<ContextMenuItem> menu;
  if (!IsView(view)) return menu;
  // Any size shows the same buttons; this one is the window's default.
  const ManagerLayout layout = LayoutManager(view, 640, 480, 634);
  for (const ToolbarEntry& e : kToolbarEntries)
    if (layout[e.slot].shown) menu.push_back(e.item);
  if (IsLogView(view) || IsListView(view)) menu.push_back(kFindAllDays);
  menu.push_back(kSeparator);
  menu.push_back({kIdCopy, "Copy", 0});
  menu.push_back({kIdSelectAll, "Select all", 0});
  if (HasQuickFilter(view)) menu.push_back({kIdShowQuickFilter, "Quick filter (Ctrl+Q)", 0});
  if (IsLogView(view) || IsListView(view)) {
    menu.push_back(kSeparator);
    menu.push_back(kExport);
  }
  if (IsLogView(view)) menu.push_back({kIdGroupBySite, "Group by site (Ctrl+G)", 0});
  return menu;
}

std::vector<ContextMenuItem> DateListMenu(int view) {
  if (!IsLogView(view)) return {};
  return {{kIdLast7Days, "Last 7 days", 0}, {kIdLast30Days, "Last 30 days", 0}, {kIdAllDays, "All days", 0}, kSeparator,
          {kIdDeleteDay, "Delete this day", 178}, kFindAllDays, kSeparator, {kIdExportDay, "Export this day...", 0},
          kExport, kSeparator, {kIdStatistics, "Statistics... (F7)", 0}};
}

ListKey ListKeyCommand(unsigned vk, bool ctrlDown, bool focusInItemList) {
  if (ctrlDown && vk == 'G') return ListKey::kGroupBySite;
  if (!ctrlDown || !focusInItemList) return ListKey::kNone;
  if (vk == 'C') return ListKey::kCopy;
  if (vk == 'A') return ListKey::kSelectAll;
  return ListKey::kNone;
}

}  // namespace krx
