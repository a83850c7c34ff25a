#pragma once
// The file layer's test seam. Every file operation asks the installed hook
// first, at the same points in the POSIX and the Windows build; a hook that
// answers with an errno makes that one operation fail with it, as a full
// disk or a failing device would. Nothing installs a hook outside the
// tests, where the cost is one pointer test per operation.
#include <string>

namespace krx {

enum class FileOp {
  kOpen,     // a file opened or created, a folder opened for listing
  kStat,     // a file's size, type or existence asked for
  kRead,
  kWrite,
  kFlush,    // fsync, and the close that ends a write
  kReplace,  // a file renamed over another
  kDelete,   // unlink, and the attribute change before it
};

class FileFaultHook {
 public:
  virtual ~FileFaultHook() = default;
  // 0 lets the operation run; anything else is the errno it fails with.
  virtual int Before(FileOp op, const std::string& path) = 0;
};

// Installs hook (nullptr removes it); returns the one it replaces.
FileFaultHook* SetFileFaultHook(FileFaultHook* hook);

// For the POSIX file layer: 0, or the injected errno (errno is set to it).
int InjectedFileFault(FileOp op, const std::string& path);

// For the Windows file layer: true when the operation is to fail; the last
// error is then the system's code for the injected errno.
bool InjectedWin32Fault(FileOp op, const std::string& path);

}  // namespace krx
