// The real add-on as COM and the browser load it: registered from its
// program folder as a browser helper object and unregistered exactly so,
// created by its class, sited on a browser window (the test's own
// IWebBrowser2) and unsited, after which the library may unload.
#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "addon/addon_host_fixture_win32.h"
#include "addon/test_browser_win32.h"

namespace {

using krx_test::AddonHost;
using krx_test::CallEntry;
using krx_test::EntryPoint;
using krx_test::kAddonClass;
using krx_test::TestBrowser;
using krx_test::WaitUntil;

const char kClassKey[] = "SOFTWARE\\Classes\\CLSID\\{617D30F3-45EB-4A05-91D3-F50D72567345}";
const char kHelpersKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";
const char kHelperKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects\\"
    "{617D30F3-45EB-4A05-91D3-F50D72567345}";

// Tells an enhanced-protected-mode tab that the class may load there.
const char kAppContainerCategory[] = "{59FB2056-D625-48D0-A944-1A85B5AB2640}";

// view: 0 for the process's own view of the registry, or KEY_WOW64_32KEY /
// KEY_WOW64_64KEY.
std::string RegString(const std::string& key, const char* name, REGSAM view = 0) {
  char value[MAX_PATH] = {};
  DWORD size = sizeof value, type = 0;
  HKEY h = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | view, &h) != ERROR_SUCCESS) return "<no key>";
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

TEST_F(AddonHost, RegistersAsABrowserHelperAndUnregistersExactlyThat) {
  EXPECT_EQ(RegString(kClassKey + std::string("\\InprocServer32"), nullptr), dll_);
  EXPECT_EQ(RegString(kClassKey + std::string("\\InprocServer32"), "ThreadingModel"), "Apartment");
  EXPECT_EQ(RegString(kHelperKey, "NoExplorer"), "dword:1");
  EXPECT_TRUE(KeyExists(kClassKey + std::string("\\Implemented Categories\\") + kAppContainerCategory));
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

// The machine a library's PE header names.
WORD MachineOf(const std::string& path) {
  const std::string image = krx_test::ReadFileBytes(path);
  if (image.size() < 0x40) return 0;
  DWORD at = 0;
  memcpy(&at, image.data() + 0x3C, sizeof at);
  if (size_t(at) + 6 > image.size() || image.compare(at, 4, std::string("PE\0\0", 4)) != 0) return 0;
  WORD machine = 0;
  memcpy(&machine, image.data() + at + 4, sizeof machine);
  return machine;
}

// The 64-bit add-on (Kestrelix64.dll) is a 64-bit library, registered in the
// 64-bit view of the registry only: the 32-bit view is the 32-bit add-on's.
TEST_F(AddonHost, IsBuiltAndRegisteredForItsOwnWordSize) {
  const bool wide = sizeof(void*) == 8;
  EXPECT_EQ(MachineOf(dll_), wide ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386);
  EXPECT_EQ(dll_.substr(dll_.rfind('\\') + 1), wide ? "Kestrelix64.dll" : "Kestrelix.dll");
  const std::string inproc = kClassKey + std::string("\\InprocServer32");
  if (!wide) return;  // a 32-bit prefix has one view
  EXPECT_EQ(RegString(inproc, nullptr, KEY_WOW64_64KEY), dll_);
  EXPECT_NE(RegString(inproc, nullptr, KEY_WOW64_32KEY), dll_);
  EXPECT_EQ(RegString(kHelperKey, "NoExplorer", KEY_WOW64_64KEY), "dword:1");
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

}  // namespace
