#pragma once
// What the manager window does with its records when it closes.
#include <string>
#include <vector>

#include "core/progress_sink.h"
#include "core/record_file.h"
#include "records/day_files.h"

namespace krx {

struct RecordShutdownReport {
  std::vector<std::string> unsaved;   // record files that could not be written, held back ones included
  std::vector<std::string> heldBack;  // of those, the ones unreadable since the start and kept untouched
  bool marksSaved = false;            // the marks of the day files kept reached the user folder
  int dayFilesDeleted = 0;
  int dayFilesKept = 0;              // left for the next start to merge, kept or not deletable
};

// Merge, save, mark, delete - in that order, so that nothing the add-on
// wrote is lost and nothing the user deleted comes back: lines written
// since the last refresh are merged first (only those: a line the user
// deleted is not read again); the six record files are saved; the day
// files' reading marks are saved beside them; then a day file is deleted
// only when its log's file was saved and the file has not grown since it
// was read, decided with every writer barred. Whatever stays is merged at
// the next start from its mark on.
RecordShutdownReport SaveRecordsAndDeleteDayFiles(DayFileMerger& merger, const RecordCollections& collections,
                                                  const std::string& tmpFolder, const std::string& userFolder,
                                                  const std::string& password, ProgressSink& progress);

}  // namespace krx
