// Export from the window: the chosen day, or the whole log or list, saved
// through the Save As dialog as text, CSV or HTML by the same row writer
// krxtool uses.
#include <windows.h>
#include <commdlg.h>

#include <sstream>

#include "core/date_list.h"
#include "core/item_list.h"
#include "core/record_export.h"
#include "manager/manager_dlg.h"
#include "records/file_io.h"
#include "records/system_text.h"
#include "skin/skin_message_box.h"

namespace krx {

namespace {

// The filter's entries in order; the dialog's index counts from 1.
constexpr ExportFormat kFilterFormats[] = {ExportFormat::kText, ExportFormat::kCsv, ExportFormat::kHtml};
constexpr char kExportFilter[] = "Text file (*.txt)\0*.txt\0CSV file (*.csv)\0*.csv\0HTML file (*.htm)\0*.htm\0\0";
constexpr const char* kFilterExtensions[] = {"txt", "csv", "htm"};

// The record file's name: what krxtool's export names its page after when
// run beside the file.
const char* RecordFileName(RecordCollection c) {
  switch (c) {
    case kVisitRecords: return "visit.log";
    case kBlockRecords: return "block.log";
    case kFlashRecords: return "flash.log";
    case kMediaRecords: return "media.log";
    case kWhiteList: return "white.log";
    default: return "forbid.log";
  }
}

}  // namespace

void CManagerDlg::OnExport(bool chosenDay) {
  const int view = CurrentView();
  RecordCollection collection;
  if (!CollectionOfView(view, collection)) return;
  std::string date;
  if (chosenDay && (!IsLogView(view) || !ChosenDay(view, date))) return;
  const std::string fileName = RecordFileName(collection);
  // A suggested name: the log's, and the day's without its slashes.
  std::string suggested = fileName.substr(0, fileName.find('.'));
  if (!date.empty()) {
    std::string day = date;
    for (char& c : day) if (c == '/') c = '-';
    suggested += "_" + day;
  }
  char path[MAX_PATH] = {};
  suggested.copy(path, sizeof path - 1);
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = m_hWnd;
  dialog.lpstrFilter = kExportFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.lpstrDefExt = kFilterExtensions[0];
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER;
  if (!GetSaveFileNameA(&dialog)) return;
  const DWORD index = dialog.nFilterIndex >= 1 && dialog.nFilterIndex <= 3 ? dialog.nFilterIndex - 1 : 0;
  // A name that says its format wins over the list's choice.
  const ExportFormat format = ExportFormatOfPath(path, kFilterFormats[index]);

  std::ostringstream out;
  {
    RecordRowWriter rows(out, format, date.empty() ? fileName : fileName + " " + date, false, "\r\n",
                         &SystemTextToUtf8);
    const StringArray lines = date.empty() ? collections_[collection] : ItemListLines(view, collections_[collection], date);
    for (const std::string& record : lines) rows.Row("", record);
    rows.End();
  }
  if (!WriteFileAtomic(path, out.str())) SkinMessageBox(std::string("Could not write ") + path + ".", GetTheme());
}

}  // namespace krx
