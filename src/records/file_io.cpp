// What the file layer does the same way on every platform.
#include "records/file_io.h"

#include "records/file_io_system.h"

namespace krx {

bool WriteFileAtomic(const std::string& path, const std::string& bytes) {
  AtomicFileWriter writer;
  return writer.Open(path) && writer.Write(bytes.data(), bytes.size()) && writer.Commit();
}

// Through the crash-safe write on both platforms: a copy cut short never
// leaves a half-written file under the copy's name.
bool CopyFileBytes(const std::string& from, const std::string& to) {
  std::string bytes;
  return ReadWholeFile(from, bytes) && WriteFileAtomic(to, bytes);
}

namespace {
constexpr int kReplaceAttempts = 5;
}  // namespace

bool WriteSharedFile(const std::string& path, const std::string& bytes) {
  using namespace file_system;
  const std::string temp = path + ".tmp";
  if (!WriteNewFile(temp, bytes)) return OverwriteInPlace(path, bytes);
  for (int attempt = 1;; ++attempt) {
    const Replace replaced = ReplaceWith(temp, path);
    if (replaced == Replace::kDone) return true;
    // The reader usually lets go within moments.
    if (replaced != Replace::kTargetBusy || attempt == kReplaceAttempts) break;
    PauseBeforeRetry();
  }
  RemoveFile(temp);
  return OverwriteInPlace(path, bytes);
}

}  // namespace krx
