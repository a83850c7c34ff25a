#pragma once
// The add-on's day files in the tmp folder, on Windows: counting, reading
// them into the four log collections, and deleting them.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/day_file_merge.h"
#include "core/progress_sink.h"
#include "core/record_file.h"
#include "records/folder_list.h"

namespace krx {

extern const char kReadingRecordsText[];  // the progress text of a merge

// Files in folder and all its sub-folders; folders themselves do not count.
// An empty name gives 0.
int CountFilesInTree(const std::string& folder);

// Clears the read-only attribute and deletes; false when the file does not
// exist or either step fails. Says nothing.
bool DeleteFileForced(const std::string& path);

// Deletes the day files of tmpFolder (*.vis, *.blc, *.fla, *.mms in that
// order) with DeleteFileForced; *.ins files stay. When mayDelete is given, a
// file is deleted only when it agrees. Returns how many were deleted.
using DayFileFilter = std::function<bool(const std::string& path, RecordCollection collection)>;
int DeleteDayFiles(const std::string& tmpFolder, const DayFileFilter& mayDelete = nullptr);

struct DayFileMergeResult {
  int range = 0;          // the progress range; 0 when no progress window opened
  bool found = false;     // at least one day file existed
  int filesRead = 0;
  size_t recordsAdded = 0;
};

// Merges day files into the four log collections. The manager window keeps
// one for its whole life beside its collections, so the hash index of each
// log survives from one refresh to the next.
class DayFileMerger {
 public:
  explicit DayFileMerger(RecordCollections& collections);
  DayFileMerger(const DayFileMerger&) = delete;
  DayFileMerger& operator=(const DayFileMerger&) = delete;

  // Reads every day file of tmpFolder into its collection under the
  // progress window ("Reading records, please wait...", one step per day
  // file). Files that cannot be opened are skipped and read next time. A
  // file read before gives only what was appended to it since (see
  // DayFileReadMark), so a record the user deleted stays deleted.
  DayFileMergeResult MergeAll(const std::string& tmpFolder, ProgressSink& progress);

  // The manager window's refresh: MergeAll, and when any day file was found,
  // add the new days of the log view viewId to dateList (its new keys are
  // appended at its end) and call fillItemList.
  DayFileMergeResult MergeDayFiles(const std::string& tmpFolder, int viewId, StringArray& dateList,
                                   ProgressSink& progress, const std::function<void()>& fillItemList);

  // For a caller that rewrote records of a log in place.
  void Invalidate(RecordCollection collection);

  // How far each day file was read, by path: a file that has grown since
  // then holds lines that are not merged yet.
  const std::map<std::string, DayFileReadMark>& readMarks() const { return marks_; }

 private:
  RecordCollections& collections_;
  std::array<MergeTarget, 4> targets_;  // visit, media, block, flash: the first four collections
  std::map<std::string, DayFileReadMark> marks_;
};

// The system's rule for lead bytes of double-byte characters: nullptr when
// the code page has none, so the merge can take its fast path.
LeadBytePredicate SystemLeadBytes();

// The size of a file now, or -1 when it cannot be read.
int64_t CurrentFileSize(const std::string& path);

}  // namespace krx
