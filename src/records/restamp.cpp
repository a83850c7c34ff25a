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

enum class Restamp { kDone, kOtherStamp, kUntouched };

Restamp RestampFile(const std::string& path, const std::string& oldPassword, const std::string& newStamp) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return Restamp::kUntouched;
  MemorySource source(bytes);
  RecordFileRead read = ReadRecordFileAnyStamp(source, &SystemWideToMultiByte);
  // A stamp that could not be read at all is empty and matches nothing.
  if (!SealedMatches(read.stamp, oldPassword)) return Restamp::kOtherStamp;
  if (read.status != RecordFileStatus::kLoaded) return Restamp::kUntouched;
  return SaveRecordFile(path, newStamp, read.records) ? Restamp::kDone : Restamp::kUntouched;
}

}  // namespace

RestampReport RestampRecordFiles(const std::string& userFolder, const std::string& oldPassword,
                                 const std::string& newPassword, const std::string& progressText,
                                 ProgressSink& progress) {
  RestampReport report;
  // The list is taken first: the temporary files written below must not
  // show up in the enumeration.
  std::vector<std::string> files = FindFilesWithExtension(userFolder, "*.log", ".log");
  report.files = int(files.size());
  progress.Start(progressText, report.files);
  const std::string newStamp = SealedCopy(newPassword);
  int step = 0;
  for (const std::string& path : files) {
    switch (RestampFile(path, oldPassword, newStamp)) {
      case Restamp::kDone:
        ++report.restamped;
        break;
      case Restamp::kOtherStamp:
        ++report.otherStamp;
        break;
      case Restamp::kUntouched:
        ++report.leftUntouched;
        break;
    }
    progress.Step(++step);
  }
  progress.Done();
  return report;
}

}  // namespace krx
