// The item commands of the manager window's toolbar and bottom row: they act
// on the current view, the item list (1008) and the input box (1012).
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "config/html_help.h"
#include "config/maker_site.h"
#include "config/update_check.h"
#include "core/item_list.h"
#include "core/item_text.h"
#include "framework/wait_cursor.h"
#include "manager/manager_dlg.h"
#include "manager/save_as_dialog.h"
#include "records/file_io.h"
#include "records/folders.h"
#include "skin/skin_message_box.h"

namespace krx {

namespace {

constexpr char kHelpFile[] = "Kestrelix.chm";

// Opening is the shell's business; whether it worked is not reported.
void OpenWithShell(const std::string& target) {
  ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOW);
}

// The focused line's text, or false when the list is empty or has none.
bool FocusedLine(const CSkinListBox& list, int& index, std::string& text) {
  if (list.GetCount() <= 0) return false;
  index = list.GetCurSel();
  if (index < 0) return false;
  text = list.GetText(index);
  return true;
}

// Selected indexes, last first: the order every many-line command uses.
std::vector<int> SelectedLastFirst(const CSkinListBox& list) {
  std::vector<int> selected = list.GetSelItems();
  return std::vector<int>(selected.rbegin(), selected.rend());
}

}  // namespace

void CManagerDlg::OnVisitPlay() {
  int index = -1;
  std::string line;
  if (!FocusedLine(itemList_, index, line)) return;
  const VisitPlan plan = PlanVisit(CurrentView(), line);
  if (plan.kind == VisitPlan::kOpen) OpenWithShell(plan.target);
  if (plan.kind == VisitPlan::kRefused) SetStatusText(VisitRefusedText(CurrentView()));
}

void CManagerDlg::OnSaveFlash() {
  int index = -1;
  std::string line;
  if (!FocusedLine(itemList_, index, line) || line.empty()) return;
  const std::string file = FlashFile(line);
  switch (FlashSourceOf(file)) {
    case FlashSource::kNothing: return;
    case FlashSource::kRefused: SetStatusText(kFlashRefusedText); return;
    case FlashSource::kWebAddress: SetStatusText(kFlashNotCachedText); return;
    case FlashSource::kLocalFile: break;
  }
  if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
    SetStatusText(kFlashNotCachedText);  // the cache let go of its copy since
    return;
  }

  SaveAsRequest request{"Flash File (*.swf)\0*.swf\0", 1, "swf", FlashSaveName(file)};
  std::string path;
  if (!ShowSaveAs(m_hWnd, request, path)) return;
  // Through a temporary file renamed into place: a copy cut short (a full
  // disk, a crash) never leaves half a movie under the chosen name.
  if (!CopyFileBytes(file, path)) SetStatusText(kFlashNotSavedText);
}

void CManagerDlg::OnDeleteItems() {
  if (itemList_.GetSelCount() <= 0) return;
  if (!SkinYesNoBox(kDeleteQuestion, GetTheme())) return;
  RemoveSelectedLines();
  RefreshStatusText();
}

// Delete's removal, also a whole day's: the selected lines leave the list
// and, each once, the view's collection. A merge never brings them back
// from their day files: it takes in only what a file gained since.
void CManagerDlg::RemoveSelectedLines() {
  std::vector<std::string> removed;
  const std::vector<int> selected = SelectedLastFirst(itemList_);
  {
    CSkinListBox::RedrawOff quiet(itemList_);
    for (int index : selected) {
      removed.push_back(itemList_.GetText(index));
      itemList_.DeleteString(index);
    }
  }
  ForgetShownLines(selected);
  // The browser-cache view keeps no collection: its lines only leave the list.
  RecordCollection collection;
  if (!CollectionOfView(CurrentView(), collection)) return;
  RemoveDeletedLines(CurrentView(), collections_[collection], removed);
  // A log's lines are its records: each took one away.
  if (IsLogView(CurrentView()))
    for (const std::string& line : removed) merger_.FirstDays(collection).Removed(line);
}

void CManagerDlg::OnFind() {
  const std::string text = inputBox_.GetWindowText();
  const int count = itemList_.GetCount();
  if (text.empty() || count <= 0) return;

  FindResult found;
  {
    WaitCursor wait;
    found = FindNext(
        count, [this](int i) { return itemList_.GetText(i); }, text, itemList_.GetCurSel(),
        settings_.Get(kCaseSensitiveFind));
  }
  if (found.kind == FindResult::kNotFound) {
    SkinMessageBox(kNotFound, GetTheme());
    return;
  }
  if (found.kind == FindResult::kAskWrap && !SkinYesNoBox(kSearchAgain, GetTheme())) return;
  itemList_.SetSel(-1, FALSE);
  itemList_.SetSel(found.line, TRUE);
  // The found line becomes the focused one, so the next Find goes on below it.
  itemList_.SetCaretIndex(found.line, TRUE);
  OnLineChosen();
}

namespace {

// Appends the address of every selected line, last first, to target; the
// number appended.
int AppendSelectedAddresses(const CSkinListBox& list, int view, StringArray& target) {
  int count = 0;
  for (int index : SelectedLastFirst(list)) {
    std::string address = ListAddress(view, list.GetText(index));
    if (address.empty()) continue;
    target.push_back(address);
    ++count;
  }
  return count;
}

}  // namespace

void CManagerDlg::OnAddToWhiteList() {
  if (itemList_.GetSelCount() <= 0) return;
  const int count = AppendSelectedAddresses(itemList_, CurrentView(), collections_[kWhiteList]);
  if (SaveList(kWhiteList)) SkinMessageBox(std::to_string(count) + " address added to the White list.", GetTheme());
}

void CManagerDlg::OnAddToForbiddenList() {
  if (itemList_.GetSelCount() <= 0) return;
  const int count = AppendSelectedAddresses(itemList_, CurrentView(), collections_[kForbiddenList]);
  if (SaveList(kForbiddenList)) {
    SkinMessageBox(std::to_string(count) + " address added to the Forbidden list.", GetTheme());
  }
}

void CManagerDlg::OnAddNewItem() {
  // Only the two lists take new entries (the button is shown in no other view).
  const int view = CurrentView();
  if (!IsListView(view)) return;
  const std::string text = inputBox_.GetWindowText();
  if (text.empty()) return;
  // The entry is checked against, and goes into, the whole list.
  ShowWholeList();
  if (ListContains(itemList_, text)) {
    ApplyQuickFilter();
    return;
  }
  itemList_.AddString(text);
  const RecordCollection list = view == IDC_TAB_WHITE ? kWhiteList : kForbiddenList;
  collections_[list].push_back(text);
  ApplyQuickFilter();
  SaveList(list);
}

// Enter in a list's input box: "Add new item" with the typed entry, then an
// empty box for the next one. Text that was not added (an entry the list
// holds already) stays for the user to see.
void CManagerDlg::OnEnterNewItem() {
  const size_t before = collections_[kWhiteList].size() + collections_[kForbiddenList].size();
  OnAddNewItem();
  if (collections_[kWhiteList].size() + collections_[kForbiddenList].size() > before) inputBox_.SetWindowText("");
}

void CManagerDlg::OnUpdateItem() {
  const std::string replacement = inputBox_.GetWindowText();
  int index = -1;
  std::string old;
  if (replacement.empty()) return;
  // The focused line is replaced in the whole list, where it keeps its place.
  ShowWholeList();
  if (!FocusedLine(itemList_, index, old)) {
    ApplyQuickFilter();
    return;
  }
  itemList_.DeleteString(index);
  itemList_.AddString(replacement);
  ApplyQuickFilter();
  const int view = CurrentView();
  if (!IsListView(view)) return;
  ReplaceListEntry(collections_[view == IDC_TAB_WHITE ? kWhiteList : kForbiddenList], old, replacement);
}

// A merge that finds day files tops up the date list and the item list.
void CManagerDlg::OnRefresh() { MergeDayFiles(); }

void CManagerDlg::OnHelp() {
  const ViewInfo* view = FindView(CurrentView());
  if (!view) return;
  ShowHelpPath(ProgramFolder() + kHelpFile + view->helpPage);
}

void CManagerDlg::OnSendEmail() { OpenWithShell(SupportMailAddress()); }

void CManagerDlg::OnWebSite() { OpenWithShell(WebSiteAddress()); }

// Accepting the offer closes the window as Cancel does, without the exit
// question: its normal shutdown saves everything before the installer runs.
void CManagerDlg::OnOnlineUpdate() {
  if (CheckForUpdate(GetTheme())) EndDialog(IDCANCEL);
}

}  // namespace krx
