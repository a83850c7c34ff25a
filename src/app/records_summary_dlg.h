#pragma once
// The program's main window until the full manager window arrives: it owns
// the six record collections, loads them under the current password, merges
// the add-on's day files and lists what the logs and lists hold, day by day.
// Closing it saves the record files and then deletes the merged day files.
#include <string>

#include "config/config_dlg.h"
#include "core/record_file.h"
#include "records/day_files.h"
#include "skin/mac_button.h"
#include "skin/skin_dialog.h"
#include "skin/skin_list_box.h"

namespace krx {

class CRecordsSummaryDlg : public CSkinDialog {
 public:
  static constexpr UINT kListId = 1008;
  static constexpr UINT kRefreshId = 1019;
  static constexpr UINT kConfigurationId = 1006;

  // password is the current password: the change-password dialog may change it.
  CRecordsSummaryDlg(std::string userFolder, std::string tmpFolder, std::string& password);

  const RecordCollections& collections() const { return collections_; }

 protected:
  BOOL OnInitDialog() override;
  void OnCancel() override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  void MergeAndShow();
  void ShowSummary();
  void ShowConfiguration();
  void ApplyTheme();

  std::string userFolder_;
  std::string tmpFolder_;
  std::string& password_;
  CConfigDlg settings_;
  RecordCollections collections_;
  DayFileMerger merger_{collections_};
  CSkinListBox list_;
  CMacButton configuration_;
  CMacButton refresh_;
  CMacButton close_;
};

}  // namespace krx
