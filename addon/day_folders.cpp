#include "day_folders.h"

#include <windows.h>

#include <mutex>

#include "core/day_folder_choice.h"
#include "core/folder_path.h"
#include "day_file_append.h"
#include "records/folders.h"

namespace krx_addon {
namespace {

std::mutex g_choiceLock;
krx::DayFolderChoice g_choice;  // one program folder per process: one tmp folder

// The low folder, asked of the browser once per process.
const std::string& LowFolder() {
  static const std::string folder = krx::LowTmpFolder(true);
  return folder;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The line appended; a missing folder is made (every step of its path) and
// the line tried once more.
AppendOutcome AppendMakingFolder(const std::string& folder, const std::string& name, const std::string& line) {
  AppendOutcome outcome = AppendDayLine(folder + name, line);
  if (outcome != AppendOutcome::kNoFolder || IsFolder(folder)) return outcome;
  for (const std::string& step : krx::FolderPathSteps(folder)) {
    if (!IsFolder(step)) CreateDirectoryA(step.c_str(), nullptr);
  }
  return AppendDayLine(folder + name, line);
}

}  // namespace

bool WriteDayLine(const std::string& tmpFolder, const std::string& name, const std::string& line) {
  bool tryTmp;
  {
    std::lock_guard<std::mutex> guard(g_choiceLock);
    tryTmp = g_choice.TryTmp(GetTickCount());
  }
  if (tryTmp) {
    // The manager makes tmp\ at its start; before it ever ran, the add-on
    // makes it itself.
    const AppendOutcome outcome = AppendMakingFolder(tmpFolder, name, line);
    std::lock_guard<std::mutex> guard(g_choiceLock);
    if (outcome == AppendOutcome::kWritten) {
      g_choice.Took();
      return true;
    }
    if (outcome != AppendOutcome::kFailed) g_choice.Refused(GetTickCount());
  }
  // Any line tmp\ did not take goes here rather than nowhere.
  const std::string& low = LowFolder();
  return !low.empty() && low != tmpFolder && AppendMakingFolder(low, name, line) == AppendOutcome::kWritten;
}

}  // namespace krx_addon
