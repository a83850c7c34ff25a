#include "records/file_fault_hook.h"

#include <cerrno>

namespace krx {
namespace {
FileFaultHook* g_hook = nullptr;
}  // namespace

FileFaultHook* SetFileFaultHook(FileFaultHook* hook) {
  FileFaultHook* previous = g_hook;
  g_hook = hook;
  return previous;
}

int InjectedFileFault(FileOp op, const std::string& path) {
  if (!g_hook) return 0;
  const int error = g_hook->Before(op, path);
  if (error != 0) errno = error;
  return error;
}

}  // namespace krx
