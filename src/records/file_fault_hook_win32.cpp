#include <windows.h>

#include <cerrno>

#include "records/file_fault_hook.h"

namespace krx {

bool InjectedWin32Fault(FileOp op, const std::string& path) {
  const int error = InjectedFileFault(op, path);
  if (error == 0) return false;
  // What the system answers for a full disk and for a failing device.
  SetLastError(error == ENOSPC ? ERROR_DISK_FULL : ERROR_IO_DEVICE);
  return true;
}

}  // namespace krx
