#pragma once
// Re-stamping the record files of the user folder after a password change.
#include <string>
#include <vector>

#include "core/progress_sink.h"

namespace krx {

struct RestampReport {
  int files = 0;          // *.log files of the user folder
  int restamped = 0;
  int otherStamp = 0;     // another password's files: left as they are
  int leftUntouched = 0;  // damaged: never made worse
  int failed = 0;         // could not be read or replaced: still the old stamp
  std::vector<std::string> restampedFiles;
};

// Every *.log file of userFolder (not only the six record files) that has
// the record file layout and oldPassword's stamp is rewritten with
// newPassword's stamp and its records unchanged, through a temporary file
// replaced in one step. A damaged file is left untouched, so it is never
// made worse. Progress: text, one step per file.
RestampReport RestampRecordFiles(const std::string& userFolder, const std::string& oldPassword,
                                 const std::string& newPassword, const std::string& progressText,
                                 ProgressSink& progress);

// Gives the files that a change re-stamped their old stamp back, when the
// change as a whole could not be made. False when a file could not be read
// or written back: it may still carry the new stamp.
bool RestoreStamps(const std::vector<std::string>& files, const std::string& newPassword,
                   const std::string& oldPassword);

}  // namespace krx
