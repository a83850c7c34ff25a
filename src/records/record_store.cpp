#include "records/record_store.h"

#include "core/record_cipher.h"
#include "records/file_io.h"

namespace krx {

std::string KeepDamagedCopy(const std::string& path) {
  std::string copy = path + ".bad";
  for (int i = 2; FileExists(copy) && i < 1000; ++i) copy = path + ".bad" + std::to_string(i);
  return CopyFileBytes(path, copy) ? copy : std::string();
}

RecordLoadReport LoadRecordFiles(const std::string& userFolder, const std::string& password,
                                 RecordCollections& collections) {
  RecordLoadReport report;
  for (int i = 0; i < kRecordCollectionCount; ++i) {
    std::string path = userFolder + kRecordFileNames[i];
    RecordFileRead read;
    {
      std::unique_ptr<FileSource> file = FileSource::Open(path);
      if (file) read = ReadRecordFile(*file, password, &SystemWideToMultiByte);
      if (!file || file->failed()) {
        // A read error says nothing about the file's bytes: it is neither
        // damaged nor to be replaced by what was read before the error.
        const bool there = FileExists(path);
        report.outcome[i] = there ? RecordFileOutcome::kUnreadable : RecordFileOutcome::kMissing;
        collections.unreadable[i] = there;
        continue;
      }
    }
    collections.unreadable[i] = false;
    // In a log, a record that cannot be one means damage inside the file.
    const bool isLog = i <= kFlashRecords;
    if (isLog && RemoveRecordsThatAreNoRecords(read.records) > 0) read.status = RecordFileStatus::kDamaged;
    switch (read.status) {
      case RecordFileStatus::kLoaded:
        report.outcome[i] = RecordFileOutcome::kLoaded;
        collections.lists[i] = std::move(read.records);
        break;
      case RecordFileStatus::kStampMismatch:
        report.outcome[i] = RecordFileOutcome::kStampMismatch;
        collections.lists[i].clear();
        break;
      case RecordFileStatus::kDamaged:
        report.outcome[i] = RecordFileOutcome::kDamaged;
        report.damagedCopies.push_back(KeepDamagedCopy(path));
        // Without its copy the original is the only trace of what was
        // lost: no save writes over it.
        collections.unreadable[i] = report.damagedCopies.back().empty();
        collections.lists[i] = std::move(read.records);
        break;
    }
  }
  return report;
}

bool SaveRecordFile(const std::string& path, const std::string& stamp, const StringArray& records) {
  AtomicFileWriter writer;
  if (!writer.Open(path)) return false;
  return WriteRecordFile(writer, stamp, records) && writer.Commit();
}

std::vector<std::string> SaveRecordFiles(const std::string& userFolder, const std::string& password,
                                         const RecordCollections& collections) {
  std::vector<std::string> failed;
  const std::string stamp = SealedCopy(password);  // sealing is deterministic: one stamp for all six
  for (int i = 0; i < kRecordCollectionCount; ++i) {
    if (collections.unreadable[i] || !SaveRecordFile(userFolder + kRecordFileNames[i], stamp, collections.lists[i])) {
      failed.push_back(kRecordFileNames[i]);
    }
  }
  return failed;
}

}  // namespace krx
