#pragma once
// The add-on's day files in the tmp folder: counting, reading
// them into the four log collections, and deleting them.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/day_file_marks.h"
#include "core/day_file_merge.h"
#include "core/progress_sink.h"
#include "core/record_file.h"
#include "core/site_first_days.h"
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
// order) with DeleteFileForced; *.ins files stay. When deleteOne is given,
// it decides and deletes each file instead, true when it deleted. Returns
// how many were deleted.
using DayFileDelete = std::function<bool(const std::string& path, RecordCollection collection)>;
int DeleteDayFiles(const std::string& tmpFolder, const DayFileDelete& deleteOne = nullptr);

struct DayFileMergeResult {
  int range = 0;          // the progress range; 0 when no progress window opened
  bool found = false;     // at least one day file existed
  int filesRead = 0;
  size_t recordsAdded = 0;
  std::vector<DayFileLeftOut> leftOut;  // files with lines that are no records, in reading order
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

  // At start, before the first merge: the marks that the last save left in
  // userFolder. A log whose record file loaded continues its day files where
  // they stop, so a line deleted before that save stays deleted; the other
  // logs read their day files whole, which loses nothing.
  void UseSavedMarks(const std::string& userFolder, const std::string& tmpFolder,
                     const std::array<bool, kRecordCollectionCount>& logLoaded);

  // After the record files were saved: the marks of the day files still in
  // tmpFolder go to userFolder, the current ones for the logs saved and the
  // last saved ones for the logs in unsaved (their record file holds no
  // more than it did then). No day file left: no marks file. False when the
  // file could not be written or removed.
  bool SaveMarks(const std::string& userFolder, const std::string& tmpFolder, const std::vector<std::string>& unsaved);

  // A second folder of day files, beside the tmp folder every call names:
  // where the add-on writes when tmp\ refuses (LowTmpFolder). Its files are
  // merged, marked and deleted as those of tmp\; in the marks file their
  // names carry kSpareMarkPrefix, which no file name can hold.
  void SetSpareFolder(std::string folder) { spare_ = std::move(folder); }
  const std::string& spareFolder() const { return spare_; }

  // For a caller that rewrote records of a log in place (or loaded it again).
  void Invalidate(RecordCollection collection);

  // The first day of every site of a log (visit, media, block or flash).
  // Whoever asks it builds it first (EnsureBuilt, once after a load); every
  // merge from then on keeps it up to date, and whoever deletes records of
  // the log tells it (Removed, RemovedDay), which does nothing before it
  // is built.
  SiteFirstDays& FirstDays(RecordCollection log);

  // How far each day file was read, by path: a file that has grown since
  // then holds lines that are not merged yet.
  const std::map<std::string, DayFileReadMark>& readMarks() const { return marks_; }

 private:
  RecordCollections& collections_;
  std::array<MergeTarget, 4> targets_;  // visit, media, block, flash: the first four collections
  std::array<SiteFirstDays, 4> firstDays_;
  SiteFirstDays noDays_;
  std::map<std::string, DayFileReadMark> marks_;
  void ReadSavedMarks(const std::string& userFolder);

  DayFileMarks saved_;  // by file name: what the marks file holds
  bool savedRead_ = false;
  std::string spare_;

  struct Folder {
    std::string path;
    const char* markPrefix;
  };
  std::vector<Folder> Folders(const std::string& tmpFolder) const;
};

extern const char kSpareMarkPrefix[];  // "low|"

// Deletes a day file only when its size is still expectedSize. On Windows
// the size is read through a handle that shares no writing, opened before
// the look and held through the delete: a writer that has the file open
// keeps it (its line is still to come), and none can open it in between.
// The native build decides under the add-on's lock byte (at 2^62). False
// when the file stays: grown, held by a writer past a short wait, or not
// deletable.
bool DeleteDayFileIfUnchanged(const std::string& path, uint64_t expectedSize);

}  // namespace krx
