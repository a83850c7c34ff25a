#include "records/folder_list.h"

#include <windows.h>

#include "core/day_file_names.h"
#include "records/file_fault_hook.h"

namespace krx {

std::vector<std::string> FindFilesWithExtension(const std::string& folder, const char* pattern, const char* extension,
                                                bool* failed) {
  if (failed) *failed = false;
  std::vector<std::string> paths;
  std::string base = folder;
  if (!base.empty() && base.back() != '\\' && base.back() != '/') base.push_back('\\');
  if (InjectedWin32Fault(FileOp::kOpen, base)) {
    if (failed) *failed = true;
    return paths;
  }
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((base + pattern).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (failed) *failed = error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != ERROR_NO_MORE_FILES;
    return paths;
  }
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && HasExtension(data.cFileName, extension)) {
      paths.push_back(base + data.cFileName);
    }
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return paths;
}

}  // namespace krx
