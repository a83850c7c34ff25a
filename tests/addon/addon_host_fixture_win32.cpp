#include "addon/addon_host_fixture_win32.h"

#include <cstdio>

#include "core/record_cipher.h"

namespace krx_test {

HRESULT CallEntry(const std::string& dll, const char* name) {
  HMODULE module = LoadLibraryA(dll.c_str());
  if (!module) return E_FAIL;
  auto entry = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  HRESULT hr = entry ? entry() : E_NOINTERFACE;
  FreeLibrary(module);
  return hr;
}

std::string ListFileBytes(const krx::StringArray& entries) {
  krx::StringSink sink;
  krx::WriteRecordFile(sink, krx::SealedCopy("kestrel"), entries);
  return sink.bytes;
}

std::string DayFileName(const SYSTEMTIME& t, const char* extension) {
  char name[32];
  std::snprintf(name, sizeof name, "%04u%02u%02u.%s", t.wYear, t.wMonth, t.wDay, extension);
  return name;
}
std::string Line(const SYSTEMTIME& t, const std::string& address, const std::string& tail) {
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "<%02u/%02u/%04u %02u:%02u:%02u> ", t.wMonth, t.wDay, t.wYear, t.wHour, t.wMinute,
                t.wSecond);
  return stamp + address + " - " + tail + "\r\n";
}

std::string AllDayText(const std::string& tmp, const char* extension) {
  std::string text;
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA((tmp + "*." + extension).c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return text;
  do text += krx_test::ReadFileBytes(tmp + data.cFileName);
  while (FindNextFileA(h, &data));
  FindClose(h);
  return text;
}

void ClearDayFiles(const std::string& tmp) {
  for (const char* e : {"vis", "blc", "fla", "mms"}) {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((tmp + "*." + e).c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) continue;
    do DeleteFileA((tmp + data.cFileName).c_str());
    while (FindNextFileA(h, &data));
    FindClose(h);
  }
}

bool WaitUntil(const std::function<bool()>& done) {
  for (int waited = 0; waited < 30000 && !done(); waited += 50) Sleep(50);
  return done();
}

}  // namespace krx_test
