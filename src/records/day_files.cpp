#include "records/day_files.h"
#include "records/system_text.h"

#include "core/date_list.h"
#include "core/day_file_names.h"
#include "records/busy_cursor.h"
#include "records/file_io.h"

namespace krx {

const char kReadingRecordsText[] = "Reading records, please wait...";

int DeleteDayFiles(const std::string& tmpFolder, const DayFileFilter& mayDelete) {
  int deleted = 0;
  for (const DayFileKind& kind : kDayFileDeleteOrder) {
    for (const std::string& path : FindFilesWithExtension(tmpFolder, kind.pattern, kind.extension)) {
      if (mayDelete && !mayDelete(path, kind.collection)) continue;
      if (DeleteFileForced(path)) ++deleted;
    }
  }
  return deleted;
}

DayFileMerger::DayFileMerger(RecordCollections& collections)
    : collections_(collections),
      targets_{{MergeTarget(collections[kVisitRecords]), MergeTarget(collections[kMediaRecords]),
                MergeTarget(collections[kBlockRecords]), MergeTarget(collections[kFlashRecords])}} {}

void DayFileMerger::Invalidate(RecordCollection collection) {
  if (collection < int(targets_.size())) targets_[collection].Invalidate();
}

DayFileMergeResult DayFileMerger::MergeAll(const std::string& tmpFolder, ProgressSink& progress) {
  DayFileMergeResult result;
  const int total = CountFilesInTree(tmpFolder);
  if (total >= 1) {
    // Only *.ins files of the folder itself are subtracted; anything else
    // (files in sub-folders included) keeps the range larger than the steps.
    int ins = int(FindFilesWithExtension(tmpFolder, kInsPattern, kInsExtension).size());
    if (total - ins >= 1) {
      result.range = total - ins;
      progress.Start(kReadingRecordsText, result.range);
    }
  }
  const LeadBytePredicate isLead = SystemLeadBytes();
  int step = 0;
  for (const DayFileKind& kind : kDayFileMergeOrder) {
    std::vector<std::string> files = FindFilesWithExtension(tmpFolder, kind.pattern, kind.extension);
    if (files.empty()) continue;
    result.found = true;
    BusyCursor cursor;
    for (const std::string& path : files) {
      std::string text;
      if (ReadWholeFile(path, text)) {
        result.recordsAdded += targets_[kind.collection].MergeDayTextAfter(text, marks_[path], isLead);
        ++result.filesRead;
      }
      ++step;
      if (result.range >= 1) progress.Step(step);
    }
  }
  if (result.range >= 1) progress.Done();
  return result;
}

DayFileMergeResult DayFileMerger::MergeDayFiles(const std::string& tmpFolder, int viewId, StringArray& dateList,
                                                ProgressSink& progress, const std::function<void()>& fillItemList) {
  DayFileMergeResult result = MergeAll(tmpFolder, progress);
  if (result.found) {
    {
      BusyCursor cursor;
      BuildDateList(viewId, collections_, dateList, progress);
    }
    if (fillItemList) fillItemList();
  }
  return result;
}

}  // namespace krx
