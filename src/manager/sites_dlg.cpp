#include "manager/sites_dlg.h"

#include <windows.h>

#include <utility>

#include "core/list_box_geometry.h"
#include "core/stats_chart.h"
#include "core/stats_colours.h"
#include "core/theme_table.h"

namespace krx {

void CSiteListBox::DrawItem(const DRAWITEMSTRUCT& item) {
  CSkinListBox::DrawItem(item);  // background, selection and the host
  if (!rows_ || item.itemID >= rows_->size()) return;
  const SiteRow& row = (*rows_)[item.itemID];
  HDC dc = item.hDC;
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  RECT r = item.rcItem;
  const bool chosen = (item.itemState & ODS_SELECTED) != 0;
  RECT counts = {r.right - 110, r.top + 1, r.right - 1, r.bottom - 1};
  HBRUSH brush = CreateSolidBrush(chosen ? chosen_ : back_);
  FillRect(dc, &counts, brush);
  DeleteObject(brush);
  r.right -= 8;
  const std::string count = GroupedCount(row.records);
  DrawTextA(dc, count.c_str(), int(count.size()), &r, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  if (row.isNew) {
    r.right -= 70;
    if (!chosen) SetTextColor(dc, mark_);
    DrawTextA(dc, "new", 3, &r, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  }
  RestoreDC(dc, saved);
}

CSitesDlg::CSitesDlg(std::vector<SiteRow> rows, std::string title, HWND parent)
    : CSkinDialog(parent), rows_(std::move(rows)), title_(std::move(title)) {}

CSitesDlg::~CSitesDlg() { DestroyWindow(); }

BOOL CSitesDlg::OnInitDialog() {
  MoveWindow(0, 0, kWidth, kHeight);
  SetWindowText("Sites: " + title_);
  CSkinDialog::OnInitDialog();
  CenterWindow();
  const int w = GetClientRect().right;
  const StatsColours colours = StatsColoursOf(GetTheme());

  summary_.Create(SitesSummary(rows_), WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_LEFT, RECT{16, 36, w - 16, 52}, m_hWnd);
  summary_.SetFont(NormalFont());
  summary_.SetTransparent(TRUE);
  summary_.SetColours(colours.text, 0);

  const int buttonTop = kHeight - 36;
  list_.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | WS_TABSTOP | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                   LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
               RECT{16, 58, w - 16, buttonTop - 40}, m_hWnd, kIdList);
  list_.SetFont(NormalFont());
  list_.SetSelectionBackground(colours.selection);
  list_.SetSelectionFrame(GetThemeColours(GetTheme())[kThemeBorder]);
  list_.SetSelectionText(RGB(255, 255, 255));
  list_.SetMarkColour(colours.mark);
  list_.SetRowColours(colours.list, colours.selection);
  list_.SetRows(&rows_);
  StringArray hosts;
  for (const SiteRow& r : rows_) hosts.push_back(r.host);
  list_.AddLines(hosts, false);
  if (!rows_.empty()) list_.SetCurSel(0);

  const struct {
    CMacButton& button;
    const char* text;
    RECT rect;
    UINT id;
  } buttons[] = {
      {show_, "&Show lines", RECT{16, buttonTop - 34, 116, buttonTop - 11}, kIdShow},
      {white_, "Add to &White list", RECT{124, buttonTop - 34, 254, buttonTop - 11}, kIdWhite},
      {forbidden_, "Add to &Forbidden list", RECT{262, buttonTop - 34, w - 16, buttonTop - 11}, kIdForbidden},
      {export_, "&Export...", RECT{w - 200, buttonTop, w - 110, buttonTop + 23}, kIdExport},
      {close_, "&Close", RECT{w - 100, buttonTop, w - 16, buttonTop + 23}, IDCANCEL},
  };
  for (const auto& b : buttons) {
    b.button.Create(b.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP, b.rect, m_hWnd, b.id);
    b.button.SetFont(NormalFont());
    b.button.SetTheme(GetTheme());
  }
  ::SetFocus(list_);
  return FALSE;
}

const SiteRow* CSitesDlg::ChosenRow() const {
  const int line = list_.GetCurSel();
  return line >= 0 && size_t(line) < rows_.size() ? &rows_[size_t(line)] : nullptr;
}

void CSitesDlg::OnOK() {
  const SiteRow* row = ChosenRow();
  if (!row) return;
  chosen_ = row->host;
  EndDialog(IDOK);
}

bool CSitesDlg::OnCommand(UINT id, UINT code, HWND control) {
  const SiteRow* row = ChosenRow();
  if ((id == kIdList && code == LBN_DBLCLK) || id == kIdShow) {
    OnOK();
    return true;
  }
  if (id == kIdExport) {
    if (onExport) onExport(rows_);
    return true;
  }
  if (id == kIdWhite || id == kIdForbidden) {
    const auto& add = id == kIdWhite ? onAddWhite : onAddForbidden;
    if (row && add) add(row->host);
    return true;
  }
  return CSkinDialog::OnCommand(id, code, control);
}

}  // namespace krx
