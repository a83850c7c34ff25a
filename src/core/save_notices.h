#pragma once
// What the user is told, once, when a record file cannot be read or
// written: which file, and what becomes of its records. A missing file and
// a file of another password are no failures and are never named here.
#include <string>
#include <vector>

#include "core/day_file_merge.h"
#include "core/record_file.h"

namespace krx {

// At start: the record files that are there but cannot be read, and those
// whose read stopped part-way (memory ran short, an internal error); both
// are kept untouched. Empty text for none.
std::string UnreadableRecordsNotice(const std::vector<std::string>& files,
                                    const std::vector<std::string>& notLoaded = {});

// At start: the damaged record files, each with the name of the copy of
// its bytes (copies[i] for files[i]; "" when no copy could be made).
// Empty text for none.
std::string DamagedRecordsNotice(const std::vector<std::string>& files, const std::vector<std::string>& copies);

// At the close: the record files not written, but for those held back since
// the start (their notice came then), and the day files' marks when they
// did not reach the user folder. Empty text for none.
std::string UnsavedAtCloseNotice(const std::vector<std::string>& unsaved, const std::vector<std::string>& heldBack,
                                 bool marksSaved = true);

// After a merge: the day files whose lines that are no records were left
// out, and how many. Empty text for none.
std::string DayFileLinesLeftOutNotice(const std::vector<DayFileLeftOut>& files);

// "Add to White list", "Add to Forbidden list", "Add new item": the list
// could not be saved.
std::string ListNotSavedNotice(RecordCollection list);

}  // namespace krx
