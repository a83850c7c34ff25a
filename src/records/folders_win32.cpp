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

namespace {

// {A520A1A4-1780-4FF6-BD18-167343C5AF16}
const GUID kLocalAppDataLow = {0xA520A1A4, 0x1780, 0x4FF6, {0xBD, 0x18, 0x16, 0x73, 0x43, 0xC5, 0xAF, 0x16}};

using BrowserFolder = HRESULT(WINAPI*)(REFGUID, LPWSTR*);
using KnownFolder = HRESULT(WINAPI*)(REFGUID, DWORD, HANDLE, LPWSTR*);

// With load false, only a library the process has loaded already: the
// browser's ieframe.dll is there in every tab, and loading it elsewhere
// takes hundreds of milliseconds.
template <typename F>
F Entry(const char* dll, const char* name, bool load) {
  HMODULE module = GetModuleHandleA(dll);
  if (!module && load) module = LoadLibraryA(dll);  // stays loaded: the answer is asked again
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// The wide path in the code page, or empty when a character has no place there.
std::string Narrow(const wchar_t* wide) {
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, nullptr, 0, nullptr, &lossy);
  if (n <= 1 || lossy) return "";
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, &out[0], n, nullptr, nullptr);
  out.resize(size_t(n - 1));
  return out;
}

}  // namespace

std::string LowTmpFolder(bool askBrowser) {
  LPWSTR path = nullptr;
  if (askBrowser) {
    if (auto ask = Entry<BrowserFolder>("ieframe.dll", "IEGetWriteableFolderPath", false)) {
      if (FAILED(ask(kLocalAppDataLow, &path))) path = nullptr;
    }
  }
  if (!path) {
    if (auto known = Entry<KnownFolder>("shell32.dll", "SHGetKnownFolderPath", true)) {
      if (FAILED(known(kLocalAppDataLow, 0, nullptr, &path))) path = nullptr;
    }
  }
  if (!path) return "";
  std::string folder = Narrow(path);
  CoTaskMemFree(path);
  if (folder.empty()) return "";
  if (folder.back() != '\\') folder += '\\';
  return folder + kProductName + "\\tmp\\";
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
