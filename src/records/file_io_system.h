#pragma once
// The few whole-file steps that the shared-file write is made of, one set
// per platform, so that its order of steps and fallbacks is the same code
// (and the same tests) everywhere.
#include <string>

namespace krx {
namespace file_system {

// Creates or empties path, writes bytes, flushes and closes; on any failure
// the half-written file is removed.
bool WriteNewFile(const std::string& path, const std::string& bytes);

enum class Replace { kDone, kTargetBusy, kFailed };
// Renames from over to in one step.
Replace ReplaceWith(const std::string& from, const std::string& to);

bool RemoveFile(const std::string& path);

// Over the old bytes of an existing file, in one write, then cut to length
// and flushed: a reader sees the old content or the new, never a short or
// empty file.
bool OverwriteInPlace(const std::string& path, const std::string& bytes);

// A short wait for a reader to let go of the target.
void PauseBeforeRetry();

}  // namespace file_system
}  // namespace krx
