#pragma once
// What the manager window does with its records when it closes.
#include <string>
#include <vector>

#include "core/progress_sink.h"
#include "core/record_file.h"
#include "records/day_files.h"

namespace krx {

struct RecordShutdownReport {
  std::vector<std::string> unsaved;  // record files that could not be written
  int dayFilesDeleted = 0;
  int dayFilesKept = 0;              // left for the next start to merge
};

// Merge, save, delete - in that order, so that nothing the add-on wrote is
// lost: lines written since the last refresh are merged first (only those:
// a line the user deleted is not read again); the six
// record files are saved; then a day file is deleted only when its log's
// file was saved and the file has not grown since it was read. Whatever
// stays is merged again at the next start, where its known lines are
// skipped.
RecordShutdownReport SaveRecordsAndDeleteDayFiles(DayFileMerger& merger, const RecordCollections& collections,
                                                  const std::string& tmpFolder, const std::string& userFolder,
                                                  const std::string& password, ProgressSink& progress);

}  // namespace krx
