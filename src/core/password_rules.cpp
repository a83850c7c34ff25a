#include "core/password_rules.h"

#include "core/record_cipher.h"

namespace krx {

const char kPasswordFileName[] = "user.sav";

const char kLoginTitleSuffix[] = " - Login";
const char kLoginPromptText[] = "Please input your password:";
const char kFirstUsePromptText[] = "Please initialize a new password:";
const char kRememberPasswordText[] = "Please remember it and keep it safely.";
const char kIncorrectPasswordText[] = "Incorrect password, please input again.";
const char kUserFileCreateFailedText[] = "User file create failed, please contact us by email.";
const char kUserFileReadFailedText[] = "User file read failed, please check it and try again.";
const char kLoginHelpTopic[] = "qv.chm::/login.htm";

const char kChangePassTitleSuffix[] = " - ChangePass";
const char kOldPasswordErrorText[] = "Old password input error.";
const char kNewPasswordConfirmErrorText[] = "New password confirmed error.";
const char kUserFileWriteFailedText[] = "User file write failed, the password is not changed.";
const char kRecordFileWriteFailedText[] = "Record file write failed, the password is not changed.";
const char kChangedFilesLeftOldText[] =
    "Record file write failed. The password is changed, but some record files still carry the old one "
    "and will not be read with the new.";
const char kUnchangedFilesLeftNewText[] =
    "Record file write failed, the password is not changed. Some record files already carry the new one "
    "and will not be read with the old.";
const char kUpdatingRecordText[] = "Updating record, please wait...";
const char kChangePassHelpTopic[] = "Kestrelix.chm::/changepass.htm";

PasswordChangeCheck CheckPasswordChange(const std::string& current, const std::string& typedOld,
                                        const std::string& typedNew, const std::string& typedConfirm) {
  if (typedOld != current) return PasswordChangeCheck::kOldPasswordWrong;
  if (typedNew != typedConfirm) return PasswordChangeCheck::kConfirmMismatch;
  if (typedNew == typedOld) return PasswordChangeCheck::kUnchanged;
  return PasswordChangeCheck::kProceed;
}

bool IsSealedEmptyPassword(const std::string& sealed) { return SealedMatches(sealed, std::string()); }

}  // namespace krx
