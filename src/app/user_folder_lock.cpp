#include "app/user_folder_lock.h"

namespace krx {

const char kUserFolderLockName[] = "Kestrelix.lock";

UserFolderLock::State UserFolderLock::Take(const std::string& userFolder) {
  Release();
  // Read sharing only: a backup may copy the folder while the program runs,
  // but a second opener asking for write access is refused (error 32) until
  // this handle closes, also when the process dies.
  file_ = CreateFileA((userFolder + kUserFolderLockName).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
  if (file_ != INVALID_HANDLE_VALUE) return State::kTaken;
  const DWORD error = GetLastError();
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return State::kHeldElsewhere;
  // A folder the user may not write (a copy on a read-only medium, say)
  // must not stop the program: it runs as it did before the lock existed.
  return State::kUnavailable;
}

void UserFolderLock::Release() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
}

}  // namespace krx
