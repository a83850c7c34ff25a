#include "records/day_files.h"
#include "records/system_text.h"

#include <algorithm>
#include <cstring>

#include "core/date_list.h"
#include "core/day_file_names.h"
#include "records/busy_cursor.h"
#include "records/file_io.h"
#include "records/file_io_system.h"

namespace krx {

const char kReadingRecordsText[] = "Reading records, please wait...";
const char kSpareMarkPrefix[] = "low|";

int DeleteDayFiles(const std::string& tmpFolder, const DayFileDelete& deleteOne) {
  int deleted = 0;
  for (const DayFileKind& kind : kDayFileDeleteOrder) {
    for (const std::string& path : FindFilesWithExtension(tmpFolder, kind.pattern, kind.extension)) {
      if (deleteOne ? deleteOne(path, kind.collection) : DeleteFileForced(path)) ++deleted;
    }
  }
  return deleted;
}

namespace {

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

// The log a day file feeds, by its extension; false for any other file.
bool LogOfDayFile(const std::string& name, RecordCollection& log) {
  for (const DayFileKind& kind : kDayFileMergeOrder) {
    if (HasExtension(name, kind.extension)) {
      log = kind.collection;
      return true;
    }
  }
  return false;
}

}  // namespace

std::vector<DayFileMerger::Folder> DayFileMerger::Folders(const std::string& tmpFolder) const {
  std::vector<Folder> folders{{tmpFolder, ""}};
  if (!spare_.empty() && spare_ != tmpFolder) folders.push_back({spare_, kSpareMarkPrefix});
  return folders;
}

void DayFileMerger::UseSavedMarks(const std::string& userFolder, const std::string& tmpFolder,
                                  const std::array<bool, kRecordCollectionCount>& logLoaded) {
  ReadSavedMarks(userFolder);
  for (const auto& [name, mark] : saved_) {
    RecordCollection log;
    if (!LogOfDayFile(name, log) || !logLoaded[log]) continue;
    for (const Folder& folder : Folders(tmpFolder)) {
      const size_t prefix = std::strlen(folder.markPrefix);
      const bool ours = prefix ? name.compare(0, prefix, folder.markPrefix) == 0
                               : name.find(kSpareMarkPrefix) != 0;
      if (ours) marks_[folder.path + name.substr(prefix)] = mark;
    }
  }
}

void DayFileMerger::ReadSavedMarks(const std::string& userFolder) {
  std::string bytes;
  if (!ReadWholeFile(userFolder + kDayFileMarksName, bytes) || !ParseDayFileMarks(bytes, saved_)) saved_.clear();
  savedRead_ = true;
}

bool DayFileMerger::SaveMarks(const std::string& userFolder, const std::string& tmpFolder,
                              const std::vector<std::string>& unsaved) {
  // A session that ends before its start read the marks still keeps them
  // for the logs it does not save.
  if (!savedRead_) ReadSavedMarks(userFolder);
  DayFileMarks next;
  bool listed = true;
  for (const DayFileKind& kind : kDayFileMergeOrder) {
    const bool saved =
        std::find(unsaved.begin(), unsaved.end(), kRecordFileNames[kind.collection]) == unsaved.end();
    bool failed = false;
    for (const Folder& folder : Folders(tmpFolder)) {
      bool unlisted = false;
      const std::vector<std::string> paths =
          FindFilesWithExtension(folder.path, kind.pattern, kind.extension, &unlisted);
      failed = failed || unlisted;
      for (const std::string& path : paths) {
        const std::string name = folder.markPrefix + NameOf(path);
        if (saved) {
          if (auto read = marks_.find(path); read != marks_.end()) next[name] = read->second;
        } else if (auto kept = saved_.find(name); kept != saved_.end()) {
          next[name] = kept->second;
        }
      }
    }
    if (failed) {
      // Files not seen keep the marks last saved: a mark too many is harmless.
      listed = false;
      for (const auto& [name, mark] : saved_) {
        if (HasExtension(name, kind.extension)) next.emplace(name, mark);
      }
    }
  }
  const std::string path = userFolder + kDayFileMarksName;
  const bool written = next.empty() ? !FileExists(path) || file_system::RemoveFile(path)
                                    : WriteFileAtomic(path, SerializeDayFileMarks(next));
  if (written) saved_ = std::move(next);
  return written && listed;
}

DayFileMerger::DayFileMerger(RecordCollections& collections)
    : collections_(collections),
      targets_{{MergeTarget(collections[kVisitRecords]), MergeTarget(collections[kMediaRecords]),
                MergeTarget(collections[kBlockRecords]), MergeTarget(collections[kFlashRecords])}} {}

void DayFileMerger::Invalidate(RecordCollection collection) {
  if (collection < int(targets_.size())) {
    targets_[collection].Invalidate();
    firstDays_[collection].Forget();
  }
}

SiteFirstDays& DayFileMerger::FirstDays(RecordCollection log) {
  // A list has no days: its index is one nobody builds, so every call on it does nothing.
  if (size_t(log) >= firstDays_.size()) {
    noDays_.Forget();
    return noDays_;
  }
  return firstDays_[log];
}

DayFileMergeResult DayFileMerger::MergeAll(const std::string& tmpFolder, ProgressSink& progress) {
  DayFileMergeResult result;
  const std::vector<Folder> folders = Folders(tmpFolder);
  // Only *.ins files of the folders themselves are subtracted; anything else
  // (files in sub-folders included) keeps the range larger than the steps.
  int total = 0;
  for (const Folder& folder : folders) {
    const int files = CountFilesInTree(folder.path);
    if (files >= 1) total += files - int(FindFilesWithExtension(folder.path, kInsPattern, kInsExtension).size());
  }
  if (total >= 1) {
    result.range = total;
    progress.Start(kReadingRecordsText, result.range);
  }
  const LeadBytePredicate isLead = SystemLeadBytes();
  int step = 0;
  for (const DayFileKind& kind : kDayFileMergeOrder) {
    std::vector<std::string> files;
    for (const Folder& folder : folders) {
      for (std::string& path : FindFilesWithExtension(folder.path, kind.pattern, kind.extension)) {
        files.push_back(std::move(path));
      }
    }
    if (files.empty()) continue;
    result.found = true;
    BusyCursor cursor;
    for (const std::string& path : files) {
      std::string text;
      if (ReadWholeFile(path, text)) {
        StringArray& log = collections_[kind.collection];
        const size_t before = log.size();
        size_t leftOut = 0;
        result.recordsAdded += targets_[kind.collection].MergeDayTextAfter(text, marks_[path], isLead, &leftOut);
        firstDays_[kind.collection].Appended(log, before);
        if (leftOut != 0) result.leftOut.push_back({NameOf(path), leftOut});
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
