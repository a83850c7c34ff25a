// The manager window's views: the selector, the switch between views and
// the chosen day; its status line, the placing of its controls, and sizing.
#include "core/date_list.h"
#include "core/manager_layout.h"
#include "core/quick_filter.h"
#include "manager/manager_dlg.h"

namespace krx {

void CManagerDlg::SetStatusText(const std::string& text) {
  if (statusLine_.m_hWnd) statusLine_.SetWindowText(text);
}

namespace {

// Drawing held off for the whole window while it changes its view: hidden,
// moved and emptied controls show no half-switched frame, and the window
// repaints once, whole, at the end. A window not on screen (the start, the
// tray) is left alone: turning redraw on again would show it.
class WindowRedrawOff {
 public:
  explicit WindowRedrawOff(HWND window) : window_(IsWindowVisible(window) ? window : nullptr) {
    if (window_) SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
  }
  ~WindowRedrawOff() {
    if (!window_) return;
    SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  WindowRedrawOff(const WindowRedrawOff&) = delete;
  WindowRedrawOff& operator=(const WindowRedrawOff&) = delete;

 private:
  HWND window_;
};

}  // namespace

// A log view opens on a day (the one chosen there last, or the newest); the
// lists list every entry at once; the cache waits for "Fetch Cache".
void CManagerDlg::SwitchView(int v) {
  WindowRedrawOff quiet(m_hWnd);
  // The merge's new records reach the lists built below.
  if (IsLogView(v)) MergeDayFiles(false);
  // Each view starts without a filter: what was typed for one log means
  // nothing in the next.
  ForgetWholeList();
  ClearQuickFilter();
  SetStatusText("");
  dateList_.ResetContent();
  dateKeys_.clear();
  itemList_.ResetContent();
  if (IsLogView(v)) {
    BuildDateList();
    ChooseDay();
  }
  if (IsListView(v)) FillItemList();
  LayoutControls(settings_.Get(kWindowWidth), settings_.Get(kWindowHeight));
}

void CManagerDlg::ChooseDay() {
  const int view = CurrentView();
  if (!IsLogView(view)) return;
  StringArray days;
  for (int i = 0, n = dateList_.GetCount(); i < n; ++i) days.push_back(dateList_.GetText(i));
  const auto last = chosenDays_.find(view);
  const int day = DayToChoose(days, last == chosenDays_.end() ? std::nullopt : std::optional(last->second));
  if (day < 0) return;
  dateList_.SetCurSel(day);
  ListChosenDay();
}

void CManagerDlg::RememberChosenDay() {
  const int view = CurrentView();
  std::string day;
  if (IsLogView(view) && ChosenDay(view, day)) chosenDays_[view] = day;
}

void CManagerDlg::CreateViewSelector() {
  std::vector<std::string> labels;
  std::vector<UINT> ids;
  for (const ViewInfo& v : kViews) {
    labels.push_back(v.label);
    ids.push_back(UINT(v.id));
  }
  viewSelector_.Create(RECT{11, 30, 481, 52}, m_hWnd, BackgroundBrush());
  viewSelector_.CreateButtons(labels, ids, 1, kViewCount, GetFont());
  // A last view that names no view (a damaged or foreign KRX.cfg) would
  // leave no button down and no view at all: the visit log stands in.
  int view = settings_.Get(kLastView);
  if (!IsView(view)) view = IDC_TAB_VISIT;
  viewSelector_.SelectById(UINT(view));
  SwitchView(view);
}

// A click on the view selector has already pressed the button; a command
// from elsewhere (a keyboard accelerator, another program) presses it here,
// so the current view is always the one shown.
void CManagerDlg::OnViewCommand(int v) {
  if (int(viewSelector_.GetSelectedId()) != v) viewSelector_.SelectById(UINT(v));
  SwitchView(v);
}

// One deferred move for all the window's own children, so a resize
// repaints once; the caption text (a child of the caption strip) and the
// selector's buttons follow on their own.
void CManagerDlg::LayoutControls(int width, int height) {
  if (!m_hWnd) return;
  const ManagerLayout layout = LayoutManager(CurrentView(), width, height, GetClientRect().right, filterShown_);
  HWND windows[kSlotCount] = {};
  windows[kSlotClose] = CloseButton();
  windows[kSlotHideMe] = hideButton_;
  windows[kSlotMinimize] = minimizeButton_;
  windows[kSlotFlashPlayer] = flash_;
  windows[kSlotRadioAll] = radioAll_;
  windows[kSlotRadioHistory] = radioHistory_;
  windows[kSlotRadioCookies] = radioCookies_;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const int id = layout[slot].id;
    if (!windows[slot] && id != 0 && id != kIdFlashPlayer && id != kIdClose) windows[slot] = GetDlgItem(id);
  }

  HDWP moves = BeginDeferWindowPos(kSlotCount);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const ControlPlace& place = layout[slot];
    if (!windows[slot] || !moves) continue;
    // No copied bits: a row of controls moving in one batch would copy
    // pictures out of places a neighbour has already moved over, and the
    // control, counted as drawn, would keep the parent's background instead
    // of its face until the mouse passes. Each moved control paints itself.
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | (place.shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    if (!place.placed) flags |= SWP_NOMOVE | SWP_NOSIZE;
    const PixelRect& r = place.rect;
    moves = DeferWindowPos(moves, windows[slot], nullptr, r.left, r.top, r.Width(), r.Height(), flags);
  }
  if (moves) EndDeferWindowPos(moves);

  const PixelRect& caption = layout[kSlotCaptionText].rect;
  if (Title().m_hWnd) Title().MoveWindow(caption.left, caption.top, caption.Width(), caption.Height());
  const PixelRect& selector = layout[kSlotViewSelector].rect;
  viewSelector_.Layout(selector.left, selector.top, selector.right, selector.bottom);
  CaptionBar().Invalidate();
}

void CManagerDlg::OnSize(UINT type) {
  if (type == SIZE_MINIMIZED || !hideButton_.m_hWnd) return;
  const RECT outer = GetWindowRect();
  settings_.Set(kWindowWidth, outer.right - outer.left);
  settings_.Set(kWindowHeight, outer.bottom - outer.top);
  LayoutControls(outer.right - outer.left, outer.bottom - outer.top);
}

void CManagerDlg::OnGetMinMaxInfo(MINMAXINFO* info) {
  info->ptMinTrackSize = POINT{kMinTrackWidth, kMinTrackHeight};
  info->ptMaxTrackSize = POINT{kMaxTrackWidth, kMaxTrackHeight};
}

}  // namespace krx
