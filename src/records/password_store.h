#pragma once
// user.sav, the sealed password in the user folder: whether to ask for the
// password at start, the login's check, and the password change.
#include <string>

#include "core/progress_sink.h"
#include "records/restamp.h"

namespace krx {

std::string PasswordFilePath(const std::string& userFolder);

// A zero-length user.sav stands for the sealed password that the record
// files' stamps still carry; with no stamped record file it counts as none.

// No user.sav: the login creates it from what the user types.
bool IsFirstUse(const std::string& userFolder);

// The start-up check: false only when the sealed password is the empty
// one. A missing, unreadable or damaged file asks.
bool LoginRequired(const std::string& userFolder);

enum class LoginResult {
  kAccepted,
  kIncorrect,
  kUnreadable,     // user.sav exists but cannot be read: nobody gets in
  kCreateFailed,   // first use, and user.sav could not be written
};

// The login's OK. On first use user.sav is written from typed (through a
// temporary file replaced in one step); otherwise typed is compared with it,
// and an accepted password restores a zero-length user.sav.
LoginResult SubmitLogin(const std::string& userFolder, const std::string& typed);

// Seals password into user.sav through a temporary file.
bool WritePasswordFile(const std::string& userFolder, const std::string& password);

enum class PasswordChangeResult {
  kOldPasswordWrong,
  kConfirmMismatch,
  kUnchanged,          // new equals old: the dialog stays open and says nothing
  kUserFileNotWritten, // nothing changed: records keep the old stamp, the old password stays
  kRecordsNotWritten,  // a record file could not be re-stamped: all put back as it was
  kChanged,
  // Neither could be carried through: user.sav holds the new password (the
  // current one now), some files the old stamp; or the other way round.
  kChangedFilesLeftOld,
  kUnchangedFilesLeftNew,
};

// The change-password dialog's OK: the checks, then user.sav, then the
// record files under progress ("Updating record, please wait..."). The
// current password changes only when user.sav and every record file that
// carried the old stamp were written; otherwise both are put back. Should
// that fail as well, the change is tried again, then put back again; the
// current password is always the one user.sav holds.
PasswordChangeResult ChangePassword(const std::string& userFolder, std::string& currentPassword,
                                    const std::string& typedOld, const std::string& typedNew,
                                    const std::string& typedConfirm, ProgressSink& progress,
                                    RestampReport* report = nullptr);

}  // namespace krx
