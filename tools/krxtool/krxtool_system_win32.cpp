#include <windows.h>

#include "tools/krxtool/krxtool.h"

namespace krx {

bool ManagerMutexExists() {
  HANDLE m = OpenMutexA(SYNCHRONIZE, FALSE, "Kestrelix");
  if (!m) return false;
  CloseHandle(m);
  return true;
}

}  // namespace krx
