#include "records/password_store.h"

#include <memory>
#include <set>

#include "core/archive.h"
#include "core/password_rules.h"
#include "core/record_cipher.h"
#include "core/record_file.h"
#include "records/file_io.h"

namespace krx {

std::string PasswordFilePath(const std::string& userFolder) { return userFolder + kPasswordFileName; }

namespace {

// The stamp of the first record file (in load order) that carries a whole
// sealed block: the sealed password of the last save, the same bytes that
// user.sav holds. Empty when no record file has one.
std::string RecordFilesStamp(const std::string& userFolder) {
  for (const char* name : kRecordFileNames) {
    std::unique_ptr<FileSource> source = FileSource::Open(userFolder + name);
    if (!source) continue;
    ArchiveReader in(*source);
    std::string stamp;
    if (in.ReadCountedString(stamp) && !stamp.empty() && stamp.size() % 8 == 0) return stamp;
  }
  return std::string();
}

enum class SealedSource { kNone, kUserFile, kRecordStamp, kUnreadable };

// The sealed password that guards the login. A zero-length user.sav holds
// no block at all (a write cut short, or the file emptied by hand); the
// record files still open with the same sealed password, so that copy takes
// its place: the user's own password keeps working, no record written under
// it is lost, and emptying user.sav lets nobody in who could not already.
// With no stamped record file there is nothing to guard: first use.
SealedSource ReadSealedPassword(const std::string& userFolder, std::string& sealed) {
  sealed.clear();
  const std::string path = PasswordFilePath(userFolder);
  if (!FileExists(path)) return SealedSource::kNone;
  if (!ReadWholeFile(path, sealed)) return SealedSource::kUnreadable;
  if (!sealed.empty()) return SealedSource::kUserFile;
  sealed = RecordFilesStamp(userFolder);
  return sealed.empty() ? SealedSource::kNone : SealedSource::kRecordStamp;
}

// Forward, back, forward: two failing writes in a row still end with one
// password for user.sav and every file.
constexpr int kSettleRounds = 3;

}  // namespace

bool IsFirstUse(const std::string& userFolder) {
  std::string sealed;
  return ReadSealedPassword(userFolder, sealed) == SealedSource::kNone;
}

bool LoginRequired(const std::string& userFolder) {
  std::string sealed;
  switch (ReadSealedPassword(userFolder, sealed)) {
    case SealedSource::kUserFile:
    case SealedSource::kRecordStamp:
      return !IsSealedEmptyPassword(sealed);
    default:
      return true;
  }
}

bool WritePasswordFile(const std::string& userFolder, const std::string& password) {
  return WriteFileAtomic(PasswordFilePath(userFolder), SealedCopy(password));
}

LoginResult SubmitLogin(const std::string& userFolder, const std::string& typed) {
  std::string sealed;
  switch (ReadSealedPassword(userFolder, sealed)) {
    case SealedSource::kNone:
      return WritePasswordFile(userFolder, typed) ? LoginResult::kAccepted : LoginResult::kCreateFailed;
    case SealedSource::kUnreadable:
      // A file that is there but cannot be read proves nothing: letting the
      // user in unchecked would make a locked file a way around the password.
      return LoginResult::kUnreadable;
    case SealedSource::kUserFile:
      return SealedMatches(sealed, typed) ? LoginResult::kAccepted : LoginResult::kIncorrect;
    case SealedSource::kRecordStamp:
      break;
  }
  if (!SealedMatches(sealed, typed)) return LoginResult::kIncorrect;
  // The right password: user.sav gets its sealed copy back. Should that
  // fail, the stamp still guards the next start.
  WritePasswordFile(userFolder, typed);
  return LoginResult::kAccepted;
}

PasswordChangeResult ChangePassword(const std::string& userFolder, std::string& currentPassword,
                                    const std::string& typedOld, const std::string& typedNew,
                                    const std::string& typedConfirm, ProgressSink& progress, RestampReport* report) {
  switch (CheckPasswordChange(currentPassword, typedOld, typedNew, typedConfirm)) {
    case PasswordChangeCheck::kOldPasswordWrong:
      return PasswordChangeResult::kOldPasswordWrong;
    case PasswordChangeCheck::kConfirmMismatch:
      return PasswordChangeResult::kConfirmMismatch;
    case PasswordChangeCheck::kUnchanged:
      return PasswordChangeResult::kUnchanged;
    case PasswordChangeCheck::kProceed:
      break;
  }
  // Record files re-stamped while user.sav keeps the old password would
  // not load at the next start: without a new user.sav nothing changes.
  if (!WritePasswordFile(userFolder, typedNew)) return PasswordChangeResult::kUserFileNotWritten;
  std::string holds = typedNew;  // what user.sav holds: a failed write leaves its old bytes
  std::set<std::string> restamped;
  RestampReport done;
  // A file whose stamp is not user.sav's password would not load at the
  // next start, and the next save would put the session's records over it.
  // So after a failure every file goes back to the old stamp and user.sav to
  // the old password; when that fails too, everything goes forward again.
  // Each round settles the folder unless a write of its own fails.
  for (int round = 0; round < kSettleRounds; ++round) {
    const bool forward = round % 2 == 0;
    const std::string& target = forward ? typedNew : typedOld;
    bool settled = holds == target || WritePasswordFile(userFolder, target);
    if (settled) holds = target;
    if (forward) {
      RestampReport r = RestampRecordFiles(userFolder, typedOld, typedNew, kUpdatingRecordText, progress);
      restamped.insert(r.restampedFiles.begin(), r.restampedFiles.end());
      if (round == 0) done = r;
      settled = settled && r.failed == 0;
    } else {
      settled = RestoreStamps({restamped.begin(), restamped.end()}, typedNew, typedOld) && settled;
    }
    if (settled) {
      currentPassword = target;
      if (report) *report = done;
      return forward ? PasswordChangeResult::kChanged : PasswordChangeResult::kRecordsNotWritten;
    }
  }
  // Still some files of each stamp: the password is the one user.sav
  // holds, which the next start asks for and the close stamps the six
  // record files with.
  currentPassword = holds;
  if (report) *report = done;
  return holds == typedNew ? PasswordChangeResult::kChangedFilesLeftOld : PasswordChangeResult::kUnchangedFilesLeftNew;
}

}  // namespace krx
