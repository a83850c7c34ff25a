#include "records/record_store.h"

#include "core/record_cipher.h"
#include "records/file_io.h"

namespace krx {

std::string KeepDamagedCopy(const std::string& path) {
  std::string copy = path + ".bad";
  for (int i = 2; FileExists(copy) && i < 1000; ++i) copy = path + ".bad" + std::to_string(i);
  return CopyFileBytes(path, copy) ? copy : std::string();
}

namespace {

// One file into its collection; what it throws leaves the collection marked
// unreadable, as it was marked before the file was opened.
RecordFileOutcome LoadRecordFile(const std::string& path, const std::string& password, bool isLog,
                                 StringArray& list, bool& unreadable, std::vector<std::string>& damagedCopies) {
  RecordFileRead read;
  {
    std::unique_ptr<FileSource> file = FileSource::Open(path);
    if (file) read = ReadRecordFile(*file, password, &SystemWideToMultiByte);
    if (!file || file->failed()) {
      // A read error says nothing about the file's bytes: it is neither
      // damaged nor to be replaced by what was read before the error.
      const bool there = FileExists(path);
      unreadable = there;
      return there ? RecordFileOutcome::kUnreadable : RecordFileOutcome::kMissing;
    }
  }
  // In a log, a record that cannot be one means damage inside the file.
  if (isLog && RemoveRecordsThatAreNoRecords(read.records) > 0) read.status = RecordFileStatus::kDamaged;
  switch (read.status) {
    case RecordFileStatus::kLoaded:
      list = std::move(read.records);
      unreadable = false;
      return RecordFileOutcome::kLoaded;
    case RecordFileStatus::kStampMismatch:
      list.clear();
      unreadable = false;
      return RecordFileOutcome::kStampMismatch;
    case RecordFileStatus::kDamaged:
      damagedCopies.push_back(KeepDamagedCopy(path));
      list = std::move(read.records);
      // Without its copy the original is the only trace of what was lost:
      // no save writes over it.
      unreadable = damagedCopies.back().empty();
      return RecordFileOutcome::kDamaged;
  }
  return RecordFileOutcome::kNotRead;
}

}  // namespace

RecordLoadReport LoadRecordFiles(const std::string& userFolder, const std::string& password,
                                 RecordCollections& collections) {
  RecordLoadReport report;
  for (int i = 0; i < kRecordCollectionCount; ++i) {
    // Held back until read whole: a save must never put what a read cut
    // short left (or an empty collection) in place of the file.
    collections.unreadable[i] = true;
    try {
      report.outcome[i] = LoadRecordFile(userFolder + kRecordFileNames[i], password, i <= kFlashRecords,
                                         collections.lists[i], collections.unreadable[i], report.damagedCopies);
    } catch (...) {
      // Out of memory in a log of years, say: the smaller files may still
      // load, and the user is told which one did not.
      report.outcome[i] = RecordFileOutcome::kNotRead;
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
