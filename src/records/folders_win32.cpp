#include "records/folders.h"

#include <windows.h>

#include "core/folder_path.h"
#include "records/plain_message_box.h"

namespace krx {

const char kProductName[] = "Kestrelix";

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return FolderOf(std::string(path, n));
}

bool CreateFolderPath(const std::string& path, HWND owner) {
  for (const std::string& folder : FolderPathSteps(path)) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*.*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      FindClose(search);
      continue;
    }
    if (CreateDirectoryA(folder.c_str(), nullptr)) continue;
    // An empty drive root finds nothing yet exists; that is no failure. A
    // file of that name also "exists", and leaves no folder to go on in.
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    const bool isFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (error != ERROR_ALREADY_EXISTS || !isFolder) {
      PlainMessageBox(folder + " directory create error.", owner);
      return false;
    }
  }
  return true;
}

}  // namespace krx
