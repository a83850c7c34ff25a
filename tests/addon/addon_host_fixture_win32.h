#pragma once
// What the tests of the real add-on share: its class and registration
// entry points, the day files' names and line layout as the add-on must
// write them, and the fixture that installs a program folder and registers
// the add-on from it.
#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/program_folder_win32.h"
#include "core/record_file.h"
#include "core/settings_file.h"
#include "support/test_support.h"

namespace krx_test {

// {617D30F3-45EB-4A05-91D3-F50D72567345}: the add-on's class, as registered.
inline const CLSID kAddonClass = {0x617D30F3, 0x45EB, 0x4A05, {0x91, 0xD3, 0xF5, 0x0D, 0x72, 0x56, 0x73, 0x45}};

// The page most tests show in the browser window.
inline const char kTop[] = "http://news.example.com/today.html";
inline const char kTopTitle[] = "Example News";

// NewWindow3's flags.
enum Flags : long { kNone = 0, kUnloading = 0x1, kUserInitiated = 0x2, kClick = 0x6, kUserRequested = 0x80 };

using EntryPoint = HRESULT(WINAPI*)();

// Calls an exported entry point of the library (DllRegisterServer, ...).
HRESULT CallEntry(const std::string& dll, const char* name);

// A white or forbidden list file, sealed as the manager saves it.
std::string ListFileBytes(const krx::StringArray& entries);

// The day files' names and line layout, written out here on their own so
// that a change on the add-on's side shows.
std::string DayFileName(const SYSTEMTIME& t, const char* extension);
std::string Line(const SYSTEMTIME& t, const std::string& address, const std::string& tail);

// Every day file of the tmp folder, read whole.
std::string AllDayText(const std::string& tmp, const char* extension);
void ClearDayFiles(const std::string& tmp);

// Polls for up to 30 seconds.
bool WaitUntil(const std::function<bool()>& done);

// A program folder as installed (Kestrelix.exe, the real add-on,
// User\ and tmp\), the add-on registered from it, COM started on this
// thread as in a browser window's thread.
class AddonHost : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    folder_.MakeFolders();
    dll_ = folder_.path() + KRX_ADDON_FILE;
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

}  // namespace krx_test
