// The quick filter: a field of its own between the toolbar row and the item
// list that narrows the list, as the user types, to the lines holding the
// text. While it is on, the window keeps the whole list aside and shows a
// part of it; every command acts on the lines on show.
//
// Typing never waits on the list: the field paints each key at once, and
// the list follows kQuickFilterDelayMs after the last one, refilled with
// redraw off, lines in the list's own order (nothing sorted again).
#include "core/item_text.h"
#include "core/quick_filter.h"
#include "framework/wait_cursor.h"
#include "manager/manager_dlg.h"

namespace krx {

void CManagerDlg::CreateQuickFilter() {
  // Made like the toolbar's input box: a plain edit with the window's font,
  // on the window's background, themed by the dialog as every edit is.
  quickFilter_.Create(WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL, RECT{0, 0, 0, 0}, m_hWnd, UINT(kIdQuickFilter),
                      WS_EX_CLIENTEDGE);
  quickFilter_.SetFont(GetFont());
  quickFilter_.LimitText(1024);
}

void CManagerDlg::ShowQuickFilter() {
  if (!HasQuickFilter(CurrentView()) || !quickFilter_.m_hWnd) return;
  // The whole list read now, while the user has not typed yet: the first
  // key then costs no more than the others.
  if (!filterOn_) KeepWholeList();
  if (!filterShown_) {
    filterShown_ = true;
    LayoutControls(settings_.Get(kWindowWidth), settings_.Get(kWindowHeight));
  }
  ::SetFocus(quickFilter_);
  quickFilter_.SetSel(0, -1);
}

void CManagerDlg::ClearQuickFilter() {
  ::KillTimer(m_hWnd, kQuickFilterTimer);
  const bool hadFocus = GetFocus() == quickFilter_.m_hWnd;
  if (quickFilter_.m_hWnd && !quickFilter_.GetWindowText().empty()) quickFilter_.SetWindowText("");
  ::KillTimer(m_hWnd, kQuickFilterTimer);  // the emptying's own change
  ShowWholeList();
  ForgetWholeList();
  RefreshStatusText();
  if (!filterShown_) return;
  filterShown_ = false;
  LayoutControls(settings_.Get(kWindowWidth), settings_.Get(kWindowHeight));
  if (hadFocus) ::SetFocus(itemList_);
}

void CManagerDlg::OnQuickFilterChanged() {
  // A key restarts the wait: a burst of keys costs one refill.
  ::SetTimer(m_hWnd, kQuickFilterTimer, kQuickFilterDelayMs, nullptr);
}

void CManagerDlg::ApplyQuickFilter() {
  ::KillTimer(m_hWnd, kQuickFilterTimer);
  const int view = CurrentView();
  const std::string text = quickFilter_.m_hWnd ? quickFilter_.GetWindowText() : std::string();
  if (text.empty() || !HasQuickFilter(view)) {
    ShowWholeList();
    RefreshStatusText();
    return;
  }
  if (!filterOn_) {
    KeepWholeList();
    filterOn_ = true;
  }
  std::vector<size_t> shown = FilterLines(wholeLines_, text, settings_.Get(kCaseSensitiveFind));
  if (shown != shownLines_) {
    // The chosen lines, and the focused one, by their place in the whole list.
    std::vector<size_t> chosen;
    for (int position : itemList_.GetSelItems())
      if (size_t(position) < shownLines_.size()) chosen.push_back(shownLines_[size_t(position)]);
    const int caret = itemList_.GetCaretIndex();
    const bool caretShown = caret >= 0 && size_t(caret) < shownLines_.size();
    const size_t focused = caretShown ? shownLines_[size_t(caret)] : 0;
    shownLines_ = std::move(shown);
    std::vector<const std::string*> lines;
    lines.reserve(shownLines_.size());
    for (size_t i : shownLines_) lines.push_back(&wholeLines_[i]);
    CSkinListBox::RedrawOff quiet(itemList_);
    itemList_.ResetContent();
    itemList_.AppendLines(lines);
    for (int position : ShownPositions(shownLines_, chosen)) itemList_.SetSel(position, TRUE);
    const std::vector<int> focus = ShownPositions(shownLines_, {focused});
    if (caretShown && !focus.empty()) itemList_.SetCaretIndex(focus.front(), TRUE);
    itemList_.UpdateHorizontalExtent();
  }
  RefreshStatusText();
}

void CManagerDlg::KeepWholeList() {
  // A copy read earlier that the list has not changed since is still whole.
  if (wholeKept_ && wholeGeneration_ == itemList_.Generation()) return;
  const int count = itemList_.GetCount();
  wholeLines_.clear();
  wholeLines_.reserve(size_t(count > 0 ? count : 0));
  for (int i = 0; i < count; ++i) wholeLines_.push_back(itemList_.GetText(i));
  shownLines_.resize(wholeLines_.size());
  for (size_t i = 0; i < shownLines_.size(); ++i) shownLines_[i] = i;
  wholeKept_ = true;
  wholeGeneration_ = itemList_.Generation();
}

void CManagerDlg::ShowWholeList() {
  if (!filterOn_) return;
  WaitCursor wait;
  std::vector<size_t> chosen;
  for (int position : itemList_.GetSelItems())
    if (size_t(position) < shownLines_.size()) chosen.push_back(shownLines_[size_t(position)]);
  const int caret = itemList_.GetCaretIndex();
  const bool caretShown = caret >= 0 && size_t(caret) < shownLines_.size();
  const int focused = caretShown ? int(shownLines_[size_t(caret)]) : -1;
  std::vector<const std::string*> lines;
  lines.reserve(wholeLines_.size());
  for (const std::string& line : wholeLines_) lines.push_back(&line);
  {
    CSkinListBox::RedrawOff quiet(itemList_);
    itemList_.ResetContent();
    itemList_.AppendLines(lines);
    for (size_t i : chosen) itemList_.SetSel(int(i), TRUE);
    // The chosen line comes back into sight where the user left it.
    if (focused >= 0) itemList_.SetCaretIndex(focused, TRUE);
    itemList_.UpdateHorizontalExtent();
  }
  // The list holds the whole list again: the copy stays true to it, so the
  // next key need not read it again.
  filterOn_ = false;
  wholeGeneration_ = itemList_.Generation();
  shownLines_.resize(wholeLines_.size());
  for (size_t i = 0; i < shownLines_.size(); ++i) shownLines_[i] = i;
}

void CManagerDlg::ForgetWholeList() {
  filterOn_ = false;
  wholeKept_ = false;
  StringArray().swap(wholeLines_);
  std::vector<size_t>().swap(shownLines_);
}

void CManagerDlg::ForgetShownLines(const std::vector<int>& positions) {
  if (!filterOn_) return;
  std::vector<bool> gone(wholeLines_.size(), false);
  for (int position : positions) {
    if (position >= 0 && size_t(position) < shownLines_.size()) gone[shownLines_[size_t(position)]] = true;
  }
  // The whole list without them, and the shown lines renumbered.
  std::vector<size_t> renumbered(wholeLines_.size(), 0);
  size_t kept = 0;
  for (size_t i = 0; i < wholeLines_.size(); ++i) {
    renumbered[i] = kept;
    if (!gone[i]) wholeLines_[kept++] = std::move(wholeLines_[i]);
  }
  wholeLines_.resize(kept);
  size_t out = 0;
  for (size_t i : shownLines_) {
    if (!gone[i]) shownLines_[out++] = renumbered[i];
  }
  shownLines_.resize(out);
}

}  // namespace krx
