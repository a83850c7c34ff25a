#include "day_folders.h"

#include <windows.h>

#include <deque>
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
AppendOutcome AppendMakingFolder(const std::string& folder, const std::string& name, const std::string& line,
                                 LockWait wait) {
  AppendOutcome outcome = AppendDayLine(folder + name, line, wait);
  if (outcome != AppendOutcome::kNoFolder || IsFolder(folder)) return outcome;
  for (const std::string& step : krx::FolderPathSteps(folder)) {
    if (!IsFolder(step)) CreateDirectoryA(step.c_str(), nullptr);
  }
  return AppendDayLine(folder + name, line, wait);
}

struct DayLine {
  std::string tmpFolder, name, line;
};

// One line into tmp\ or, where tmp\ refuses, the low folder. kBusy: another
// writer kept the file's lock, nothing was written, the line waits.
AppendOutcome WriteOne(const DayLine& l, LockWait wait) {
  bool tryTmp;
  {
    std::lock_guard<std::mutex> guard(g_choiceLock);
    tryTmp = g_choice.TryTmp(GetTickCount());
  }
  if (tryTmp) {
    // The manager makes tmp\ at its start; before it ever ran, the add-on
    // makes it itself.
    const AppendOutcome outcome = AppendMakingFolder(l.tmpFolder, l.name, l.line, wait);
    if (outcome == AppendOutcome::kBusy) return outcome;
    std::lock_guard<std::mutex> guard(g_choiceLock);
    if (outcome == AppendOutcome::kWritten) {
      g_choice.Took();
      return outcome;
    }
    if (outcome != AppendOutcome::kFailed) g_choice.Refused(GetTickCount());
  }
  // Any line tmp\ did not take goes here rather than nowhere.
  const std::string& low = LowFolder();
  if (low.empty() || low == l.tmpFolder) return AppendOutcome::kFailed;
  return AppendMakingFolder(low, l.name, l.line, wait);
}

// Lines not yet written, oldest first, and the one thread that writes them:
// a line that met a busy file stays first, so the process's lines keep
// their order, and a thread that finds another one writing leaves its line
// to that one rather than wait behind it.
std::mutex g_queueLock;
std::deque<DayLine> g_queue;
std::mutex g_writerLock;

// Writes the kept lines in order until none is left or one meets a busy
// file; false for the busy file.
bool WriteQueue(LockWait wait) {
  for (;;) {
    DayLine next;
    {
      std::lock_guard<std::mutex> guard(g_queueLock);
      if (g_queue.empty()) return true;
      next = g_queue.front();
    }
    if (WriteOne(next, wait) == AppendOutcome::kBusy) return false;
    std::lock_guard<std::mutex> guard(g_queueLock);
    g_queue.pop_front();
  }
}

// Writes the kept lines if no other thread is writing them; goes round
// again for a line that came while the writer was letting go.
void WriteKeptLines(LockWait wait) {
  for (;;) {
    {
      std::unique_lock<std::mutex> writer(g_writerLock, std::try_to_lock);
      if (!writer.owns_lock()) return;
      if (!WriteQueue(wait)) return;
    }
    std::lock_guard<std::mutex> guard(g_queueLock);
    if (g_queue.empty()) return;
  }
}

}  // namespace

void WriteDayLine(const std::string& tmpFolder, const std::string& name, const std::string& line) {
  {
    std::lock_guard<std::mutex> guard(g_queueLock);
    g_queue.push_back(DayLine{tmpFolder, name, line});
  }
  WriteKeptLines(LockWait::kBrief);
}

void WriteKeptDayLines() {
  // The writer of this moment, if any, finishes first.
  std::lock_guard<std::mutex> writer(g_writerLock);
  WriteQueue(LockWait::kThenOutOfTurn);
}

size_t KeptDayLines() {
  std::lock_guard<std::mutex> guard(g_queueLock);
  return g_queue.size();
}

}  // namespace krx_addon
