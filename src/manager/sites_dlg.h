#pragma once
// CSitesDlg: the grouped view of the chosen days (Ctrl+G, the item list's
// "Group by site"): one row per site with its number of records, most
// first, the sites new on those days marked. Enter, a double-click or
// "Show lines" closes it on the chosen row's host for the manager to show
// that site's lines; "Export..." writes the rows; the two Add buttons put
// the chosen row's host on the White or Forbidden list.
//
//   CSitesDlg sites(SiteRows(records, days, firstDays), "Visit log, 12/07/2026", manager);
//   sites.onAddWhite = [&](const std::string& host) { ... };
//   if (sites.DoModal() == IDOK) ShowSiteLines(sites.ChosenHost());
#include <functional>
#include <string>
#include <vector>

#include "core/site_export.h"
#include "skin/mac_button.h"
#include "skin/skin_dialog.h"
#include "skin/skin_list_box.h"
#include "skin/skin_static.h"

namespace krx {

// The rows' list: the host at the left, "new" before the count, the count
// at the right.
class CSiteListBox : public CSkinListBox {
 public:
  void SetRows(const std::vector<SiteRow>* rows) { rows_ = rows; }
  void SetMarkColour(COLORREF colour) { mark_ = colour; }
  // What the rows are drawn on, plain and chosen: the count's column is
  // cleared with them, so a long host never runs under its count.
  void SetRowColours(COLORREF back, COLORREF chosen) {
    back_ = back;
    chosen_ = chosen;
  }

 protected:
  void DrawItem(const DRAWITEMSTRUCT& item) override;

 private:
  const std::vector<SiteRow>* rows_ = nullptr;
  COLORREF mark_ = RGB(0, 0, 0);
  COLORREF back_ = RGB(255, 255, 255), chosen_ = RGB(100, 150, 200);
};

class CSitesDlg : public CSkinDialog {
 public:
  static constexpr int kWidth = 480;
  static constexpr int kHeight = 460;
  static constexpr UINT kIdList = 1200, kIdShow = 1201, kIdExport = 1202, kIdWhite = 1203, kIdForbidden = 1204;

  CSitesDlg(std::vector<SiteRow> rows, std::string title, HWND parent = nullptr);
  ~CSitesDlg() override;

  // Called with the chosen row's host, and with every row for Export.
  std::function<void(const std::string& host)> onAddWhite, onAddForbidden;
  std::function<void(const std::vector<SiteRow>& rows)> onExport;

  const std::vector<SiteRow>& Rows() const { return rows_; }
  CSiteListBox& List() { return list_; }
  std::string SummaryText() const { return summary_.GetWindowText(); }
  // The host of the row chosen when the window closed with IDOK.
  const std::string& ChosenHost() const { return chosen_; }

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(UINT id, UINT code, HWND control) override;
  // Enter: the chosen row's lines.
  void OnOK() override;

 private:
  const SiteRow* ChosenRow() const;

  std::vector<SiteRow> rows_;
  std::string title_, chosen_;
  CSkinStatic summary_;
  CSiteListBox list_;
  CMacButton show_, export_, white_, forbidden_, close_;
};

}  // namespace krx
