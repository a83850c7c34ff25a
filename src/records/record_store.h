#pragma once
// Loading and saving the six record files of the user folder.
#include <array>
#include <string>
#include <vector>

#include "core/record_file.h"

namespace krx {

// kNotRead: the read of the file stopped on a throw (memory ran out, say);
// its collection is not loaded and its file is kept as it is.
enum class RecordFileOutcome { kMissing, kLoaded, kStampMismatch, kDamaged, kUnreadable, kNotRead };

struct RecordLoadReport {
  std::array<RecordFileOutcome, kRecordCollectionCount> outcome{};
  // Where each damaged file's bytes were copied before anything could
  // overwrite it, in the order of the files; "" when the copy failed.
  std::vector<std::string> damagedCopies;
};

// For visit, media, block, flash, white and forbid in that order: a file that
// is not there leaves its collection alone; another password's file leaves
// it empty; a damaged file keeps the records read whole and is copied to
// "<name>.bad" (or the next free "<name>.badN") first; a copy that fails
// marks it unreadable, so no save writes over it. A log holding records
// that cannot be records is damaged too, and keeps the others. A file that is there
// but cannot be opened or read through leaves its collection alone too, and
// is marked unreadable so that no save writes over it; so is a file whose
// read throws (kNotRead), and the next file is read all the same. Never
// throws: each collection is marked unreadable from the moment its file is
// taken up until it was loaded whole.
RecordLoadReport LoadRecordFiles(const std::string& userFolder, const std::string& password,
                                 RecordCollections& collections);

// Writes all six files, each through a temporary file replaced in one step.
// Returns the names of files that could not be written, or were held back
// as unreadable; their old bytes stay.
std::vector<std::string> SaveRecordFiles(const std::string& userFolder, const std::string& password,
                                         const RecordCollections& collections);

// Writes one record file the same way.
bool SaveRecordFile(const std::string& path, const std::string& stamp, const StringArray& records);

// Copies a damaged file beside itself under the first free backup name.
std::string KeepDamagedCopy(const std::string& path);

}  // namespace krx
