#include "app/records_summary_dlg.h"

#include <map>
#include <utility>

#include "core/record_text.h"
#include "core/theme_table.h"
#include "manager/change_pass_dlg.h"
#include "manager/dialog_buttons.h"
#include "manager/wait_window_progress.h"
#include "records/folders.h"
#include "records/record_shutdown.h"
#include "records/record_store.h"

namespace krx {

namespace {
const char* const kCollectionTitles[kRecordCollectionCount] = {"Visit log",  "Media log",  "Block log",
                                                               "Flash log",  "White list", "Forbidden list"};
constexpr int kLogCount = 4;  // the first four collections are the add-on's logs
}  // namespace

CRecordsSummaryDlg::CRecordsSummaryDlg(std::string userFolder, std::string tmpFolder, std::string& password)
    : userFolder_(std::move(userFolder)), tmpFolder_(std::move(tmpFolder)), password_(password) {
  settings_.LoadConfig();
  SetThemeIndex(settings_.Get(kThemeIndex));
}

BOOL CRecordsSummaryDlg::OnInitDialog() {
  const int width = settings_.Get(kWindowWidth), height = settings_.Get(kWindowHeight);
  MoveWindow(0, 0, width, height);
  CenterWindow();
  SetWindowText(kProductName);  // a second start finds this window by its title
  CSkinDialog::OnInitDialog();

  RECT client;
  ::GetClientRect(m_hWnd, &client);
  const int w = client.right, h = client.bottom;
  list_.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY,
               RECT{10, 35, w - 10, h - 45}, m_hWnd, kListId, WS_EX_CLIENTEDGE);
  list_.SetFont(NormalFont());
  list_.SetItemHeight(18);
  CreateDialogButtons(*this, {{configuration_, "Con&figuration", RECT{10, h - 35, 120, h - 12}, kConfigurationId},
                              {refresh_, "&Refresh", RECT{w - 160, h - 35, w - 95, h - 12}, kRefreshId},
                              {close_, "&Close", RECT{w - 85, h - 35, w - 20, h - 12}, IDCANCEL}});

  ApplyTheme();

  LoadRecordFiles(userFolder_, password_, collections_);
  MergeAndShow();
  return TRUE;
}

void CRecordsSummaryDlg::ApplyTheme() {
  const int theme = settings_.Get(kThemeIndex);
  SetTheme(theme);
  const ThemeColours& colours = GetThemeColours(theme);
  list_.SetSelectionBackground(colours[5]);
  list_.SetSelectionFrame(colours[4]);
  list_.SetSelectionText(colours[7]);
  ::InvalidateRect(list_, nullptr, TRUE);
}

// The options window, with the password change behind its button. OK writes
// KRX.cfg; the theme chosen there becomes this window's.
void CRecordsSummaryDlg::ShowConfiguration() {
  settings_.SetParentHandle(m_hWnd);
  settings_.SetChangePasswordAction([this](HWND owner, int theme) {
    CChangePassDlg change(password_, userFolder_, owner);
    change.SetThemeIndex(theme);
    change.DoModal();
  });
  settings_.DoModal();
  settings_.LoadConfig();
  ApplyTheme();
}

void CRecordsSummaryDlg::MergeAndShow() {
  {
    WaitWindowProgress progress(m_hWnd, GetTheme());
    merger_.MergeAll(tmpFolder_, progress);
  }
  ShowSummary();
}

void CRecordsSummaryDlg::ShowSummary() {
  ::SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  list_.ResetContent();
  for (int i = 0; i < kRecordCollectionCount; ++i) {
    const StringArray& records = collections_.lists[i];
    list_.AddString(std::string(kCollectionTitles[i]) + " (" + kRecordFileNames[i] + "): " +
                    std::to_string(records.size()) + (records.size() == 1 ? " record" : " records"));
    if (i >= kLogCount) continue;
    // Days in the order they first appear, each with its number of records.
    std::map<std::string, size_t> perDay;
    StringArray order;
    for (const std::string& r : records) {
      std::string day = DateKey(r);
      if (perDay[day]++ == 0) order.push_back(day);
    }
    for (const std::string& day : order) {
      list_.AddString("      " + (day.empty() ? std::string("(no date)") : day) + ": " + std::to_string(perDay[day]));
    }
  }
  ::SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(list_, nullptr, TRUE);
}

bool CRecordsSummaryDlg::OnCommand(UINT id, UINT code, HWND control) {
  if (id == kRefreshId && code == BN_CLICKED) {
    MergeAndShow();
    return true;
  }
  if (id == kConfigurationId && code == BN_CLICKED) {
    ShowConfiguration();
    return true;
  }
  return CSkinDialog::OnCommand(id, code, control);
}

void CRecordsSummaryDlg::OnCancel() {
  {
    WaitWindowProgress progress(m_hWnd, GetTheme());
    SaveRecordsAndDeleteDayFiles(merger_, collections_, tmpFolder_, userFolder_, password_, progress);
  }
  CSkinDialog::OnCancel();
}

}  // namespace krx
