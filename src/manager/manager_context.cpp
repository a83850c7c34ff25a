// The context menus of the item list and the date list, drawn with the
// program's skinned menu, and what only they and their keys reach: Copy,
// Select all (Ctrl+C, Ctrl+A), the date list's Delete this day, and Find in
// all days. The toolbar commands they repeat are the toolbar's own handlers.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "core/context_menu.h"
#include "core/chosen_days.h"
#include "core/item_list.h"
#include "core/item_text.h"
#include "core/list_box_geometry.h"
#include "core/theme_table.h"
#include "core/tray_rules.h"
#include "framework/wait_cursor.h"
#include "manager/manager_dlg.h"
#include "skin/skin_message_box.h"

namespace krx {

namespace {

// Wide enough for the longest command with its icon.
constexpr int kContextMenuWidth = 200;

}  // namespace

void CManagerDlg::OnContextMenu(HWND list, POINT at) {
  const bool onDates = list == dateList_.m_hWnd;
  if (!onDates && list != itemList_.m_hWnd) return;
  CSkinListBox& box = onDates ? dateList_ : itemList_;
  // From the keyboard (Shift+F10, the menu key) the point is (-1, -1): the
  // menu opens at the list's corner and acts on what is selected.
  const bool fromKeyboard = at.x == -1 && at.y == -1;
  if (fromKeyboard) {
    RECT r = box.GetWindowRect();
    at = {r.left + 8, r.top + 8};
  } else {
    // The line under the mouse becomes the one acted on, as a click would
    // make it, unless it is already among the selected lines.
    POINT client = at;
    ::ScreenToClient(box, &client);
    const RECT area = box.GetClientRect();
    const int line = ListLineAtPoint(PixelPoint{client.x, client.y}, area.right, area.bottom, box.GetTopIndex(),
                                     box.GetItemHeight(0), box.GetCount());
    if (line >= 0) {
      if (onDates) {
        // A day among the chosen ones keeps them all chosen.
        if (dateList_.GetSel(line) <= 0) {
          dateList_.SetCurSel(line);
          OnDateChosen();
        }
      } else if (itemList_.GetSel(line) <= 0) {
        itemList_.SetSel(-1, FALSE);
        itemList_.SetSel(line, TRUE);
        itemList_.SetCaretIndex(line, FALSE);
        OnLineChosen();
      }
    }
  }
  const std::vector<ContextMenuItem> items = onDates ? DateListMenu(CurrentView()) : ItemListMenu(CurrentView());
  if (items.empty()) return;

  contextMenu_ = std::make_unique<CSkinMenu>();
  if (!contextMenu_->CreatePopupMenu()) return;
  const ThemeColours& colours = GetThemeColours(GetTheme());
  contextMenu_->SetBackColour(colours[1]);
  contextMenu_->SetSelectionColours(colours[7], colours[5], colours[4]);
  contextMenu_->SetFont(NormalFont());
  contextMenu_->SetItemHeight(kTrayMenuItemHeight);
  contextMenu_->SetItemWidth(kContextMenuWidth);
  for (const ContextMenuItem& item : items) {
    if (item.id == 0) {
      contextMenu_->AppendItem(MF_OWNERDRAW | MF_SEPARATOR, 0, "");
      continue;
    }
    contextMenu_->AppendItem(MF_OWNERDRAW, UINT(item.id), item.text);
    if (item.icon) contextMenu_->SetItemIcon(UINT(item.id), item.icon);
  }
  contextMenu_->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, m_hWnd);
}

namespace {

// One format on the open clipboard; it owns the memory once it took it.
void PutOnClipboard(UINT format, const void* data, size_t bytes) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return;
  if (void* to = GlobalLock(memory)) {
    memcpy(to, data, bytes);
    GlobalUnlock(memory);
    if (SetClipboardData(format, memory)) return;
  }
  GlobalFree(memory);
}

}  // namespace

void CManagerDlg::OnCopy() {
  std::string text;
  for (int i = 0, n = itemList_.GetCount(); i < n; ++i) {
    if (itemList_.GetSel(i) <= 0) continue;
    if (!text.empty()) text += "\r\n";
    text += itemList_.GetText(i);
  }
  if (text.empty() || !OpenClipboard(m_hWnd)) return;
  EmptyClipboard();
  PutOnClipboard(CF_TEXT, text.c_str(), text.size() + 1);
  // A Unicode program would read CF_TEXT through the keyboard's code page,
  // not the system's that the lines are in: it gets the text converted.
  const int wide = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (wide > 0) {
    std::wstring unicode(size_t(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &unicode[0], wide);
    PutOnClipboard(CF_UNICODETEXT, unicode.c_str(), unicode.size() * sizeof(wchar_t));
  }
  CloseClipboard();
}

void CManagerDlg::OnSelectAll() {
  if (itemList_.GetCount() > 0) itemList_.SetSel(-1, TRUE);
}

// Every chosen day goes, with one question that names how many.
void CManagerDlg::OnDeleteDay() {
  const StringArray days = ChosenDays();
  if (!IsLogView(CurrentView()) || days.empty()) return;
  if (!SkinYesNoBox(DeleteDaysQuestion(days.size()), GetTheme())) return;
  // The days' records by their date key, as the date list found the days:
  // a line of another day that quotes one of them in its text stays.
  RecordCollection collection;
  if (CollectionOfView(CurrentView(), collection)) {
    RemoveRecordsOfDays(collections_[collection], days);
    // Whole days went: the first-day index is built again when next asked.
    merger_.Invalidate(collection);
  }
  const std::vector<int> chosen = dateList_.GetSelItems();
  for (auto it = chosen.rbegin(); it != chosen.rend(); ++it) dateList_.DeleteString(*it);
  dateKeys_.erase(std::remove_if(dateKeys_.begin(), dateKeys_.end(),
                                 [&days](const std::string& key) {
                                   return std::find(days.begin(), days.end(), key) != days.end();
                                 }),
                  dateKeys_.end());
  itemList_.ResetContent();
  ForgetWholeList();
  SetStatusText("");  // no day is chosen now: the next one is the user's choice
}

// Find on through the days: the rest of the chosen day below the focused
// line, then each later day in the date list, then (after asking) from the
// first day round to the chosen one. One pass over the log tells which
// days hold the text; only a day that does is listed.
void CManagerDlg::OnFindAllDays() {
  const int view = CurrentView();
  if (!IsLogView(view)) {
    OnFind();  // a list has no days: Find goes through all of it
    return;
  }
  const std::string text = inputBox_.GetWindowText();
  RecordCollection collection;
  if (text.empty() || !CollectionOfView(view, collection) || dateList_.GetCount() <= 0) return;
  const int caseSetting = settings_.Get(kCaseSensitiveFind);
  std::unordered_set<std::string> days;
  {
    WaitCursor wait;
    days = DaysContaining(collections_[collection], text, caseSetting);
  }
  if (days.empty()) {
    SkinMessageBox(kNotFound, GetTheme());
    return;
  }
  auto lineAt = [this](int i) { return itemList_.GetText(i); };
  // Lands on the first match at or after line `from` of day `day`; day -1:
  // of the days listed now.
  auto landIn = [&](int day, int from) {
    if (day >= 0 && (FocusedDay() != day || dateList_.GetSelCount() != 1)) {
      dateList_.SetCurSel(day);
      OnDateChosen();
    }
    const int line = FirstMatchFrom(itemList_.GetCount(), lineAt, text, from, caseSetting);
    if (line < 0) return false;
    itemList_.SetSel(-1, FALSE);
    itemList_.SetSel(line, TRUE);
    itemList_.SetCaretIndex(line, TRUE);
    OnLineChosen();
    return true;
  };
  // With no day chosen the search starts at the first day's first line.
  // Several chosen days are searched as listed, then the days after the
  // last of them.
  int chosen = FocusedDay();
  if (chosen >= 0) {
    const int focused = itemList_.GetSelCount() > 0 ? itemList_.GetCaretIndex() : -1;
    const std::vector<int> listed = dateList_.GetSelItems();
    if (landIn(listed.size() > 1 ? -1 : chosen, focused + 1)) return;
    if (listed.size() > 1) chosen = listed.back();
  }
  const int count = dateList_.GetCount();
  for (int day = chosen + 1; day < count; ++day)
    if (days.count(dateList_.GetText(day)) && landIn(day, 0)) return;
  if (chosen < 0 || !SkinYesNoBox(kSearchAgain, GetTheme())) return;
  for (int day = 0; day <= chosen; ++day)
    if (days.count(dateList_.GetText(day)) && landIn(day, 0)) return;
}

}  // namespace krx
