#include "manager/stats_dlg.h"

#include <windows.h>

#include <utility>

#include "core/ascii_case.h"
#include "core/stats_chart.h"
#include "core/stats_colours.h"
#include "core/stats_page.h"
#include "core/theme_table.h"
#include "manager/save_as_dialog.h"
#include "records/file_io.h"
#include "records/system_text.h"
#include "skin/skin_message_box.h"

namespace krx {

CStatsDlg::CStatsDlg(LogStats stats, const StatsWording& wording, HWND parent)
    : CSkinDialog(parent), stats_(std::move(stats)), wording_(wording) {}

CStatsDlg::~CStatsDlg() { DestroyWindow(); }

void CStatsDlg::SetNewSites(std::vector<NewSite> sites, std::string days) {
  newSites_ = std::move(sites);
  newDays_ = std::move(days);
}

namespace {

// How many rows each table shows: the ten hosts, and as many new sites
// with a last line that counts the rest.
constexpr size_t kTableRows = 10;

}  // namespace

BOOL CStatsDlg::OnInitDialog() {
  MoveWindow(0, 0, kWidth, kHeight);
  SetWindowText(std::string("Statistics: ") + wording_.log);
  CSkinDialog::OnInitDialog();
  CenterWindow();
  const int w = GetClientRect().right;
  const int tableTop = 338, rowHeight = 16, half = w / 2, countLeft = half - 100, dayLeft = w - 100;
  const RECT rows = {0, tableTop + rowHeight + 4, 0, tableTop + 11 * rowHeight + 8};

  std::string hosts, counts, fresh, firstDays;
  for (const HostCount& h : stats_.hosts) {
    hosts += (hosts.empty() ? "" : "\r\n") + h.host;
    counts += (counts.empty() ? "" : "\r\n") + GroupedCount(h.records);
  }
  if (stats_.hosts.empty()) hosts = "(none)";
  // Ten lines: nine sites and "and N more" when there are more than ten.
  for (size_t i = 0; i < newSites_.size(); ++i) {
    if (i == kTableRows - 1 && newSites_.size() > kTableRows) {
      fresh += "\r\nand " + GroupedCount(newSites_.size() - i) + " more";
      break;
    }
    fresh += (fresh.empty() ? "" : "\r\n") + newSites_[i].host;
    firstDays += (firstDays.empty() ? "" : "\r\n") + DayShown(newSites_[i].firstDay);
  }
  if (newSites_.empty()) fresh = newDays_.empty() ? "(no day chosen)" : "(none)";
  const std::string newHeading = std::string(kNewSitesHeading) + (newDays_.empty() ? "" : " on " + newDays_);
  const struct {
    CSkinStatic& label;
    std::string text;
    RECT rect;
    DWORD align;
  } labels[] = {
      {summary_, StatsSummary(stats_, wording_), RECT{16, 36, w - 16, 52}, SS_LEFT},
      {heading_, wording_.hosts, RECT{16, 312, half - 8, 328}, SS_LEFT},
      {hostHeading_, "Site", RECT{28, tableTop, countLeft - 8, tableTop + rowHeight}, SS_LEFT},
      {countHeading_, "Records", RECT{countLeft, tableTop, half - 16, tableTop + rowHeight}, SS_RIGHT},
      {hostColumn_, hosts, RECT{28, rows.top, countLeft - 8, rows.bottom}, SS_LEFT},
      {countColumn_, counts, RECT{countLeft, rows.top, half - 16, rows.bottom}, SS_RIGHT},
      {newHeading_, newHeading, RECT{half + 8, 312, w - 16, 328}, SS_LEFT},
      {newSiteHeading_, "Site", RECT{half + 20, tableTop, dayLeft - 8, tableTop + rowHeight}, SS_LEFT},
      {newDayHeading_, "First day", RECT{dayLeft, tableTop, w - 28, tableTop + rowHeight}, SS_RIGHT},
      {newColumn_, fresh, RECT{half + 20, rows.top, dayLeft - 8, rows.bottom}, SS_LEFT},
      {newDayColumn_, firstDays, RECT{dayLeft, rows.top, w - 28, rows.bottom}, SS_RIGHT},
  };
  // Every text reads at 4.5:1 on the window: the headings in the theme's
  // frame hue, darkened where it is too light.
  const StatsColours colours = StatsColoursOf(GetTheme());
  for (const auto& l : labels) {
    l.label.Create(l.text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX | l.align, l.rect, m_hWnd);
    l.label.SetFont(NormalFont());
    l.label.SetTransparent(TRUE);
    l.label.SetColours(colours.text, 0);
  }
  for (CSkinStatic* head : {&heading_, &hostHeading_, &countHeading_, &newHeading_, &newSiteHeading_, &newDayHeading_})
    head->SetColours(colours.heading, 0);

  // The chart's own height, and the scroll bar under it.
  const StatsChart chart = LayoutStatsChart(stats_);
  chart_.SetTheme(GetTheme());
  chart_.SetFont(NormalFont());
  // The scroll bar only when the bars do not all fit.
  const bool fits = chart.width <= w - 24;
  chart_.Create(RECT{12, 60, w - 12, 60 + chart.height + (fits ? 0 : GetSystemMetrics(SM_CYHSCROLL))}, m_hWnd, 1);
  chart_.SetChart(chart);

  const int buttonTop = kHeight - 36;
  export_.Create("&Export...", WS_CHILD | WS_VISIBLE | WS_TABSTOP, RECT{w - 200, buttonTop, w - 110, buttonTop + 23},
                 m_hWnd, kIdExportPage);
  close_.Create("&Close", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                RECT{w - 100, buttonTop, w - 16, buttonTop + 23}, m_hWnd, IDCANCEL);
  for (CMacButton* b : {&export_, &close_}) {
    b->SetFont(NormalFont());
    b->SetTheme(GetTheme());
  }
  ::SetFocus(close_);
  return FALSE;
}

bool CStatsDlg::OnCommand(UINT id, UINT code, HWND control) {
  if (id == kIdExportPage) {
    OnExport();
    return true;
  }
  return CSkinDialog::OnCommand(id, code, control);
}

bool CStatsDlg::PreTranslateMessage(MSG* msg) {
  int code = -1;
  if (msg->message == WM_KEYDOWN) {
    switch (msg->wParam) {
      case VK_LEFT: code = SB_LINELEFT; break;
      case VK_RIGHT: code = SB_LINERIGHT; break;
      case VK_PRIOR: code = SB_PAGELEFT; break;
      case VK_NEXT: code = SB_PAGERIGHT; break;
      case VK_HOME: code = SB_LEFT; break;
      case VK_END: code = SB_RIGHT; break;
      default: break;
    }
  } else if (msg->message == WM_MOUSEWHEEL) {
    code = GET_WHEEL_DELTA_WPARAM(msg->wParam) > 0 ? SB_LINELEFT : SB_LINERIGHT;
  }
  if (code < 0) return CSkinDialog::PreTranslateMessage(msg);
  chart_.SendMessage(WM_HSCROLL, WPARAM(code));
  return true;
}

bool CStatsDlg::ExportTo(const std::string& path) const {
  return WriteFileAtomic(path, StatsPage(stats_, wording_, GetThemeColours(GetTheme()), "\r\n", &SystemTextToUtf8));
}

void CStatsDlg::OnExport() {
  // A suggested name: the log's ("Block log" gives block-statistics.htm).
  const std::string log = wording_.log;
  const std::string name = LowerAscii(log.substr(0, log.find(' '))) + "-statistics.htm";
  SaveAsRequest request{"HTML file (*.htm)\0*.htm;*.html\0", 1, "htm", name};
  std::string path;
  if (!ShowSaveAs(m_hWnd, request, path)) return;
  if (!ExportTo(path)) SkinMessageBox("Could not write " + path + ".", GetTheme());
}

}  // namespace krx
