// TEST DOUBLE of the browser add-on library Kestrelix.dll, for the tests of
// the manager. The manager loads it, calls DllRegisterServer or
// DllUnregisterServer once and unloads it. The real library registers itself
// with the browser; this one only appends the entry point's name as a line
// to "addon-calls.txt" beside itself, so tests and a curious user can see
// that the manager called it.
#include <windows.h>

#include <string>

namespace {

HMODULE g_module = nullptr;

void RecordCall(const char* name) {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(g_module, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  std::string file(path, n);
  file.erase(file.find_last_of('\\') + 1);
  file += "addon-calls.txt";
  HANDLE h = CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  std::string line = std::string(name) + "\r\n";
  DWORD put = 0;
  WriteFile(h, line.data(), DWORD(line.size()), &put, nullptr);
  CloseHandle(h);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT WINAPI DllRegisterServer() {
  RecordCall("DllRegisterServer");
  return S_OK;
}

extern "C" HRESULT WINAPI DllUnregisterServer() {
  RecordCall("DllUnregisterServer");
  return S_OK;
}
