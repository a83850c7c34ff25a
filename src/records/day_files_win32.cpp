#include "records/day_files.h"

#include <windows.h>

#include <cstring>

#include "core/date_list.h"
#include "core/day_file_names.h"
#include "records/file_io.h"

namespace krx {

const char kReadingRecordsText[] = "Reading records, please wait...";

namespace {

class FindHandle {
 public:
  FindHandle(const std::string& pattern, WIN32_FIND_DATAA& data)
      : handle_(FindFirstFileA(pattern.c_str(), &data)) {}
  ~FindHandle() {
    if (valid()) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Next(WIN32_FIND_DATAA& data) { return FindNextFileA(handle_, &data) != FALSE; }

 private:
  HANDLE handle_;
};

// The wait cursor while files are read, as the user expects of a busy window.
class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

std::string WithBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder.push_back('\\');
  return folder;
}

bool IsFolder(const WIN32_FIND_DATAA& data) { return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

}  // namespace

namespace {
bool SystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }
}  // namespace

LeadBytePredicate SystemLeadBytes() {
  CPINFO info;
  if (GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1) return nullptr;
  return &SystemLeadByte;
}

int64_t CurrentFileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (int64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int CountFilesInTree(const std::string& folder) {
  if (folder.empty()) return 0;
  const std::string base = WithBackslash(folder);
  WIN32_FIND_DATAA data;
  FindHandle find(base + "*.*", data);
  if (!find.valid()) return 0;
  int count = 0;
  do {
    if (!IsFolder(data)) {
      ++count;
    } else if (std::strcmp(data.cFileName, ".") != 0 && std::strcmp(data.cFileName, "..") != 0 &&
               (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
      // A junction could lead back up the tree; the add-on never makes one.
      count += CountFilesInTree(base + data.cFileName);
    }
  } while (find.Next(data));
  return count;
}

bool DeleteFileForced(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  if (!SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL)) return false;
  return DeleteFileA(path.c_str()) != FALSE;
}

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
    WaitCursor cursor;
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
      WaitCursor cursor;
      BuildDateList(viewId, collections_, dateList, progress);
    }
    if (fillItemList) fillItemList();
  }
  return result;
}

}  // namespace krx
