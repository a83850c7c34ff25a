#include "records/record_shutdown.h"

#include <algorithm>

#include "core/day_file_names.h"
#include "records/record_store.h"

namespace krx {

namespace {

// What is still in the tmp folder, kept on purpose or not deleted, is merged
// again at the next start; a folder that cannot be listed counts as one.
int DayFilesLeft(const std::string& folder) {
  if (folder.empty()) return 0;
  int left = 0;
  for (const DayFileKind& kind : kDayFileDeleteOrder) {
    bool failed = false;
    left += int(FindFilesWithExtension(folder, kind.pattern, kind.extension, &failed).size()) + (failed ? 1 : 0);
  }
  return left;
}

}  // namespace

RecordShutdownReport SaveRecordsAndDeleteDayFiles(DayFileMerger& merger, const RecordCollections& collections,
                                                  const std::string& tmpFolder, const std::string& userFolder,
                                                  const std::string& password, ProgressSink& progress) {
  RecordShutdownReport report;
  merger.MergeAll(tmpFolder, progress);
  report.unsaved = SaveRecordFiles(userFolder, password, collections);
  for (int i = 0; i < kRecordCollectionCount; ++i) {
    if (collections.unreadable[i]) report.heldBack.push_back(kRecordFileNames[i]);
  }
  auto saved = [&](RecordCollection c) {
    return std::find(report.unsaved.begin(), report.unsaved.end(), kRecordFileNames[c]) == report.unsaved.end();
  };
  // The marks first: from here on a kept day file, or one whose delete
  // fails or never comes, continues where this merge stopped.
  merger.SaveMarks(userFolder, tmpFolder, report.unsaved);
  const auto& marks = merger.readMarks();
  auto deleteOne = [&](const std::string& path, RecordCollection c) {
    auto read = marks.find(path);
    return saved(c) && read != marks.end() && DeleteDayFileIfUnchanged(path, read->second.size);
  };
  // The add-on's folder for when tmp\ refuses is emptied the same way.
  const std::string& spare = merger.spareFolder();
  const bool twoFolders = !spare.empty() && spare != tmpFolder;
  report.dayFilesDeleted = DeleteDayFiles(tmpFolder, deleteOne) + (twoFolders ? DeleteDayFiles(spare, deleteOne) : 0);
  // Only the marks of the files kept stay.
  report.marksSaved = merger.SaveMarks(userFolder, tmpFolder, report.unsaved);
  report.dayFilesKept = DayFilesLeft(tmpFolder) + (twoFolders ? DayFilesLeft(spare) : 0);
  return report;
}

}  // namespace krx
