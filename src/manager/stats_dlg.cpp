#include "manager/stats_dlg.h"

#include <windows.h>

#include <utility>

#include "core/ascii_case.h"
#include "core/stats_chart.h"
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

BOOL CStatsDlg::OnInitDialog() {
  MoveWindow(0, 0, kWidth, kHeight);
  SetWindowText(std::string("Statistics: ") + wording_.log);
  CSkinDialog::OnInitDialog();
  CenterWindow();
  const int w = GetClientRect().right;
  const int tableTop = 338, rowHeight = 16, countLeft = w - 130;

  std::string hosts, counts;
  for (const HostCount& h : stats_.hosts) {
    hosts += (hosts.empty() ? "" : "\r\n") + h.host;
    counts += (counts.empty() ? "" : "\r\n") + GroupedCount(h.records);
  }
  if (stats_.hosts.empty()) hosts = "(none)";
  const struct {
    CSkinStatic& label;
    std::string text;
    RECT rect;
    DWORD align;
  } labels[] = {
      {summary_, StatsSummary(stats_, wording_), RECT{16, 36, w - 16, 52}, SS_LEFT},
      {heading_, wording_.hosts, RECT{16, 312, w - 16, 328}, SS_LEFT},
      {hostHeading_, "Site", RECT{28, tableTop, countLeft - 8, tableTop + rowHeight}, SS_LEFT},
      {countHeading_, "Records", RECT{countLeft, tableTop, w - 28, tableTop + rowHeight}, SS_RIGHT},
      {hostColumn_, hosts, RECT{28, tableTop + rowHeight + 4, countLeft - 8, tableTop + 11 * rowHeight + 8}, SS_LEFT},
      {countColumn_, counts, RECT{countLeft, tableTop + rowHeight + 4, w - 28, tableTop + 11 * rowHeight + 8}, SS_RIGHT},
  };
  for (const auto& l : labels) {
    l.label.Create(l.text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX | l.align, l.rect, m_hWnd);
    l.label.SetFont(NormalFont());
    l.label.SetTransparent(TRUE);
  }
  // The heading and the table's head stand out in the theme's frame colour.
  for (CSkinStatic* head : {&heading_, &hostHeading_, &countHeading_})
    head->SetColours(GetThemeColours(GetTheme())[kThemeBorder], 0);

  // The chart's own height, and the scroll bar under it.
  const StatsChart chart = LayoutStatsChart(stats_);
  chart_.SetTheme(GetTheme());
  chart_.SetFont(NormalFont());
  chart_.Create(RECT{12, 60, w - 12, 60 + chart.height + GetSystemMetrics(SM_CYHSCROLL)}, m_hWnd, 1);
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
