#pragma once
// Re-stamping the record files of the user folder after a password change.
#include <string>

#include "core/progress_sink.h"

namespace krx {

struct RestampReport {
  int files = 0;          // *.log files of the user folder
  int restamped = 0;
  int otherStamp = 0;     // another password's files: left as they are
  int leftUntouched = 0;  // unreadable, damaged, or could not be replaced
};

// Every *.log file of userFolder (not only the six record files) that has
// the record file layout and oldPassword's stamp is rewritten with
// newPassword's stamp and its records unchanged, through a temporary file
// replaced in one step. A file that cannot be read whole is left untouched,
// so a damaged file is never made worse. Progress: text, one step per file.
RestampReport RestampRecordFiles(const std::string& userFolder, const std::string& oldPassword,
                                 const std::string& newPassword, const std::string& progressText,
                                 ProgressSink& progress);

}  // namespace krx
