// What the real add-on reads and where: the options and lists read again
// when the manager saves them, a copy that cannot name its own folder, and
// a program folder without its User or tmp folder.
#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <string>

#include "addon/addon_host_fixture_win32.h"
#include "addon/test_browser_win32.h"

namespace {

using krx_test::AddonHost;
using krx_test::AllDayText;
using krx_test::kAddonClass;
using krx_test::kNone;
using krx_test::kTop;
using krx_test::kTopTitle;
using krx_test::ListFileBytes;
using krx_test::TestBrowser;
using krx_test::WaitUntil;

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

// A new browser process (the first window, an address on the command line,
// a tab with a process of its own): its first navigation is decided on the
// lists, though indexing 100,000 entries takes the reader a good part of a
// second, and the window is sited without waiting for them.
TEST_F(AddonHost, TheFirstNavigationOfAProcessWaitsForItsLists) {
  krx::StringArray forbidden;
  for (int i = 0; i < 100000; ++i) forbidden.push_back("site" + std::to_string(i) + ".example.com");
  WriteList("forbid.log", forbidden);
  WriteList("white.log", {kTop});
  IObjectWithSite* addon = CreateAddon();
  TestBrowser* browser = new TestBrowser(kTop, kTopTitle);
  ASSERT_EQ(addon->SetSite(browser->unknown()), S_OK);
  EXPECT_TRUE(browser->FireBeforeNavigate2(browser->dispatch(), "http://www.site99999.example.com/"));
  EXPECT_FALSE(browser->FireNewWindow3(kNone, kTop, "http://ads.example.net/pop.html"));
  EXPECT_FALSE(browser->FireBeforeNavigate2(browser->dispatch(), "http://site100000.example.com/"));
  addon->SetSite(nullptr);
  addon->Release();
  browser->Release();
}

DWORD WINAPI CloseLater(void* file) {
  Sleep(200);
  CloseHandle(static_cast<HANDLE>(file));
  return 0;
}

// A list file held without sharing for a moment when the process starts
// (a scanner, a copy): its first decision waits until it can be read, never
// deciding on an empty list in its place.
TEST_F(AddonHost, AFirstListHeldForAMomentIsWaitedFor) {
  WriteList("forbid.log", {"held.example.com"});
  HANDLE held = CreateFileA((folder_.user() + "forbid.log").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  HANDLE release = CreateThread(nullptr, 0, &CloseLater, held, 0, nullptr);
  ASSERT_NE(release, nullptr);
  IObjectWithSite* addon = CreateAddon();
  TestBrowser* browser = new TestBrowser(kTop, kTopTitle);
  ASSERT_EQ(addon->SetSite(browser->unknown()), S_OK);
  EXPECT_TRUE(browser->FireBeforeNavigate2(browser->dispatch(), "http://held.example.com/"));
  WaitForSingleObject(release, INFINITE);
  CloseHandle(release);
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

}  // namespace
