#pragma once
// The password that guards the manager: what the login and the password
// change decide, and the texts they show.
#include <string>

namespace krx {

// The most characters a password may have (the edits' limit).
constexpr int kPasswordLimit = 32;

extern const char kPasswordFileName[];  // "user.sav" in the user folder

// Login dialog.
extern const char kLoginTitleSuffix[];
extern const char kLoginPromptText[];
extern const char kFirstUsePromptText[];
extern const char kRememberPasswordText[];
extern const char kIncorrectPasswordText[];
extern const char kUserFileCreateFailedText[];
// user.sav is there but cannot be read: nobody is let in until it can be.
extern const char kUserFileReadFailedText[];
extern const char kLoginHelpTopic[];  // in qv.chm

// Change-password dialog.
extern const char kChangePassTitleSuffix[];
extern const char kOldPasswordErrorText[];
extern const char kNewPasswordConfirmErrorText[];
// user.sav could not be rewritten: the old password stays in force.
extern const char kUserFileWriteFailedText[];
extern const char kRecordFileWriteFailedText[];
// Neither the change nor putting it back went through for every file.
extern const char kChangedFilesLeftOldText[];
extern const char kUnchangedFilesLeftNewText[];
extern const char kUpdatingRecordText[];
extern const char kChangePassHelpTopic[];  // in Kestrelix.chm

enum class PasswordChangeCheck {
  kOldPasswordWrong,  // the old password typed is not the current one
  kConfirmMismatch,   // the new password was not typed twice alike
  kUnchanged,         // new equals old: nothing to do, and nothing is said
  kProceed,
};

// The checks of the change-password dialog's OK, in their order.
PasswordChangeCheck CheckPasswordChange(const std::string& current, const std::string& typedOld,
                                        const std::string& typedNew, const std::string& typedConfirm);

// True when a sealed user.sav holds the empty password: no login is asked.
bool IsSealedEmptyPassword(const std::string& sealed);

}  // namespace krx
