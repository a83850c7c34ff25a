#include "records/password_store.h"

#include "core/password_rules.h"
#include "core/record_cipher.h"
#include "records/file_io.h"

namespace krx {

std::string PasswordFilePath(const std::string& userFolder) { return userFolder + kPasswordFileName; }

bool IsFirstUse(const std::string& userFolder) { return !FileExists(PasswordFilePath(userFolder)); }

bool LoginRequired(const std::string& userFolder) {
  std::string sealed;
  if (!ReadWholeFile(PasswordFilePath(userFolder), sealed)) return true;
  return !IsSealedEmptyPassword(sealed);
}

bool WritePasswordFile(const std::string& userFolder, const std::string& password) {
  return WriteFileAtomic(PasswordFilePath(userFolder), SealedCopy(password));
}

LoginResult SubmitLogin(const std::string& userFolder, const std::string& typed) {
  if (IsFirstUse(userFolder)) {
    return WritePasswordFile(userFolder, typed) ? LoginResult::kAccepted : LoginResult::kCreateFailed;
  }
  std::string sealed;
  // A file that is there but cannot be read proves nothing: letting the
  // user in unchecked would make a locked file a way around the password.
  if (!ReadWholeFile(PasswordFilePath(userFolder), sealed)) return LoginResult::kUnreadable;
  return SealedMatches(sealed, typed) ? LoginResult::kAccepted : LoginResult::kIncorrect;
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
  currentPassword = typedNew;
  RestampReport done = RestampRecordFiles(userFolder, typedOld, typedNew, kUpdatingRecordText, progress);
  if (report) *report = done;
  return PasswordChangeResult::kChanged;
}

}  // namespace krx
