// The manager window by site: the grouped view of the chosen days, a site's
// lines, and a grouped row's host added to the White or Forbidden list. The
// rows come from the core's grouping, the one behind the Statistics
// window's top sites and `krxtool sites`.
#include <utility>

#include "core/day_range.h"
#include "core/item_list.h"
#include "core/manager_views.h"
#include "core/site_export.h"
#include "framework/wait_cursor.h"
#include "core/quick_filter.h"
#include "manager/manager_dlg.h"
#include "manager/sites_dlg.h"
#include "skin/skin_message_box.h"

namespace krx {

SiteFirstDays* CManagerDlg::FirstDaysOfView() {
  RecordCollection log;
  if (!IsLogView(CurrentView()) || !CollectionOfView(CurrentView(), log)) return nullptr;
  SiteFirstDays& index = merger_.FirstDays(log);
  index.EnsureBuilt(collections_[log]);  // once after a load; merges and deletions keep it
  return &index;
}

void CManagerDlg::OnGroupBySite() {
  const int view = CurrentView();
  RecordCollection log;
  const std::vector<std::string> days = ChosenDays();
  if (!IsLogView(view) || days.empty() || !CollectionOfView(view, log)) return;
  std::vector<SiteRow> rows;
  {
    WaitCursor wait;
    rows = SiteRows(collections_[log], DaySet(days), *FirstDaysOfView());
  }
  CSitesDlg sites(std::move(rows), std::string(kRecordNames[log]) + ", " + DaysTitle(days, false), m_hWnd);
  sites.SetThemeIndex(GetTheme());
  sites.onAddWhite = [this](const std::string& host) { AddHostToList(kWhiteList, host); };
  sites.onAddForbidden = [this](const std::string& host) { AddHostToList(kForbiddenList, host); };
  sites.onExport = [this, &sites, days](const std::vector<SiteRow>& all) { OnExportSites(sites, all, days); };
  if (sites.DoModal() == IDOK) ShowSiteLines(sites.ChosenHost());
}

// The quick filter set to the host narrows the chosen days' list to the
// lines that name it; of those, the site's own lines are selected, so Copy,
// Delete and the Add buttons act on them.
bool CManagerDlg::ShowSiteLines(const std::string& host) {
  if (HasQuickFilter(CurrentView()) && quickFilter_.m_hWnd) {
    ShowQuickFilter();
    quickFilter_.SetWindowText(host);
    ApplyQuickFilter();
  }
  std::string scratch;
  int first = -1, count = 0;
  {
    CSkinListBox::RedrawOff quiet(itemList_);
    itemList_.SetSel(-1, FALSE);
    for (int i = 0, n = itemList_.GetCount(); i < n; ++i) {
      if (SiteOfRecord(itemList_.GetText(i), scratch) != host) continue;
      itemList_.SetSel(i, TRUE);
      if (first < 0) first = i;
      ++count;
    }
    if (first >= 0) {
      itemList_.SetCaretIndex(first, FALSE);
      itemList_.SetTopIndex(first);
    }
  }
  if (first < 0) return false;
  ::SetFocus(itemList_);
  OnLineChosen();
  SetStatusText("Lines of " + host + ": " + std::to_string(count) + " of " + std::to_string(itemList_.GetCount()));
  return true;
}

void CManagerDlg::AddHostToList(RecordCollection list, const std::string& host) {
  if (host.empty()) return;
  collections_[list].push_back(host);
  if (SaveList(list)) {
    SkinMessageBox(std::string("1 address added to the ") + (list == kWhiteList ? "White" : "Forbidden") + " list.",
                   GetTheme());
  }
}

}  // namespace krx
