#pragma once
// One manager per User\ folder, whoever runs it: a file in that folder held
// open, without write sharing, for the program's whole life. The session's
// named mutex only sees managers of the same Windows session; this lock is
// seen by every process that opens the folder, in any session or account
// (and from another computer when the folder lies on a share).
#include <windows.h>

#include <string>

namespace krx {

// "Kestrelix.lock" in the user folder: empty, never read.
extern const char kUserFolderLockName[];

class UserFolderLock {
 public:
  enum class State {
    kTaken,          // this process holds it
    kHeldElsewhere,  // another process holds it
    kUnavailable,    // the file could not be opened for another reason
  };

  UserFolderLock() = default;
  ~UserFolderLock() { Release(); }
  UserFolderLock(const UserFolderLock&) = delete;
  UserFolderLock& operator=(const UserFolderLock&) = delete;

  // Opens (making it on first use) the lock file of userFolder. Opening an
  // existing file changes nothing in it, so a start that finds the lock
  // held has written nothing.
  State Take(const std::string& userFolder);
  void Release();

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

}  // namespace krx
