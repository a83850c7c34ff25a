// The add-on's cost on a browser window's thread under Wine, through COM as
// the browser calls it: BeforeNavigate2 with a forbidden list of 100,000
// entries, and a day of 10,000 visits (DocumentComplete, each a line
// appended to the day file), beside the plain cost of appending the same
// lines (open, write, close) and of writing them to a file held open.
// Prints figures and ratios; asserts nothing.
//
//   wine build/win/tests/addon/addon_events_timing.exe [forbidden-entries] [visits]
#include <windows.h>
#include <ocidl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "addon/test_browser_win32.h"
#include "core/archive.h"
#include "core/record_cipher.h"
#include "core/record_file.h"
#include "support/test_support.h"

namespace {

const CLSID kAddonClass = {0x617D30F3, 0x45EB, 0x4A05, {0x91, 0xD3, 0xF5, 0x0D, 0x72, 0x56, 0x73, 0x45}};
using Clock = std::chrono::steady_clock;
double Since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

using EntryPoint = HRESULT(WINAPI*)();

bool Register(const std::string& dll) {
  HMODULE module = LoadLibraryA(dll.c_str());
  if (!module) return false;
  auto entry = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
  bool ok = entry && entry() == S_OK;
  FreeLibrary(module);
  return ok;
}

std::string Host(int i) { return "site" + std::to_string(i) + ".example" + std::to_string(i % 97) + ".com"; }

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int visits = argc > 2 ? std::atoi(argv[2]) : 10000;
  krx_test::TempFolder folder;
  const std::string dll = folder / "Kestrelix.dll";
  CreateDirectoryA((folder / "User").c_str(), nullptr);
  CreateDirectoryA((folder / "tmp").c_str(), nullptr);
  if (!CopyFileA(krx_test::WinePath(KRX_ADDON_PATH).c_str(), dll.c_str(), FALSE) || !Register(dll)) {
    std::printf("cannot register %s\n", dll.c_str());
    return 1;
  }
  krx::StringArray forbidden;
  for (int i = 0; i < entries; ++i) forbidden.push_back(i % 2 ? Host(i) : "http://" + Host(i) + "/page.html");
  krx::StringSink sink;
  krx::WriteRecordFile(sink, krx::SealedCopy(""), forbidden);
  krx_test::WriteFileBytes(folder / "User\\forbid.log", sink.bytes);

  CoInitialize(nullptr);
  IObjectWithSite* addon = nullptr;
  if (FAILED(CoCreateInstance(kAddonClass, nullptr, CLSCTX_INPROC_SERVER, IID_IObjectWithSite,
                              reinterpret_cast<void**>(&addon)))) {
    std::printf("cannot create the add-on\n");
    return 1;
  }
  krx_test::TestBrowser* browser = new krx_test::TestBrowser("http://www.example.com/", "Example");
  Clock::time_point t = Clock::now();
  addon->SetSite(browser->unknown());
  const double site = Since(t);
  std::printf("siting the add-on, forbidden list of %d entries read: %.1f ms\n", entries, site * 1e3);

  const int navigations = 20000;
  int cancelled = 0;
  t = Clock::now();
  for (int i = 0; i < navigations; ++i) {
    const std::string url = "http://www." + Host(i * 7 % (2 * entries + 1)) + "/x/y.html";
    cancelled += browser->FireBeforeNavigate2(browser->dispatch(), url) ? 1 : 0;
  }
  const double navigate = Since(t) / navigations;
  std::printf("BeforeNavigate2 against %d entries: %.1f us a navigation (%d of %d forbidden)\n", entries,
              navigate * 1e6, cancelled, navigations);

  t = Clock::now();
  for (int i = 0; i < visits; ++i) {
    browser->FireDocumentComplete(browser->dispatch(), "http://www.example.com/page" + std::to_string(i) + ".html");
  }
  const double visit = Since(t) / visits;
  addon->SetSite(nullptr);
  addon->Release();
  browser->Release();
  CoUninitialize();

  // The same number of lines of the same length, appended the plain way.
  const std::string line = "<12/07/2026 10:11:12> http://www.example.com/page1234.html - Example\r\n";
  const std::string plain = folder / "tmp\\plain.vis";
  t = Clock::now();
  for (int i = 0; i < visits; ++i) {
    HANDLE h = CreateFileA(plain.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD put = 0;
    WriteFile(h, line.data(), DWORD(line.size()), &put, nullptr);
    CloseHandle(h);
  }
  const double append = Since(t) / visits;
  HANDLE held = CreateFileA((folder / "tmp\\held.vis").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  t = Clock::now();
  for (int i = 0; i < visits; ++i) {
    DWORD put = 0;
    WriteFile(held, line.data(), DWORD(line.size()), &put, nullptr);
  }
  const double write = Since(t) / visits;
  CloseHandle(held);
  std::printf("a day of %d visits: %.1f us a DocumentComplete (line made, locked, appended)\n", visits, visit * 1e6);
  std::printf("  plain open-append-close: %.1f us a line (add-on %.2fx); write to a held file: %.1f us (%.1fx)\n",
              append * 1e6, visit / append, write * 1e6, visit / write);
  return 0;
}
