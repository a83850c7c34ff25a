// The add-on's cost on a browser window's thread under Wine, through COM as
// the browser calls it, each figure beside the one measured before the
// lists were shared and read off the window's thread (issue figures, last
// runs on the shared 2-core machine): siting and the first event after a
// list change with a forbidden list of 100,000 entries, BeforeNavigate2
// against it, memory of four windows, a day of 10,000 visits
// (DocumentComplete, each a line appended to the day file) beside the plain
// cost of appending the same lines (open, write, close) and of writing them
// to a file held open, a page of 4,000 pictures, and a line written while
// another process is stuck holding the writers' lock. Given a program
// folder whose tmp\ takes no file (made so beforehand: chattr +i as root,
// chmod a-w otherwise), also the cost of a line there, which goes to the
// user's low folder.
// Prints figures and ratios; asserts nothing.
//
//   wine build/win/tests/addon/addon_events_timing.exe [forbidden-entries] [visits] [refusing-program-folder]
#include <windows.h>
#include <ocidl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "addon/fake_page_win32.h"
#include "addon/test_browser_win32.h"
#include "core/addon_rules.h"
#include "core/archive.h"
#include "core/day_folder_choice.h"
#include "core/record_cipher.h"
#include "core/record_file.h"
#include "core/settings_file.h"
#include "records/folders.h"
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

// The forbidden list of entries hosts, every other one an address; the
// first generation names siteN, the next ones are told apart by a prefix.
std::string ListBytes(int entries, const std::string& prefix) {
  krx::StringArray forbidden;
  for (int i = 0; i < entries; ++i) {
    forbidden.push_back(i % 2 ? prefix + Host(i) : "http://" + prefix + Host(i) + "/page.html");
  }
  krx::StringSink sink;
  krx::WriteRecordFile(sink, krx::SealedCopy(""), forbidden);
  return sink.bytes;
}

double PrivateMegabytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return double(counters.PagefileUsage) / (1024 * 1024);
}

// Fires navigations to probe until one is cancelled: the time until a list
// is in effect, and the slowest event on the way (the window's thread).
struct Wait {
  double seconds = 0, slowestEvent = 0;
  int events = 0;
  bool done = false;
};
Wait UntilForbidden(krx_test::TestBrowser* browser, const std::string& probe) {
  Wait w;
  const Clock::time_point start = Clock::now();
  while (Since(start) < 30) {
    const Clock::time_point t = Clock::now();
    w.done = browser->FireBeforeNavigate2(browser->dispatch(), probe);
    w.slowestEvent = std::max(w.slowestEvent, Since(t));
    ++w.events;
    if (w.done) break;
    Sleep(1);
  }
  w.seconds = Since(start);
  return w;
}

// Run as the second process: holds the writers' lock of one day file until
// told to go, as a writer hung in the middle of its line would.
int HoldLock(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ | FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_ALWAYS, 0, nullptr);
  OVERLAPPED at = {};
  at.OffsetHigh = 0x40000000;
  if (file == INVALID_HANDLE_VALUE || !LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at)) return 1;
  SetEvent(OpenEventA(EVENT_MODIFY_STATE, FALSE, "KrxTimingLockHeld"));
  WaitForSingleObject(OpenEventA(SYNCHRONIZE, FALSE, "KrxTimingLockGo"), 60000);
  CloseHandle(file);
  return 0;
}

// Lines recorded by an add-on whose program folder's tmp\ refuses: the
// mean and the slowest DocumentComplete, and where the lines went.
void TimeRefusingTmp(const std::string& program, int visits) {
  const std::string dll = program + "\\Kestrelix.dll";
  CreateDirectoryA((program + "\\User").c_str(), nullptr);
  if (!CopyFileA(krx_test::WinePath(KRX_ADDON_PATH).c_str(), dll.c_str(), FALSE) || !Register(dll)) {
    std::printf("cannot register %s\n", dll.c_str());
    return;
  }
  const std::string low = krx::LowTmpFolder(false);
  IObjectWithSite* addon = nullptr;
  if (FAILED(CoCreateInstance(kAddonClass, nullptr, CLSCTX_INPROC_SERVER, IID_IObjectWithSite,
                              reinterpret_cast<void**>(&addon)))) {
    std::printf("cannot create the add-on of %s\n", dll.c_str());
    return;
  }
  krx_test::TestBrowser* browser = new krx_test::TestBrowser("http://www.example.com/", "Example");
  addon->SetSite(browser->unknown());
  // Each line beside a plain append to the low folder, in turn, so that the
  // stalls of a shared machine show in both.
  const std::string plain = low + "plain.vis";
  const std::string line = "<12/07/2026 10:11:12> http://www.example.com/page1234.html - Example\r\n";
  double total = 0, slowest = 0, first = 0, plainTotal = 0, plainSlowest = 0;
  int over5ms = 0, plainOver5ms = 0;
  for (int i = 0; i < visits; ++i) {
    Clock::time_point t = Clock::now();
    browser->FireDocumentComplete(browser->dispatch(), "http://www.example.com/low" + std::to_string(i) + ".html");
    const double one = Since(t);
    if (i == 0) {
      first = one;  // the low folder looked up and made
      continue;
    }
    total += one;
    slowest = std::max(slowest, one);
    over5ms += one > 0.005 ? 1 : 0;
    t = Clock::now();
    HANDLE h = CreateFileA(plain.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD put = 0;
    WriteFile(h, line.data(), DWORD(line.size()), &put, nullptr);
    CloseHandle(h);
    const double append = Since(t);
    plainTotal += append;
    plainSlowest = std::max(plainSlowest, append);
    plainOver5ms += append > 0.005 ? 1 : 0;
  }
  DeleteFileA(plain.c_str());
  // What telling the refusing folder costs when it is asked again: the
  // refused create and the look for the file.
  const std::string refused = program + "\\tmp\\20261207.vis";
  Clock::time_point t = Clock::now();
  for (int i = 0; i < 1000; ++i) {
    CreateFileA(refused.c_str(), GENERIC_READ | FILE_APPEND_DATA,
                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                nullptr);
    WIN32_FIND_DATAA found;
    FindFirstFileA(refused.c_str(), &found);
  }
  const double tell = Since(t) / 1000;
  addon->SetSite(nullptr);
  addon->Release();
  browser->Release();
  SYSTEMTIME today;
  GetLocalTime(&today);
  char name[32];
  std::snprintf(name, sizeof name, "%04u%02u%02u.vis", today.wYear, today.wMonth, today.wDay);
  const std::string text = krx_test::ReadFileBytes(low + name);
  const size_t lines = size_t(std::count(text.begin(), text.end(), '\n'));
  DeleteFileA((low + name).c_str());
  std::printf("tmp\\ refusing (believed for %u s, then asked again: %.1f us to tell it refuses): the first line "
              "%.2f ms (the low folder looked up and made); then %.1f us a DocumentComplete (was 50 ms each, and "
              "the line lost), the slowest %.2f ms, %d over 5 ms; a plain append beside each: %.1f us, the slowest "
              "%.2f ms, %d over 5 ms (the machine's own stalls); %zu of %d lines in %s\n",
              krx::DayFolderChoice::kBelievedMs / 1000, tell * 1e6, first * 1e3, total / (visits - 1) * 1e6,
              slowest * 1e3, over5ms, plainTotal / (visits - 1) * 1e6, plainSlowest * 1e3, plainOver5ms, lines,
              visits, low.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc == 3 && std::string(argv[1]) == "--hold-lock") return HoldLock(argv[2]);
  const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int visits = argc > 2 ? std::atoi(argv[2]) : 10000;
  const std::string refusing = argc > 3 ? argv[3] : "";
  krx_test::TempFolder folder;
  const std::string dll = folder / "Kestrelix.dll";
  CreateDirectoryA((folder / "User").c_str(), nullptr);
  CreateDirectoryA((folder / "tmp").c_str(), nullptr);
  if (!CopyFileA(krx_test::WinePath(KRX_ADDON_PATH).c_str(), dll.c_str(), FALSE) || !Register(dll)) {
    std::printf("cannot register %s\n", dll.c_str());
    return 1;
  }
  const std::string list = ListBytes(entries, "");
  krx_test::WriteFileBytes(folder / "User\\forbid.log", list);
  std::printf("forbidden list: %d entries, %.1f MB file\n", entries, double(list.size()) / (1024 * 1024));

  CoInitialize(nullptr);
  IObjectWithSite* addon = nullptr;
  if (FAILED(CoCreateInstance(kAddonClass, nullptr, CLSCTX_INPROC_SERVER, IID_IObjectWithSite,
                              reinterpret_cast<void**>(&addon)))) {
    std::printf("cannot create the add-on\n");
    return 1;
  }
  const double memoryBefore = PrivateMegabytes();
  krx_test::TestBrowser* browser = new krx_test::TestBrowser("http://www.example.com/", "Example");
  Clock::time_point t = Clock::now();
  addon->SetSite(browser->unknown());
  const double site = Since(t);
  std::printf("siting the add-on on the browser's thread: %.2f ms (was 212-325 ms, the list read there)\n",
              site * 1e3);
  const std::string firstProbe = "http://www." + Host(1) + "/";
  Wait ready = UntilForbidden(browser, firstProbe);
  std::printf("  the first navigation waits for the list: decided on it after %.0f ms (%d event%s)%s\n",
              ready.slowestEvent * 1e3, ready.events, ready.events == 1 ? "" : "s",
              ready.done ? "" : " (NEVER IN EFFECT)");
  {
    // What that wait is made of, on this thread: the file's records read,
    // then indexed (the add-on also turns each entry into its address text).
    // The thread's own processor time beside the clock's: on a busy machine
    // the clock also counts the time other processes had.
    auto cpu = [] {
      FILETIME created, ended, kernel, user;
      GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
      return (double(user.dwLowDateTime) + double(user.dwHighDateTime) * 4294967296.0 + double(kernel.dwLowDateTime) +
              double(kernel.dwHighDateTime) * 4294967296.0) / 1e7;
    };
    krx::StringArray entries;
    krx::MemorySource source(list);
    t = Clock::now();
    double c = cpu();
    krx::ReadListFile(source, entries);
    const double read = Since(t), readCpu = cpu() - c;
    krx::AddressList index;
    t = Clock::now();
    c = cpu();
    index.Assign(entries);
    std::printf("  of which, measured here: records read %.0f ms (%.0f ms of processor), indexed %.0f ms (%.0f ms)\n",
                read * 1e3, readCpu * 1e3, Since(t) * 1e3, (cpu() - c) * 1e3);
  }

  // More windows of the same process share the one index.
  const double memoryOne = PrivateMegabytes();
  krx_test::TestBrowser* more[3];
  IObjectWithSite* others[3];
  for (int i = 0; i < 3; ++i) {
    more[i] = new krx_test::TestBrowser("http://www.example.com/", "Example");
    CoCreateInstance(kAddonClass, nullptr, CLSCTX_INPROC_SERVER, IID_IObjectWithSite,
                     reinterpret_cast<void**>(&others[i]));
    others[i]->SetSite(more[i]->unknown());
    more[i]->FireBeforeNavigate2(more[i]->dispatch(), firstProbe);
  }
  const double memoryFour = PrivateMegabytes();
  std::printf("memory: the index %.1f MB (%.1fx the file); three more windows %.1f MB more (was one index each)\n",
              memoryOne - memoryBefore, (memoryOne - memoryBefore) * 1024 * 1024 / double(list.size()),
              memoryFour - memoryOne);

  const int navigations = 20000;
  int cancelled = 0;
  double slowest = 0;
  t = Clock::now();
  for (int i = 0; i < navigations; ++i) {
    const std::string url = "http://www." + Host(i * 7 % (2 * entries + 1)) + "/x/y.html";
    const Clock::time_point one = Clock::now();
    cancelled += browser->FireBeforeNavigate2(browser->dispatch(), url) ? 1 : 0;
    slowest = std::max(slowest, Since(one));
  }
  const double navigate = Since(t) / navigations;
  std::printf("BeforeNavigate2 against %d entries: %.2f us a navigation (%d of %d forbidden; was 1.3-2.9 us); "
              "the slowest, with no list being read, %.1f us (the machine's own stalls)\n",
              entries, navigate * 1e6, cancelled, navigations, slowest * 1e6);

  // The manager saves the list: the first event after it, and the time
  // until the rewritten list is in effect.
  krx_test::WriteFileBytes(folder / "User\\forbid.log", ListBytes(entries, "new"));
  t = Clock::now();
  browser->FireBeforeNavigate2(browser->dispatch(), "http://www.example.com/");
  const double firstAfter = Since(t);
  Wait rewritten = UntilForbidden(browser, "http://www.new" + Host(1) + "/");
  std::printf("the list rewritten: the first event on the browser's thread %.1f us (was 513 ms); the new list "
              "in effect %.0f ms later, slowest event meanwhile %.1f us (of %d)%s\n",
              firstAfter * 1e6, rewritten.seconds * 1e3, rewritten.slowestEvent * 1e6, rewritten.events,
              rewritten.done ? "" : " (NEVER IN EFFECT)");
  Sleep(2100);  // the reader lets go of the replaced index at its next looks
  std::printf("memory after the swap: %.1f MB more than with the first index (both kept would be %.1f MB more; "
              "the heap keeps part of what it freed)\n",
              PrivateMegabytes() - memoryFour, memoryOne - memoryBefore);
  for (int i = 0; i < 3; ++i) {
    others[i]->SetSite(nullptr);
    others[i]->Release();
    more[i]->Release();
  }

  // A day of visits: KRX.cfg's defaults log flash and media, so every
  // page is walked; then the same without them.
  t = Clock::now();
  for (int i = 0; i < visits; ++i) {
    browser->FireDocumentComplete(browser->dispatch(), "http://www.example.com/page" + std::to_string(i) + ".html");
  }
  const double visit = Since(t) / visits;
  krx::SettingValues options = krx::kDefaultSettings;
  options[krx::kFlashLog] = options[krx::kMediaLog] = 0;
  krx_test::WriteFileBytes(folder / "User\\KRX.cfg", krx::SerializeSettings(options));
  Sleep(1100);
  browser->FireDocumentComplete(browser->dispatch(), "http://www.example.com/options.html");
  // Each beside a plain append of a line as long, in turn, so that the
  // load of a shared machine weighs on both alike.
  const std::string line = "<12/07/2026 10:11:12> http://www.example.com/page1234.html - Example\r\n";
  const std::string plain = folder / "tmp\\plain.vis";
  double visitPlain = 0, append = 0;
  for (int i = 0; i < visits; ++i) {
    t = Clock::now();
    browser->FireDocumentComplete(browser->dispatch(), "http://www.example.com/other" + std::to_string(i) + ".html");
    visitPlain += Since(t);
    t = Clock::now();
    HANDLE h = CreateFileA(plain.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD put = 0;
    WriteFile(h, line.data(), DWORD(line.size()), &put, nullptr);
    CloseHandle(h);
    append += Since(t);
  }
  visitPlain /= visits;
  append /= visits;
  // Nothing to write at all: what a DocumentComplete costs beyond its append.
  options[krx::kVisitLog] = 0;
  krx_test::WriteFileBytes(folder / "User\\KRX.cfg", krx::SerializeSettings(options));
  Sleep(1100);
  browser->FireDocumentComplete(browser->dispatch(), "http://www.example.com/options.html");
  t = Clock::now();
  for (int i = 0; i < visits; ++i) {
    browser->FireDocumentComplete(browser->dispatch(), "http://www.example.com/none" + std::to_string(i) + ".html");
  }
  const double visitNone = Since(t) / visits;

  // A page of 4,000 pictures and two flash objects, flash and media logged.
  krx_test::WriteFileBytes(folder / "User\\KRX.cfg", krx::SerializeSettings(krx::kDefaultSettings));
  Sleep(1100);
  std::vector<krx_test::FakeElement*> elements;
  for (int i = 0; i < 4000; ++i) elements.push_back(new krx_test::FakeElement("IMG", {{"src", "p.jpg"}}));
  elements.push_back(new krx_test::FakeElement("EMBED", {{"src", "a.swf"}}));
  elements.push_back(new krx_test::FakeElement("EMBED", {{"src", "b.swf"}}));
  krx_test::FakeDocument* page = new krx_test::FakeDocument(elements);
  browser->SetDocument(page);
  const int pages = visits / 50 > 0 ? visits / 50 : 1;
  t = Clock::now();
  for (int i = 0; i < pages; ++i) browser->FireDocumentComplete(browser->dispatch(), "http://www.example.com/big.html");
  const double bigPage = Since(t) / pages;
  browser->SetDocument(nullptr);
  page->Release();

  // Another process stuck with the writers' lock of today's visits.
  SYSTEMTIME today;
  GetLocalTime(&today);
  char name[32];
  std::snprintf(name, sizeof name, "tmp\\%04u%02u%02u.vis", today.wYear, today.wMonth, today.wDay);
  HANDLE lockHeld = CreateEventA(nullptr, TRUE, FALSE, "KrxTimingLockHeld");
  HANDLE lockGo = CreateEventA(nullptr, TRUE, FALSE, "KrxTimingLockGo");
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command = "\"" + std::string(self) + "\" --hold-lock \"" + (folder / name) + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child = {};
  double stuck = -1;
  const int stuckLines = 20;
  if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child) &&
      WaitForSingleObject(lockHeld, 30000) == WAIT_OBJECT_0) {
    t = Clock::now();
    for (int i = 0; i < stuckLines; ++i) {
      browser->FireDocumentComplete(browser->dispatch(), "http://www.example.com/stuck" + std::to_string(i));
    }
    stuck = Since(t) / stuckLines;
  }
  SetEvent(lockGo);
  if (child.hProcess) {
    WaitForSingleObject(child.hProcess, 30000);
    CloseHandle(child.hProcess);
    CloseHandle(child.hThread);
  }
  CloseHandle(lockHeld);
  CloseHandle(lockGo);

  addon->SetSite(nullptr);
  addon->Release();
  browser->Release();
  if (!refusing.empty()) TimeRefusingTmp(refusing, visits);
  CoUninitialize();

  HANDLE held = CreateFileA((folder / "tmp\\held.vis").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  t = Clock::now();
  for (int i = 0; i < visits; ++i) {
    DWORD put = 0;
    WriteFile(held, line.data(), DWORD(line.size()), &put, nullptr);
  }
  const double write = Since(t) / visits;
  CloseHandle(held);
  std::printf("a day of %d visits, flash and media logged (the defaults): %.1f us a DocumentComplete "
              "(page walked, line made, locked, appended)\n",
              visits, visit * 1e6);
  std::printf("  without the flash and media options: %.1f us, %.1f us beyond a plain append; with no log at "
              "all (all but the append): %.1f us\n",
              visitPlain * 1e6, (visitPlain - append) * 1e6, visitNone * 1e6);
  std::printf("  plain open-append-close: %.1f us a line (add-on %.2fx); write to a held file: %.1f us (%.1fx)\n",
              append * 1e6, visitPlain / append, write * 1e6, visitPlain / write);
  std::printf("a page of 4,000 pictures and 2 flash objects: %.2f ms a DocumentComplete (the pictures are "
              "walked only for the GIF hotkey)\n",
              bigPage * 1e3);
  std::printf("a line while another process is stuck with the lock: %.1f ms (was 50 sleeps: 0.8 s where a "
              "sleep lasts 15.6 ms)\n",
              stuck * 1e3);
  return 0;
}
