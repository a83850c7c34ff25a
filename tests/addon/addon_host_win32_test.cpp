// The real add-on as the browser meets it: registered from its program
// folder, created by its class with CoCreateInstance, sited on a browser
// window (the test's own IWebBrowser2 with a connection point) and given
// the browser's events with the arguments Internet Explorer passes. What
// it does is checked where it shows: the Cancel it returns, the status bar
// text, the day files byte for byte, and the manager that lists them.
#include <windows.h>
#include <ocidl.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "addon/fake_page_win32.h"
#include "addon/test_browser_win32.h"
#include "app/program_folder_win32.h"
#include "core/archive.h"
#include "core/record_cipher.h"
#include "core/record_file.h"
#include "core/settings_file.h"
#include "records/file_io.h"
#include "support/test_support.h"

namespace {

using krx_test::TestBrowser;

// {617D30F3-45EB-4A05-91D3-F50D72567345}: the add-on's class, as registered.
const CLSID kAddonClass = {0x617D30F3, 0x45EB, 0x4A05, {0x91, 0xD3, 0xF5, 0x0D, 0x72, 0x56, 0x73, 0x45}};
const char kClassKey[] = "SOFTWARE\\Classes\\CLSID\\{617D30F3-45EB-4A05-91D3-F50D72567345}";
const char kHelpersKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";
const char kHelperKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects\\"
    "{617D30F3-45EB-4A05-91D3-F50D72567345}";

const char kForbiddenText[] = "Kestrelix stopped a forbidden address: ";
const char kBlockedText[] = "Kestrelix blocked a popup window: ";

using EntryPoint = HRESULT(WINAPI*)();

HRESULT CallEntry(const std::string& dll, const char* name) {
  HMODULE module = LoadLibraryA(dll.c_str());
  if (!module) return E_FAIL;
  auto entry = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  HRESULT hr = entry ? entry() : E_NOINTERFACE;
  FreeLibrary(module);
  return hr;
}

std::string RegString(const std::string& key, const char* name) {
  char value[MAX_PATH] = {};
  DWORD size = sizeof value, type = 0;
  HKEY h = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return "<no key>";
  LONG rc = RegQueryValueExA(h, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(h);
  if (rc != ERROR_SUCCESS) return "<no value>";
  if (type == REG_DWORD) return "dword:" + std::to_string(*reinterpret_cast<DWORD*>(value));
  return std::string(value);
}

bool KeyExists(const std::string& key) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

std::string ListFileBytes(const krx::StringArray& entries) {
  krx::StringSink sink;
  krx::WriteRecordFile(sink, krx::SealedCopy("kestrel"), entries);
  return sink.bytes;
}

// The day files' names and line layout, written out here on their own so
// that a change on the add-on's side shows.
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

// Every day file of the tmp folder, read whole.
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

void HoldKey(int vk, bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[vk] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

// A program folder as installed (Kestrelix.exe, the real Kestrelix.dll,
// User\ and tmp\), the add-on registered from it, COM started on this
// thread as in a browser window's thread.
class AddonHost : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    folder_.MakeFolders();
    dll_ = folder_.path() + "Kestrelix.dll";
    ASSERT_EQ(CallEntry(dll_, "DllRegisterServer"), S_OK);
  }
  void TearDown() override {
    // The prefix is shared with the other tests: no class is left behind
    // that points into a folder about to go.
    CallEntry(dll_, "DllUnregisterServer");
    CoFreeUnusedLibraries();
    CoUninitialize();
  }

  IObjectWithSite* CreateAddon() {
    IObjectWithSite* addon = nullptr;
    HRESULT hr = CoCreateInstance(kAddonClass, nullptr, CLSCTX_INPROC_SERVER, IID_IObjectWithSite,
                                  reinterpret_cast<void**>(&addon));
    EXPECT_EQ(hr, S_OK);
    return addon;
  }
  void WriteOptions(const krx::SettingValues& v) {
    krx_test::WriteFileBytes(folder_.user() + "KRX.cfg", krx::SerializeSettings(v));
  }
  void WriteList(const char* name, const krx::StringArray& entries) {
    krx_test::WriteFileBytes(folder_.user() + name, ListFileBytes(entries));
  }

  krx_test::ProgramFolder folder_;
  std::string dll_;
};

TEST_F(AddonHost, RegistersAsABrowserHelperAndUnregistersExactlyThat) {
  EXPECT_EQ(RegString(kClassKey + std::string("\\InprocServer32"), nullptr), dll_);
  EXPECT_EQ(RegString(kClassKey + std::string("\\InprocServer32"), "ThreadingModel"), "Apartment");
  EXPECT_EQ(RegString(kHelperKey, "NoExplorer"), "dword:1");
  // Another helper object of the browser's is none of ours.
  HKEY other = nullptr;
  const std::string otherKey = std::string(kHelpersKey) + "\\{00000000-1111-2222-3333-444444444444}";
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, otherKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &other, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(other);

  EXPECT_EQ(CallEntry(dll_, "DllUnregisterServer"), S_OK);
  EXPECT_FALSE(KeyExists(kClassKey));
  EXPECT_FALSE(KeyExists(kHelperKey));
  EXPECT_TRUE(KeyExists(otherKey));
  IUnknown* none = nullptr;
  EXPECT_EQ(CoCreateInstance(kAddonClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&none)),
            REGDB_E_CLASSNOTREG);
  // Twice is harmless; registering again restores it.
  EXPECT_EQ(CallEntry(dll_, "DllUnregisterServer"), S_OK);
  // Keys that name another copy of the add-on are that copy's.
  EXPECT_EQ(CallEntry(dll_, "DllRegisterServer"), S_OK);
  const std::string inproc = kClassKey + std::string("\\InprocServer32");
  const std::string otherCopy = "C:\\Other Folder\\Kestrelix.dll";
  ASSERT_EQ(RegSetValueA(HKEY_LOCAL_MACHINE, inproc.c_str(), REG_SZ, otherCopy.c_str(), DWORD(otherCopy.size())),
            ERROR_SUCCESS);
  EXPECT_EQ(CallEntry(dll_, "DllUnregisterServer"), S_OK);
  EXPECT_EQ(RegString(inproc, nullptr), otherCopy);
  EXPECT_TRUE(KeyExists(kHelperKey));
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, otherKey.c_str());
  EXPECT_EQ(CallEntry(dll_, "DllRegisterServer"), S_OK);
  EXPECT_EQ(RegString(kClassKey + std::string("\\InprocServer32"), nullptr), dll_);
}

TEST_F(AddonHost, UnsitingLetsGoOfTheBrowserAndTheLibraryMayUnload) {
  TestBrowser* browser = new TestBrowser("http://www.example.com/", "Example");
  IObjectWithSite* addon = CreateAddon();
  ASSERT_NE(addon, nullptr);
  HMODULE module = GetModuleHandleA(dll_.c_str());
  ASSERT_NE(module, nullptr);
  auto canUnload = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  ASSERT_NE(canUnload, nullptr);
  EXPECT_EQ(canUnload(), S_FALSE);  // an object lives

  EXPECT_EQ(addon->SetSite(browser->unknown()), S_OK);
  EXPECT_EQ(browser->sinkCount(), 1u);
  EXPECT_GT(browser->references(), 1);
  IUnknown* site = nullptr;
  EXPECT_EQ(addon->GetSite(IID_IUnknown, reinterpret_cast<void**>(&site)), S_OK);
  if (site) site->Release();

  EXPECT_EQ(addon->SetSite(nullptr), S_OK);
  EXPECT_EQ(browser->sinkCount(), 0u);
  EXPECT_EQ(browser->references(), 1);
  EXPECT_EQ(addon->GetSite(IID_IUnknown, reinterpret_cast<void**>(&site)), E_FAIL);
  // Sited on something that is no browser: a quiet object, nothing held.
  EXPECT_EQ(addon->SetSite(addon), S_OK);
  EXPECT_EQ(addon->SetSite(nullptr), S_OK);
  addon->Release();
  browser->Release();
  EXPECT_EQ(canUnload(), S_OK);

  // A factory lock keeps the library loaded, as COM expects.
  IClassFactory* factory = nullptr;
  ASSERT_EQ(CoGetClassObject(kAddonClass, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             reinterpret_cast<void**>(&factory)),
            S_OK);
  factory->LockServer(TRUE);
  factory->Release();
  EXPECT_EQ(canUnload(), S_FALSE);
  CoGetClassObject(kAddonClass, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  factory->LockServer(FALSE);
  factory->Release();
  EXPECT_EQ(canUnload(), S_OK);
  // Freed by COM, the library goes once the lists' reader has ended.
  CoFreeUnusedLibrariesEx(0, 0);
  EXPECT_TRUE(WaitUntil([&] { return GetModuleHandleA(dll_.c_str()) == nullptr; }));
}

enum class Event {
  kNavigate,
  kNavigateFrame,
  kNewWindow3,
  kNewWindow2,
  kNewWindow2WithoutNewWindow3,  // a browser whose type library has no NewWindow3
  kNewWindow2BeforeNewWindow3,   // one whose type library has it
  kQuitThenNewWindow3,
  // NavigateComplete2, then DocumentComplete of the address, then of the
  // page the add-on sent the window (or frame) to in its place, if it did.
  kArrive,
  kArriveFrame,
  kDocument,
  kDocumentFrame,
};
enum Flags : long { kNone = 0, kUnloading = 0x1, kUserInitiated = 0x2, kClick = 0x6, kUserRequested = 0x80 };

struct Case {
  const char* what;
  std::vector<std::pair<krx::Setting, int>> options;  // beside the defaults
  Event event;
  const char* url;
  const char* opener;  // NewWindow3's context
  long flags;
  int heldKey;  // 0, VK_CONTROL or VK_MENU
  bool cancel;
  const char* status;     // the status bar text after the prefix, "" for none
  const char* extension;  // the day file written, "" for none
  const char* address;
  const char* tail;
  const char* extension2 = "";  // a second day file written by the same event
  const char* address2 = "";
  const char* tail2 = "";
  UINT codePage = 0;  // the system code page the row needs (its bytes), 0 for any
};

const char kTop[] = "http://news.example.com/today.html";
const char kTopTitle[] = "Example News";
const char kFrameTitle[] = "Advertising frame";

// An address of 4,117 bytes in the Japanese code page (932), where "\u30bd"
// is 0x83 0x5C: its lead byte at 4,095 leaves the cut at 4,095 bytes.
std::string Repeated(const char* text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}
const std::string kLongKana = "http://dbcs.example/x" + Repeated("\u30bd", 2048);
const std::string kLongKanaCut = "http://dbcs.example/x" + Repeated("\x83\x5c", 2037);

// The events of a browser window and what the add-on makes of them under
// the options of KRX.cfg. The white list holds the friends' site, the
// forbidden list a domain and one address.
const Case kCases[] = {
    {"forbidden domain", {}, Event::kNavigate, "http://bad.example.com/index.html", "", kNone, 0, true,
     "http://bad.example.com/index.html", "", "", ""},
    {"its sub-domain", {}, Event::kNavigate, "http://WWW.Bad.Example.com:8080/x", "", kNone, 0, true,
     "http://WWW.Bad.Example.com:8080/x", "", "", ""},
    {"a frame's navigation", {}, Event::kNavigateFrame, "http://bad.example.com/ad.html", "", kNone, 0, true,
     "http://bad.example.com/ad.html", "", "", ""},
    {"an allowed address", {}, Event::kNavigate, "http://good.example.com/", "", kNone, 0, false, "", "", "", ""},
    {"a look-alike host", {}, Event::kNavigate, "http://notbad.example.com/", "", kNone, 0, false, "", "", "", ""},
    // The browser's addresses in UTF-16, here in UTF-8; the lists in the Western code page.
    {"an international host in either form", {}, Event::kNavigate, "http://B\u00dcCHER.example/x", "", kNone, 0, true,
     "http://xn--bcher-kva.example/x", "", "", "", "", "", "", 1252},
    {"a look-alike of the code page (best fit)", {}, Event::kNavigate, "http://b\u0101d.example.com/", "", kNone, 0,
     false, "", "", "", ""},
    {"a host the code page shows as \"??????\"", {}, Event::kNavigate,
     "http://\u0434\u0435\u0440\u0435\u0432\u043e.example/", "", kNone, 0, false, "", "", "", ""},
    {"a visit to a host and page outside the code page", {}, Event::kDocument,
     "http://\u0434\u0435\u0440\u0435\u0432\u043e.example/\u00e9t\u00e9/\u043b\u0438\u0441\u0442", "", kNone, 0,
     false, "", "vis", "http://xn--b1adda0cj.example/\xe9t\xe9/%D0%BB%D0%B8%D1%81%D1%82", kTopTitle, "", "", "", 1252},
    {"a long address cut before a double-byte character", {}, Event::kDocument, kLongKana.c_str(), "", kNone, 0, false,
     "", "vis", kLongKanaCut.c_str(), kTopTitle, "", "", "", 932},
    {"no status message (row 22 off)", {{krx::kForbiddenStatusMessage, 0}}, Event::kNavigate,
     "http://bad.example.com/", "", kNone, 0, true, "", "", "", ""},
    {"forbidden list excluded (row 24)", {{krx::kExcludeForbidden, 1}}, Event::kNavigate, "http://bad.example.com/",
     "", kNone, 0, false, "", "", "", ""},
    {"domain match takes the address entry's host", {}, Event::kNavigate, "http://www.example.net/other.html", "",
     kNone, 0, true, "http://www.example.net/other.html", "", "", ""},
    {"address match: the address itself", {{krx::kMatchDomain, 0}}, Event::kNavigate,
     "http://www.example.net/private/page.html", "", kNone, 0, true, "http://www.example.net/private/page.html", "",
     "", ""},
    {"address match: another page of that host", {{krx::kMatchDomain, 0}}, Event::kNavigate,
     "http://www.example.net/other.html", "", kNone, 0, false, "", "", "", ""},

    {"a popup", {}, Event::kNewWindow3, "http://ads.example.net/pop.html", kTop, kNone, 0, true,
     "http://ads.example.net/pop.html", "blc", kTop, "http://ads.example.net/pop.html"},
    {"a popup from the user's click", {}, Event::kNewWindow3, "http://ads.example.net/pop.html", kTop, kClick, 0,
     false, "", "", "", ""},
    {"a second popup of the same click", {}, Event::kNewWindow3, "http://ads.example.net/pop.html", kTop,
     kUserInitiated, 0, true, "http://ads.example.net/pop.html", "blc", kTop, "http://ads.example.net/pop.html"},
    {"a window the user asked for", {}, Event::kNewWindow3, "http://ads.example.net/pop.html", kTop, kUserRequested, 0,
     false, "", "", "", ""},
    {"a popup to a white-listed site", {}, Event::kNewWindow3, "http://friends.example.org/pop.html", kTop, kNone, 0,
     true, "http://friends.example.org/pop.html", "blc", kTop, "http://friends.example.org/pop.html"},
    {"Kestrelix turned off (row 17): popups", {{krx::kAddOnEnabled, 0}}, Event::kNewWindow3,
     "http://ads.example.net/pop.html", kTop, kNone, 0, false, "", "", "", ""},
    {"a popup from a white-listed page", {}, Event::kNewWindow3, "http://ads.example.net/pop.html",
     "http://friends.example.org/", kNone, 0, false, "", "", "", ""},
    {"popup blocking off (row 1)", {{krx::kPopupBlocking, 0}}, Event::kNewWindow3, "http://ads.example.net/pop.html",
     kTop, kNone, 0, false, "", "", "", ""},
    {"CTRL held pauses blocking", {}, Event::kNewWindow3, "http://ads.example.net/pop.html", kTop, kNone, VK_CONTROL,
     false, "", "", "", ""},
    {"CTRL held when ALT is the key (row 7)", {{krx::kPauseModifier, 18}}, Event::kNewWindow3,
     "http://ads.example.net/pop.html", kTop, kNone, VK_CONTROL, true, "http://ads.example.net/pop.html", "blc",
     kTop, "http://ads.example.net/pop.html"},
    {"ALT held when ALT is the key", {{krx::kPauseModifier, 18}}, Event::kNewWindow3,
     "http://ads.example.net/pop.html", kTop, kNone, VK_MENU, false, "", "", "", ""},
    {"no block log (row 2)", {{krx::kBlockLog, 0}}, Event::kNewWindow3, "http://ads.example.net/pop.html", kTop, kNone,
     0, true, "http://ads.example.net/pop.html", "", "", ""},
    {"no block message (row 8)", {{krx::kBlockStatusMessage, 0}, {krx::kBlockSound, 0}}, Event::kNewWindow3,
     "http://ads.example.net/pop.html", kTop, kNone, 0, true, "", "blc", kTop, "http://ads.example.net/pop.html"},
    {"a popup while the page unloads (row 20 on)", {}, Event::kNewWindow3, "http://ads.example.net/bye.html", kTop,
     kUnloading, 0, true, "http://ads.example.net/bye.html", "blc", kTop, "http://ads.example.net/bye.html"},
    {"a popup while the page unloads (row 20 off)", {{krx::kCheckOnClose, 0}}, Event::kNewWindow3,
     "http://ads.example.net/bye.html", kTop, kUnloading, 0, false, "", "", "", ""},
    {"a popup after the browser quit (row 20 off)", {{krx::kCheckOnClose, 0}}, Event::kQuitThenNewWindow3,
     "http://ads.example.net/bye.html", kTop, kNone, 0, false, "", "", "", ""},
    {"a popup after the browser quit (row 20 on)", {}, Event::kQuitThenNewWindow3, "http://ads.example.net/bye.html",
     kTop, kNone, 0, true, "http://ads.example.net/bye.html", "blc", kTop, "http://ads.example.net/bye.html"},
    {"NewWindow2 leaves the decision to NewWindow3", {}, Event::kNewWindow2, "", "", kNone, 0, false, "", "", "", ""},
    {"NewWindow2 of a browser that has NewWindow3", {}, Event::kNewWindow2BeforeNewWindow3, "", "", kNone, 0, false, "",
     "", "", ""},
    {"NewWindow2 of a browser without NewWindow3", {}, Event::kNewWindow2WithoutNewWindow3, "", "", kNone, 0, true,
     kTop, "blc", kTop, ""},

    {"a page in the top window", {}, Event::kDocument, kTop, "", kNone, 0, false, "", "vis", kTop, kTopTitle},
    {"a frame (detailed log, row 25)", {}, Event::kDocumentFrame, "http://ads.example.net/frame.html", "", kNone, 0,
     false, "", "vis", "http://ads.example.net/frame.html", kFrameTitle},
    {"a frame without the detailed log", {{krx::kDetailedVisitLog, 0}}, Event::kDocumentFrame,
     "http://ads.example.net/frame.html", "", kNone, 0, false, "", "", "", ""},
    {"no visit log (row 3)", {{krx::kVisitLog, 0}}, Event::kDocument, kTop, "", kNone, 0, false, "", "", "", ""},
    {"Kestrelix turned off (row 17): visits", {{krx::kAddOnEnabled, 0}}, Event::kDocument, kTop, "", kNone, 0, false,
     "", "", "", ""},

    // A server's redirect fires no BeforeNavigate2: the address arrives with
    // NavigateComplete2 (cancel: the window was stopped and sent away).
    {"redirected to a forbidden page", {}, Event::kArrive, "http://bad.example.com/landing.html", "", kNone, 0, true,
     "http://bad.example.com/landing.html", "", "", ""},
    {"a frame redirected to a forbidden page", {{krx::kForbiddenStatusMessage, 0}}, Event::kArriveFrame,
     "http://bad.example.com/ad.html", "", kNone, 0, true, "", "", "", ""},
    {"redirected to an allowed page", {}, Event::kArrive, kTop, "", kNone, 0, false, "", "vis", kTop, kTopTitle},
    {"Kestrelix turned off (row 17): the forbidden list", {{krx::kAddOnEnabled, 0}}, Event::kArrive,
     "http://bad.example.com/landing.html", "", kNone, 0, false, "", "", "", ""},

    {"a movie followed as a link", {}, Event::kNavigate, "http://media.example.com/news/Morning.WMV", "", kNone, 0,
     false, "", "mms", "http://media.example.com/news/Morning.WMV", kTopTitle},
    {"a stream", {}, Event::kNavigate, "mms://media.example.com/live", "", kNone, 0, false, "", "mms",
     "mms://media.example.com/live", kTopTitle},
    {"no media log (row 23)", {{krx::kMediaLog, 0}}, Event::kNavigate, "http://media.example.com/news/morning.wmv", "",
     kNone, 0, false, "", "", "", ""},
    {"a forbidden movie", {}, Event::kNavigate, "http://bad.example.com/film.avi", "", kNone, 0, true,
     "http://bad.example.com/film.avi", "", "", ""},
    {"a flash file in a frame", {}, Event::kDocumentFrame, "http://www.example.com/media/intro.swf", "", kNone, 0,
     false,
     "", "fla", kTop, "http://www.example.com/media/intro.swf", "vis", "http://www.example.com/media/intro.swf",
     kFrameTitle},
    {"a flash file in the top window", {{krx::kVisitLog, 0}}, Event::kDocument, "http://www.example.com/game.swf", "",
     kNone, 0, false, "", "fla", "http://www.example.com/game.swf", "http://www.example.com/game.swf"},
    {"a flash file on a network share", {{krx::kVisitLog, 0}}, Event::kDocument, "\\\\server\\share\\game.swf", "",
     kNone, 0, false, "", "", "", ""},
    {"a flash file of a file: address", {{krx::kVisitLog, 0}}, Event::kDocument, "file://server/share/game.swf", "",
     kNone, 0, false, "", "", "", ""},
    {"no flash log (row 4)", {{krx::kFlashLog, 0}, {krx::kVisitLog, 0}}, Event::kDocument,
     "http://www.example.com/game.swf", "", kNone, 0, false, "", "", "", ""},
};

TEST_F(AddonHost, ActsOnTheBrowsersEventsAsTheOptionsSay) {
  WriteList("white.log", {"http://friends.example.org/"});
  WriteList("forbid.log", {"bad.example.com", "http://www.example.net/private/page.html", "b\xfc" "cher.example",
                           "http://??????.example/"});  // what an older log showed for a Cyrillic host
  IObjectWithSite* addon = CreateAddon();
  ASSERT_NE(addon, nullptr);
  // The lists are read off the window's thread; the table starts once the
  // process has them.
  TestBrowser* first = new TestBrowser(kTop, kTopTitle);
  ASSERT_EQ(addon->SetSite(first->unknown()), S_OK);
  ASSERT_TRUE(WaitUntil([&] { return first->FireBeforeNavigate2(first->dispatch(), "http://bad.example.com/"); }));
  ASSERT_EQ(addon->SetSite(nullptr), S_OK);
  first->Release();
  TestBrowser* frame = new TestBrowser("http://ads.example.net/frame.html", kFrameTitle);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    if (c.codePage && c.codePage != GetACP()) continue;
    krx::SettingValues options = krx::kDefaultSettings;
    for (auto& o : c.options) options[o.first] = o.second;
    WriteOptions(options);
    ClearDayFiles(folder_.tmp());
    // A new window of the browser: the add-on is sited and reads the files.
    TestBrowser* browser = new TestBrowser(kTop, kTopTitle);
    ASSERT_EQ(addon->SetSite(browser->unknown()), S_OK);
    if (c.heldKey) HoldKey(c.heldKey, true);

    SYSTEMTIME before, after;
    GetLocalTime(&before);
    bool cancel = false;
    const size_t frameCalls = frame->calls().size();
    auto arrive = [&](TestBrowser* window) {
      browser->FireNavigateComplete2(window->dispatch(), c.url);
      browser->FireDocumentComplete(window->dispatch(), c.url);
      cancel = window->calls().size() > (window == frame ? frameCalls : 0);
      if (cancel) browser->FireDocumentComplete(window->dispatch(), "about:blank");
      const std::vector<std::string> sent(window->calls().begin() + (window == frame ? frameCalls : 0),
                                          window->calls().end());
      if (cancel) {
        EXPECT_EQ(sent, std::vector<std::string>({"Stop", "Navigate2 about:blank"}));
      }
    };
    switch (c.event) {
      case Event::kNavigate: cancel = browser->FireBeforeNavigate2(browser->dispatch(), c.url); break;
      case Event::kNavigateFrame: cancel = browser->FireBeforeNavigate2(frame->dispatch(), c.url); break;
      case Event::kNewWindow3: cancel = browser->FireNewWindow3(c.flags, c.opener, c.url); break;
      case Event::kNewWindow2: cancel = browser->FireNewWindow2(); break;
      case Event::kNewWindow2WithoutNewWindow3:
      case Event::kNewWindow2BeforeNewWindow3: {
        // The add-on reads the browser's type library when it is sited.
        ITypeInfo* events = krx_test::NewBrowserEventsTypeInfo(c.event == Event::kNewWindow2BeforeNewWindow3);
        ASSERT_NE(events, nullptr);
        browser->SetTypeInfo(events);
        events->Release();
        ASSERT_EQ(addon->SetSite(browser->unknown()), S_OK);
        cancel = browser->FireNewWindow2();
        break;
      }
      case Event::kArrive: arrive(browser); break;
      case Event::kArriveFrame: arrive(frame); break;
      case Event::kQuitThenNewWindow3:
        browser->FireQuit();
        cancel = browser->FireNewWindow3(c.flags, c.opener, c.url);
        break;
      case Event::kDocument: browser->FireDocumentComplete(browser->dispatch(), c.url); break;
      case Event::kDocumentFrame: browser->FireDocumentComplete(frame->dispatch(), c.url); break;
    }
    GetLocalTime(&after);
    if (c.heldKey) HoldKey(c.heldKey, false);

    EXPECT_EQ(cancel, c.cancel);
    std::vector<std::string> status;
    if (*c.status) {
      const bool popup = c.event != Event::kNavigate && c.event != Event::kNavigateFrame && c.event != Event::kArrive &&
                         c.event != Event::kArriveFrame;
      status.push_back(std::string(popup ? kBlockedText : kForbiddenText) + c.status);
    }
    EXPECT_EQ(browser->statusTexts(), status);
    for (const char* extension : {"vis", "blc", "fla", "mms"}) {
      const std::string text = AllDayText(folder_.tmp(), extension);
      const char *address = c.address, *tail = c.tail;
      if (std::string(extension) == c.extension2) {
        address = c.address2;
        tail = c.tail2;
      } else if (std::string(extension) != c.extension) {
        EXPECT_EQ(text, "") << extension;
        continue;
      }
      // The line carries the second it was written: before or after the event.
      const std::string early = Line(before, address, tail), late = Line(after, address, tail);
      EXPECT_TRUE(text == early || text == late) << text;
      EXPECT_TRUE(krx::FileExists(folder_.tmp() + DayFileName(after, extension)) ||
                  krx::FileExists(folder_.tmp() + DayFileName(before, extension)));
    }
    ASSERT_EQ(addon->SetSite(nullptr), S_OK);
    EXPECT_EQ(browser->references(), 1);
    browser->Release();
  }
  frame->Release();
  addon->Release();
}

TEST_F(AddonHost, AFlashFileInTheBrowsersCacheIsRecordedByItsLocalCopy) {
  const char* url = "http://www.example.com/media/cached.swf";
  char local[MAX_PATH] = {};
  ASSERT_TRUE(CreateUrlCacheEntryA(url, 0, "swf", local, 0));
  krx_test::WriteFileBytes(local, "FWS flash bytes");
  FILETIME none = {0, 0};
  ASSERT_TRUE(CommitUrlCacheEntryA(url, local, none, none, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr));
  IObjectWithSite* addon = CreateAddon();
  TestBrowser* browser = new TestBrowser(url, "cached.swf");
  ASSERT_EQ(addon->SetSite(browser->unknown()), S_OK);
  SYSTEMTIME before, after;
  GetLocalTime(&before);
  browser->FireDocumentComplete(browser->dispatch(), url);
  GetLocalTime(&after);
  const std::string text = AllDayText(folder_.tmp(), "fla");
  EXPECT_TRUE(text == Line(before, url, local) || text == Line(after, url, local)) << text;
  addon->SetSite(nullptr);
  addon->Release();
  browser->Release();
  DeleteUrlCacheEntryA(url);
}

// A page of the news site: flash as EMBED and as OBJECT (with the EMBED
// that pages nest in it for other browsers), a GIF and a photo, a movie.
krx_test::FakeDocument* NewsPage(std::vector<krx_test::FakeElement*>& flash, std::vector<krx_test::FakeElement*>& gifs,
                                 std::vector<krx_test::FakeElement*>& others) {
  using krx_test::FakeElement;
  auto* intro = new FakeElement("EMBED", {{"src", "media/intro.swf"}});
  auto* nested = new FakeElement("EMBED", {{"src", "/flash/banner.swf"}, {"type", "application/x-shockwave-flash"}});
  auto* object = new FakeElement("OBJECT", {{"classid", "clsid:D27CDB6E-AE6D-11cf-96B8-444553540000"}},
                                 {new FakeElement("PARAM", {{"name", "quality"}, {"value", "high"}}),
                                  new FakeElement("PARAM", {{"name", "Movie"}, {"value", "/flash/banner.swf"}})});
  auto* gif = new FakeElement("IMG", {{"src", "anim.gif"}});
  auto* photo = new FakeElement("IMG", {{"src", "photo.jpg"}});
  auto* movie = new FakeElement("EMBED", {{"src", "clip.mov"}, {"type", "video/quicktime"}});
  flash = {intro, nested, object};
  gifs = {gif};
  others = {photo, movie};
  return new krx_test::FakeDocument({intro, object, nested, gif, photo, movie});
}

// Keys as the keyboard gives them, to the window that has the focus: a
// window of this thread, as a browser window's keys go to its thread.
class KeyboardWindow {
 public:
  KeyboardWindow() {
    window_ = CreateWindowExA(0, "STATIC", "keys", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                              nullptr);
    SetForegroundWindow(window_);
    SetFocus(window_);
    Pump();
  }
  ~KeyboardWindow() { DestroyWindow(window_); }
  void Press(BYTE key, bool ctrl) {
    if (ctrl) keybd_event(VK_CONTROL, 0, 0, 0);
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    if (ctrl) keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    Pump();
  }
  HWND window() const { return window_; }

 private:
  static void Pump() {
    for (int i = 0; i < 20; ++i) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      Sleep(10);
    }
  }
  HWND window_;
};

std::vector<std::string> Visibilities(const std::vector<krx_test::FakeElement*>& elements) {
  std::vector<std::string> out;
  for (auto* e : elements) out.push_back(e->visibility());
  return out;
}

TEST_F(AddonHost, APagesFlashObjectsAreRecordedAndItsHotkeysHideThem) {
  krx::SettingValues options = krx::kDefaultSettings;
  options[krx::kGifKey] = VK_F8;  // the flash key stays F9
  WriteOptions(options);
  std::vector<krx_test::FakeElement*> flash, gifs, others;
  krx_test::FakeDocument* page = NewsPage(flash, gifs, others);
  IObjectWithSite* addon = CreateAddon();
  TestBrowser* browser = new TestBrowser(kTop, kTopTitle);
  browser->SetDocument(page);
  ASSERT_EQ(addon->SetSite(browser->unknown()), S_OK);

  // Each flash file of the page once, by its full address (none is cached).
  SYSTEMTIME before, after;
  GetLocalTime(&before);
  browser->FireDocumentComplete(browser->dispatch(), kTop);
  GetLocalTime(&after);
  const std::string intro = "http://news.example.com/media/intro.swf";
  const std::string banner = "http://news.example.com/flash/banner.swf";
  const std::string text = AllDayText(folder_.tmp(), "fla");
  EXPECT_TRUE(text == Line(before, kTop, intro) + Line(before, kTop, banner) ||
              text == Line(after, kTop, intro) + Line(after, kTop, banner) ||
              text == Line(before, kTop, intro) + Line(after, kTop, banner))
      << text;
  // The movie the page plays: its address and the page's title.
  const std::string clip = "http://news.example.com/clip.mov", media = AllDayText(folder_.tmp(), "mms");
  EXPECT_TRUE(media == Line(before, clip, kTopTitle) || media == Line(after, clip, kTopTitle)) << media;
  // Only the tags that can hold flash or media are walked, and a name is
  // looked up on the first element of a tag only.
  for (auto* picture : {gifs[0], others[0]}) EXPECT_EQ(picture->calls(), 0);
  EXPECT_GT(flash[0]->lookups(), 0);
  EXPECT_EQ(flash[1]->lookups() + others[1]->lookups(), 0);  // the EMBEDs after it

  // CTRL with the flash key hides the flash objects, again shows them; the
  // GIF key does the same for the GIF pictures. Nothing else changes.
  KeyboardWindow keys;
  const std::vector<std::string> shown(3, ""), hidden(3, "hidden");
  keys.Press(VK_F9, false);
  EXPECT_EQ(Visibilities(flash), shown);
  keys.Press(VK_F9, true);
  EXPECT_EQ(Visibilities(flash), hidden);
  EXPECT_EQ(Visibilities(gifs), std::vector<std::string>{""});
  keys.Press(VK_F8, true);
  EXPECT_EQ(Visibilities(gifs), std::vector<std::string>{"hidden"});
  keys.Press(VK_F9, true);
  EXPECT_EQ(Visibilities(flash), shown);
  EXPECT_EQ(Visibilities(gifs), std::vector<std::string>{"hidden"});
  EXPECT_EQ(Visibilities(others), std::vector<std::string>(2, ""));  // the photo and the movie

  // Unsited, the window's keys are its own again.
  ASSERT_EQ(addon->SetSite(nullptr), S_OK);
  keys.Press(VK_F9, true);
  EXPECT_EQ(Visibilities(flash), shown);
  addon->Release();
  browser->Release();
  page->Release();
}

TEST_F(AddonHost, ReadsTheOptionsAndListsAgainWhenTheyChange) {
  WriteOptions(krx::kDefaultSettings);
  IObjectWithSite* addon = CreateAddon();
  TestBrowser* browser = new TestBrowser(kTop, kTopTitle);
  ASSERT_EQ(addon->SetSite(browser->unknown()), S_OK);
  const char* target = "http://later.example.com/";
  auto stops = [&](const char* url) { return browser->FireBeforeNavigate2(browser->dispatch(), url); };
  EXPECT_FALSE(stops(target));

  // The manager saves the lists and the options while the window is open:
  // the process's reader takes a changed list in about a second, for every
  // window at once; the window looks at the options about once a second.
  IObjectWithSite* second = CreateAddon();
  TestBrowser* other = new TestBrowser(kTop, kTopTitle);
  ASSERT_EQ(second->SetSite(other->unknown()), S_OK);
  WriteList("forbid.log", {"later.example.com"});
  EXPECT_TRUE(WaitUntil([&] { return stops(target); }));
  // The other window of the process has the same index, unasked.
  EXPECT_TRUE(other->FireBeforeNavigate2(other->dispatch(), target));
  second->SetSite(nullptr);
  second->Release();
  other->Release();
  krx::SettingValues options = krx::kDefaultSettings;
  options[krx::kExcludeForbidden] = 1;
  WriteOptions(options);
  Sleep(1100);
  EXPECT_FALSE(stops(target));
  // A file that goes means its defaults: an empty list, the default options.
  DeleteFileA((folder_.user() + "KRX.cfg").c_str());
  Sleep(1100);
  EXPECT_TRUE(stops(target));
  DeleteFileA((folder_.user() + "forbid.log").c_str());
  EXPECT_TRUE(WaitUntil([&] { return !stops(target); }));
  // A damaged list gives the entries read whole before the damage.
  std::string bytes = ListFileBytes({"first.example.com", "second.example.com"});
  bytes.resize(bytes.size() - 3);
  krx_test::WriteFileBytes(folder_.user() + "forbid.log", bytes);
  EXPECT_TRUE(WaitUntil([&] { return stops("http://first.example.com/"); }));
  EXPECT_FALSE(stops("http://second.example.com/"));
  // A list file larger than the add-on takes (8 MB) is not read: the list
  // before it stays. The reader looks at white.log, then forbid.log: once
  // the white list written after it shows, the big file was looked at too.
  krx_test::WriteFileBytes(folder_.user() + "forbid.log",
                           ListFileBytes({"huge.example.com"}) + std::string(9 << 20, '\0'));
  WriteList("white.log", {kTop});
  EXPECT_TRUE(WaitUntil([&] { return !browser->FireNewWindow3(0, kTop, "http://ads.example.net/pop.html"); }));
  EXPECT_FALSE(stops("http://huge.example.com/"));
  EXPECT_TRUE(stops("http://first.example.com/"));

  // The add-on read the files without holding them: the manager replaces
  // and deletes them at will.
  EXPECT_TRUE(MoveFileExA((folder_.user() + "forbid.log").c_str(), (folder_.user() + "old.log").c_str(), 0));
  addon->SetSite(nullptr);
  addon->Release();
  browser->Release();
}

// A copy whose path is too long to learn would work relative to the
// browser's current folder: it does nothing at all instead.
TEST_F(AddonHost, ACopyThatCannotNameItsFolderDoesNothing) {
  // Only the wide functions with the "\\?\" prefix reach so deep.
  const std::string base = folder_.path();
  std::wstring deep = L"\\\\?\\" + std::wstring(base.begin(), base.end());
  while (deep.size() < MAX_PATH + 4) {
    deep += std::wstring(50, L'd') + L"\\";
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
  }
  const std::wstring copy = deep + L"Kestrelix.dll", dll(dll_.begin(), dll_.end());
  const std::string current = base + "current\\";
  ASSERT_TRUE(CopyFileW(dll.c_str(), copy.c_str(), FALSE));
  ASSERT_TRUE(CreateDirectoryA(current.c_str(), nullptr));
  HMODULE module = LoadLibraryW(copy.c_str());
  ASSERT_NE(module, nullptr);
  auto getClass = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  IClassFactory* factory = nullptr;
  ASSERT_EQ(getClass(kAddonClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  IObjectWithSite* addon = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IObjectWithSite, reinterpret_cast<void**>(&addon)), S_OK);
  factory->Release();
  char before[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, before);
  SetCurrentDirectoryA(current.c_str());
  TestBrowser* browser = new TestBrowser(kTop, kTopTitle);
  EXPECT_EQ(addon->SetSite(browser->unknown()), S_OK);
  EXPECT_FALSE(browser->FireNewWindow3(kNone, kTop, "http://ads.example.net/pop.html"));
  browser->FireDocumentComplete(browser->dispatch(), kTop);
  SetCurrentDirectoryA(before);
  EXPECT_EQ(GetFileAttributesA((current + "tmp").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(browser->statusTexts().empty());
  addon->SetSite(nullptr);
  addon->Release();
  browser->Release();
  FreeLibrary(module);
}

TEST_F(AddonHost, WithoutAUserFolderTheDefaultsActAndAMissingTmpFolderIsMade) {
  RemoveDirectoryA(folder_.user().c_str());
  RemoveDirectoryA(folder_.tmp().c_str());
  IObjectWithSite* addon = CreateAddon();
  TestBrowser* browser = new TestBrowser(kTop, kTopTitle);
  ASSERT_EQ(addon->SetSite(browser->unknown()), S_OK);
  EXPECT_FALSE(browser->FireBeforeNavigate2(browser->dispatch(), "http://bad.example.com/"));
  EXPECT_TRUE(browser->FireNewWindow3(kNone, kTop, "http://ads.example.net/pop.html"));
  browser->FireDocumentComplete(browser->dispatch(), kTop);
  EXPECT_NE(AllDayText(folder_.tmp(), "vis").find(std::string(kTop) + " - " + kTopTitle + "\r\n"), std::string::npos);
  EXPECT_NE(AllDayText(folder_.tmp(), "blc").find(std::string(kTop) + " - http://ads.example.net/pop.html\r\n"),
            std::string::npos);
  addon->SetSite(nullptr);
  addon->Release();
  browser->Release();
}

TEST_F(AddonHost, ADayFileTheManagerDeletedIsMadeAgainAndAnOpenOneGrows) {
  IObjectWithSite* addon = CreateAddon();
  TestBrowser* browser = new TestBrowser(kTop, kTopTitle);
  ASSERT_EQ(addon->SetSite(browser->unknown()), S_OK);
  browser->FireDocumentComplete(browser->dispatch(), "http://one.example.com/");
  // The manager reads a day file while the add-on appends to it.
  std::string first = AllDayText(folder_.tmp(), "vis");
  ASSERT_NE(first, "");
  SYSTEMTIME today;
  GetLocalTime(&today);
  HANDLE reader = CreateFileA((folder_.tmp() + DayFileName(today, "vis")).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  browser->FireDocumentComplete(browser->dispatch(), "http://two.example.com/");
  if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
  std::string both = AllDayText(folder_.tmp(), "vis");
  EXPECT_EQ(both.substr(0, first.size()), first);
  EXPECT_NE(both.find("http://two.example.com/"), std::string::npos);

  ClearDayFiles(folder_.tmp());
  browser->FireDocumentComplete(browser->dispatch(), "http://three.example.com/");
  std::string again = AllDayText(folder_.tmp(), "vis");
  EXPECT_NE(again.find("http://three.example.com/ - "), std::string::npos);
  EXPECT_EQ(again.find("http://one.example.com/"), std::string::npos);
  addon->SetSite(nullptr);
  addon->Release();
  browser->Release();
}

// Several browser windows of one process, each on its own thread, and a
// second browser process, all recording visits into the same day file.
const int kLinesPerWriter = 500;

void RecordVisits(const char* writer, int count) {
  if (FAILED(CoInitialize(nullptr))) return;
  IObjectWithSite* addon = nullptr;
  if (SUCCEEDED(CoCreateInstance(kAddonClass, nullptr, CLSCTX_INPROC_SERVER, IID_IObjectWithSite,
                                 reinterpret_cast<void**>(&addon)))) {
    TestBrowser* browser = new TestBrowser(kTop, kTopTitle);
    addon->SetSite(browser->unknown());
    for (int i = 0; i < count; ++i) {
      browser->FireDocumentComplete(browser->dispatch(),
                                    "http://" + std::string(writer) + ".example.com/page" + std::to_string(i));
    }
    addon->SetSite(nullptr);
    addon->Release();
    browser->Release();
  }
  CoUninitialize();
}

// Run only as the second process of the test below.
TEST(AddonAppendChild, DISABLED_RecordsVisits) { RecordVisits("child", kLinesPerWriter); }

TEST_F(AddonHost, WindowsAndProcessesAppendingAtOnceLoseAndTearNoLine) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  HANDLE child = folder_.Run(self, "--gtest_also_run_disabled_tests --gtest_filter=AddonAppendChild.*RecordsVisits");
  ASSERT_NE(child, nullptr);
  const char* writers[] = {"one", "two", "three"};
  std::vector<std::thread> threads;
  for (const char* w : writers) threads.emplace_back(RecordVisits, w, kLinesPerWriter);
  for (std::thread& t : threads) t.join();
  ASSERT_EQ(WaitForSingleObject(child, 120000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(child, &code);
  EXPECT_EQ(code, 0u);

  const std::string text = AllDayText(folder_.tmp(), "vis");
  ASSERT_GE(text.size(), 2u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  std::multiset<std::string> seen;
  size_t torn = 0;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    at = end + 2;
    // "<mm/dd/yyyy hh:mm:ss> " address " - " title
    const size_t address = 22, dash = line.find(" - ");
    if (line.size() < address || line[0] != '<' || line[20] != '>' || dash == std::string::npos ||
        line.substr(dash + 3) != kTopTitle) {
      ++torn;
      continue;
    }
    seen.insert(line.substr(address, dash - address));
  }
  EXPECT_EQ(torn, 0u);
  EXPECT_EQ(seen.size(), size_t(4 * kLinesPerWriter));
  for (const char* w : {"one", "two", "three", "child"}) {
    for (int i = 0; i < kLinesPerWriter; ++i) {
      const std::string address = "http://" + std::string(w) + ".example.com/page" + std::to_string(i);
      EXPECT_EQ(seen.count(address), 1u) << address;
    }
  }
}

// The day file's lines without their CR LF, sorted.
std::vector<std::string> DayLines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

// Run only as the second process of the test below: holds the day file's
// writers' lock, as a writer hung in the middle of its line would.
TEST(AddonAppendChild, DISABLED_HoldsTheWritersLock) {
  char path[MAX_PATH] = {};
  ASSERT_GT(GetEnvironmentVariableA("KRX_STUCK_DAY_FILE", path, MAX_PATH), 0u);
  HANDLE file = CreateFileA(path, GENERIC_READ | FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  OVERLAPPED at = {};
  at.OffsetHigh = 0x40000000;  // the add-on's lock byte, at 2^62
  ASSERT_TRUE(LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at));
  SetEvent(OpenEventA(EVENT_MODIFY_STATE, FALSE, "KrxStuckWriterHolds"));
  WaitForSingleObject(OpenEventA(SYNCHRONIZE, FALSE, "KrxStuckWriterMayGo"), 60000);
  CloseHandle(file);
}

TEST_F(AddonHost, AWriterStuckWithTheLockDelaysButLosesNoLine) {
  SYSTEMTIME today;
  GetLocalTime(&today);
  SetEnvironmentVariableA("KRX_STUCK_DAY_FILE", (folder_.tmp() + DayFileName(today, "vis")).c_str());
  HANDLE holds = CreateEventA(nullptr, TRUE, FALSE, "KrxStuckWriterHolds");
  HANDLE mayGo = CreateEventA(nullptr, TRUE, FALSE, "KrxStuckWriterMayGo");
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  HANDLE child = folder_.Run(self, "--gtest_also_run_disabled_tests --gtest_filter=AddonAppendChild.*Lock");
  ASSERT_NE(child, nullptr);
  ASSERT_EQ(WaitForSingleObject(holds, 30000), WAIT_OBJECT_0);

  IObjectWithSite* addon = CreateAddon();
  TestBrowser* browser = new TestBrowser(kTop, kTopTitle);
  ASSERT_EQ(addon->SetSite(browser->unknown()), S_OK);
  for (int i = 0; i < 3; ++i) {
    browser->FireDocumentComplete(browser->dispatch(), "http://stuck.example.com/" + std::to_string(i));
  }
  // Each line whole, in one append, though out of turn.
  const std::vector<std::string> lines = DayLines(AllDayText(folder_.tmp(), "vis"));
  ASSERT_EQ(lines.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(lines[size_t(i)].substr(20), "> http://stuck.example.com/" + std::to_string(i) + " - " + kTopTitle);
  }
  SetEvent(mayGo);
  EXPECT_EQ(WaitForSingleObject(child, 30000), WAIT_OBJECT_0);
  CloseHandle(child);
  CloseHandle(holds);
  CloseHandle(mayGo);
  addon->SetSite(nullptr);
  addon->Release();
  browser->Release();
}

std::vector<std::string> ListLines(HWND list) {
  std::vector<std::string> lines;
  const int n = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) lines.push_back(krx_test::ListLine(list, i));
  std::sort(lines.begin(), lines.end());
  return lines;
}

// Shows a day's records in the manager's item list.
void ChooseDay(HWND main, HWND dates, int day) {
  SendMessageA(dates, LB_SETCURSEL, WPARAM(day), 0);
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(1007, LBN_SELCHANGE), LPARAM(dates));
}

TEST_F(AddonHost, TheManagerListsWhatTheAddonRecordedDayByDay) {
  IObjectWithSite* addon = CreateAddon();
  TestBrowser* browser = new TestBrowser(kTop, kTopTitle);
  ASSERT_EQ(addon->SetSite(browser->unknown()), S_OK);
  for (const char* page : {"http://www.example.com/", "http://www.example.com/a.html", "http://www.example.org/"}) {
    browser->FireDocumentComplete(browser->dispatch(), page);
  }
  EXPECT_TRUE(browser->FireNewWindow3(kNone, kTop, "http://ads.example.net/1.html"));
  EXPECT_TRUE(browser->FireNewWindow3(kNone, kTop, "http://ads.example.net/2.html"));
  const std::vector<std::string> visits = DayLines(AllDayText(folder_.tmp(), "vis"));
  const std::vector<std::string> blocks = DayLines(AllDayText(folder_.tmp(), "blc"));
  ASSERT_EQ(visits.size(), 3u);
  ASSERT_EQ(blocks.size(), 2u);

  HANDLE app = folder_.Start();
  HWND login = krx_test::WaitForWindow(app, "Kestrelix - Login");
  ASSERT_NE(login, nullptr);
  SendMessageA(GetDlgItem(login, 1000), WM_SETTEXT, 0, LPARAM("kestrel"));
  PostMessageA(login, WM_COMMAND, IDOK, 0);
  HWND main = krx_test::WaitForWindow(app, "Kestrelix");
  ASSERT_NE(main, nullptr);
  HWND dates = GetDlgItem(main, 1007), items = GetDlgItem(main, 1008);
  ASSERT_TRUE(WaitUntil([&] { return SendMessageA(dates, LB_GETCOUNT, 0, 0) > 0; }));

  // Each day of the date list shows the add-on's lines of that day, whole.
  std::vector<std::string> listed;
  for (int day = 0; day < int(SendMessageA(dates, LB_GETCOUNT, 0, 0)); ++day) {
    const std::string date = krx_test::ListLine(dates, day);
    ChooseDay(main, dates, day);
    for (const std::string& line : ListLines(items)) {
      EXPECT_EQ(line.rfind("<" + date + " ", 0), 0u) << line;
      listed.push_back(line);
    }
  }
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, visits);

  SendMessageA(main, WM_COMMAND, 180, 0);  // the block log
  ASSERT_TRUE(WaitUntil([&] { return SendMessageA(dates, LB_GETCOUNT, 0, 0) > 0; }));
  ChooseDay(main, dates, 0);
  EXPECT_EQ(ListLines(items), blocks);

  // A popup blocked while the manager runs shows after Refresh.
  EXPECT_TRUE(browser->FireNewWindow3(kNone, kTop, "http://ads.example.net/3.html"));
  const std::vector<std::string> more = DayLines(AllDayText(folder_.tmp(), "blc"));
  ASSERT_EQ(more.size(), 3u);
  HWND refresh = GetDlgItem(main, 1019);
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(1019, BN_CLICKED), LPARAM(refresh));
  ChooseDay(main, dates, 0);
  EXPECT_EQ(ListLines(items), more);

  ASSERT_TRUE(krx_test::CloseManager(main, app));
  addon->SetSite(nullptr);
  addon->Release();
  browser->Release();
}

}  // namespace
