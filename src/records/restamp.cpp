#include "records/restamp.h"

#include <vector>

#include "core/archive.h"
#include "core/record_cipher.h"
#include "core/record_file.h"
#include "records/file_io.h"
#include "records/folder_list.h"
#include "records/record_store.h"

namespace krx {

namespace {

enum class Restamp { kDone, kOtherStamp, kUntouched, kFailed };

Restamp RestampFile(const std::string& path, const std::string& oldPassword, const std::string& newStamp) {
  std::string bytes;
  // A file that cannot be read may well carry the old stamp.
  if (!ReadWholeFile(path, bytes)) return Restamp::kFailed;
  MemorySource source(bytes);
  RecordFileRead read = ReadRecordFileAnyStamp(source, &SystemWideToMultiByte);
  // A stamp that could not be read at all is empty and matches nothing.
  if (!SealedMatches(read.stamp, oldPassword)) return Restamp::kOtherStamp;
  if (read.status != RecordFileStatus::kLoaded) return Restamp::kUntouched;
  return SaveRecordFile(path, newStamp, read.records) ? Restamp::kDone : Restamp::kFailed;
}

}  // namespace

RestampReport RestampRecordFiles(const std::string& userFolder, const std::string& oldPassword,
                                 const std::string& newPassword, const std::string& progressText,
                                 ProgressSink& progress) {
  RestampReport report;
  // The list is taken first: the temporary files written below must not
  // show up in the enumeration.
  bool listFailed = false;
  std::vector<std::string> files = FindFilesWithExtension(userFolder, "*.log", ".log", &listFailed);
  report.files = int(files.size());
  if (listFailed) ++report.failed;  // files that may carry the old stamp were not seen
  progress.Start(progressText, report.files);
  const std::string newStamp = SealedCopy(newPassword);
  int step = 0;
  for (const std::string& path : files) {
    switch (RestampFile(path, oldPassword, newStamp)) {
      case Restamp::kDone:
        ++report.restamped;
        report.restampedFiles.push_back(path);
        break;
      case Restamp::kOtherStamp:
        ++report.otherStamp;
        break;
      case Restamp::kUntouched:
        ++report.leftUntouched;
        break;
      case Restamp::kFailed:
        ++report.failed;
        break;
    }
    progress.Step(++step);
  }
  progress.Done();
  return report;
}

bool RestoreStamps(const std::vector<std::string>& files, const std::string& newPassword,
                   const std::string& oldPassword) {
  const std::string oldStamp = SealedCopy(oldPassword);
  bool all = true;
  for (const std::string& path : files) {
    // A file that already carries the old stamp again needs nothing.
    all = RestampFile(path, newPassword, oldStamp) != Restamp::kFailed && all;
  }
  return all;
}

}  // namespace krx
