#include "records/record_shutdown.h"

#include <algorithm>

#include "records/record_store.h"

namespace krx {

RecordShutdownReport SaveRecordsAndDeleteDayFiles(DayFileMerger& merger, const RecordCollections& collections,
                                                  const std::string& tmpFolder, const std::string& userFolder,
                                                  const std::string& password, ProgressSink& progress) {
  RecordShutdownReport report;
  merger.MergeAll(tmpFolder, progress);
  report.unsaved = SaveRecordFiles(userFolder, password, collections);
  auto saved = [&](RecordCollection c) {
    return std::find(report.unsaved.begin(), report.unsaved.end(), kRecordFileNames[c]) == report.unsaved.end();
  };
  const auto& marks = merger.readMarks();
  report.dayFilesDeleted = DeleteDayFiles(tmpFolder, [&](const std::string& path, RecordCollection c) {
    auto read = marks.find(path);
    bool mayDelete = saved(c) && read != marks.end() && CurrentFileSize(path) == int64_t(read->second.size);
    if (!mayDelete) ++report.dayFilesKept;
    return mayDelete;
  });
  return report;
}

}  // namespace krx
