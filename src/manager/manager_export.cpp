// Export from the window: the chosen day, or the whole log or list, saved
// through the Save As dialog as text, CSV or HTML by the same writer
// krxtool's export uses, straight into the file: no copy of the log.
#include <windows.h>

#include <sstream>

#include "core/item_list.h"
#include "core/day_range.h"
#include "core/log_export.h"
#include "core/site_export.h"
#include "manager/manager_dlg.h"
#include "manager/save_as_dialog.h"
#include "records/export_file.h"
#include "records/file_io.h"
#include "records/system_text.h"
#include "skin/skin_message_box.h"

namespace krx {

namespace {

// The filter's entries in order; the dialog's index counts from 1.
constexpr ExportFormat kFilterFormats[] = {ExportFormat::kText, ExportFormat::kCsv, ExportFormat::kHtml};
constexpr char kExportFilter[] = "Text file (*.txt)\0*.txt\0CSV file (*.csv)\0*.csv\0HTML file (*.htm)\0*.htm\0\0";
constexpr const char* kFilterExtensions[] = {"txt", "csv", "htm"};

ExportFormat FormatOfFilter(DWORD index) { return kFilterFormats[index >= 1 && index <= 3 ? index - 1 : 1]; }

// The type chosen in Save As decides the ending, whatever the name says.
std::string NameForExportType(const std::string& name, DWORD filterIndex) {
  return WithExportExtension(name, FormatOfFilter(filterIndex));
}

// The type the dialog proposes: CSV at first, then the one last written.
DWORD& LastFilterIndex() {
  static DWORD index = 2;
  return index;
}

}  // namespace

void CManagerDlg::OnExport(bool chosenDay) {
  const int view = CurrentView();
  RecordCollection collection;
  if (!CollectionOfView(view, collection)) return;
  ExportRequest request;
  if (chosenDay && (!IsLogView(view) || !ChosenDay(view, request.day))) return;
  // Several chosen days go out together.
  if (chosenDay && dateList_.GetSelCount() > 1) {
    request.days = ChosenDays();
    request.day.clear();
  }
  // The day as it is shown: with the quick filter on, only its lines on show.
  if (chosenDay && filterOn_) {
    request.filter = quickFilter_.GetWindowText();
    request.filterCase = settings_.Get(kCaseSensitiveFind);
  }
  const std::string fileName = kRecordFileNames[size_t(collection)];

  const DWORD proposed = LastFilterIndex();
  SaveAsRequest dialog{kExportFilter, proposed, kFilterExtensions[proposed - 1],
                       ExportFileNameOf(fileName, request, kFilterFormats[proposed - 1]),
                       &NameForExportType};
  std::string path;
  if (!ShowSaveAs(m_hWnd, dialog, path)) return;
  const DWORD index = dialog.filterIndex >= 1 && dialog.filterIndex <= 3 ? dialog.filterIndex : proposed;
  request.format = FormatOfFilter(index);
  LastFilterIndex() = index;
  NameExportAfterFile(fileName, request);
  request.exportedAt = LocalTimeText();
  request.toUtf8 = &SystemTextToUtf8;
  request.codePage = SystemCodePage();
  if (!WriteExportFile(path, request, collections_[collection])) {
    SkinMessageBox("Could not write " + path + ".", GetTheme());
  }
}

void CManagerDlg::OnExportSites(HWND owner, const std::vector<SiteRow>& rows, const std::vector<std::string>& days) {
  RecordCollection log;
  if (!CollectionOfView(CurrentView(), log)) return;
  const std::string fileName = kRecordFileNames[size_t(log)];
  const DWORD proposed = LastFilterIndex();
  SaveAsRequest dialog{kExportFilter, proposed, kFilterExtensions[proposed - 1],
                       SitesFileName(fileName, days.size() == 1 ? days[0] : std::string(), kFilterFormats[proposed - 1]),
                       &NameForExportType};
  std::string path;
  if (!ShowSaveAs(owner, dialog, path)) return;
  const DWORD index = dialog.filterIndex >= 1 && dialog.filterIndex <= 3 ? dialog.filterIndex : proposed;
  SiteExportRequest request;
  request.format = FormatOfFilter(index);
  LastFilterIndex() = index;
  request.name = kRecordNames[size_t(log)];
  request.days = DaysTitle(days, false);
  request.toUtf8 = &SystemTextToUtf8;
  std::ostringstream out;
  WriteSiteRows(out, request, rows);
  if (!WriteFileAtomic(path, out.str())) SkinMessageBox("Could not write " + path + ".", GetTheme());
}

}  // namespace krx
