#pragma once
// krxtool: export, import and inspection of the manager's files from the
// command line, on the same code as the manager itself.
#include <iosfwd>
#include <string>
#include <vector>

namespace krx {

enum KrxToolExit {
  kExitOk = 0,
  kExitUsage = 1,
  kExitFile = 2,           // cannot read or write (standard output too), or the file is damaged
  kExitWrongPassword = 3,  // the file's stamp, or the user.sav beside it, is another password's
  kExitManagerRunning = 4, // writes wait until the manager has closed
};

// Answers whether the manager is running (Windows: its single-instance
// mutex exists). Writes are refused while it does.
using ManagerRunningProbe = bool (*)();

#ifdef _WIN32
// True while a manager process holds the product's single-instance mutex.
bool ManagerMutexExists();
#endif

// The time an export's heading shows ("mm/dd/yyyy hh:mm:ss"); tests pass
// a fixed one, so that two runs give the same bytes.
using ExportClock = std::string (*)();

// A read error on `in` must set its badbit (a stream buffer that throws
// does), so that it is never taken for the end of the input. Without a
// clock, exports show the local time.
int RunKrxTool(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
               ManagerRunningProbe managerRunning, ExportClock clock = nullptr);

}  // namespace krx
