#pragma once
// One line added to a day file the way the manager can live with: the whole
// line with its CR LF in a single write at the end of the file.
#include <string>

namespace krx_addon {

enum class AppendOutcome {
  kWritten,
  kNoFolder,       // the folder is not there
  kFolderRefuses,  // the folder takes no new file (a protected-mode tab in tmp\ without its label)
  kBusy,           // another writer kept the lock past the wait: nothing written, try again later
  kFailed,         // anything else, a file being deleted that stayed so past the wait included
};

enum class LockWait {
  kBrief,           // a few tens of milliseconds, then kBusy: an event on the browser's thread
  kThenOutOfTurn,   // a second, then written without the lock: the last try for a kept line
};

// Opens (or creates) path for appending, sharing read, write and delete so
// the manager may read or delete the file at any moment, writes the line in
// one WriteFile and closes the file. Writers in other windows and processes
// take turns through a lock on one byte far past any real file end, which
// no reader ever touches. A refusing folder is told apart from a file the
// manager is deleting, and costs no wait.
AppendOutcome AppendDayLine(const std::string& path, const std::string& line, LockWait wait = LockWait::kBrief);

}  // namespace krx_addon
