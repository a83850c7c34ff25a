// Autorun, the toolbar button, the install path and the add-on's
// registration against Wine's registry, with the messages the user sees.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>
#include <sddl.h>

#include "config/config_settings.h"
#include "config/integration.h"
#include "config/registry_key.h"
#include "config_test_support.h"
#include "records/folders.h"
#include "support/message_box_catcher_win32.h"
#include "support/test_support.h"

using krx_test::KeyExists;
using krx_test::LogWatch;
using krx_test::ReadValue;

namespace {

std::pair<DWORD, std::string> Sz(const std::string& text) { return {REG_SZ, text + '\0'}; }

void SetSz(HKEY root, const std::string& path, const std::string& name, const std::string& data) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
  RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), DWORD(data.size() + 1));
  RegCloseKey(key);
}

// A key as a standard user's token sees HKEY_LOCAL_MACHINE: readable, and
// refused (error 5) for every change. Its own access list comes back at
// the end, through the handle opened before the denial.
class DeniedKey {
 public:
  DeniedKey(HKEY root, const std::string& path) {
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr)) return;
    DWORD size = 0;
    RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, nullptr, &size);
    original_.resize(size);
    if (RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, original_.data(), &size)) original_.clear();
    PSECURITY_DESCRIPTOR denied = nullptr;
    // Set value, create sub-key, create link, delete, write DAC and owner
    // denied; reading allowed.
    ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(D;;0xd0026;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1, &denied,
                                                         nullptr);
    RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, denied);
    LocalFree(denied);
  }
  ~DeniedKey() {
    if (!key_) return;
    if (!original_.empty()) RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, original_.data());
    RegCloseKey(key_);
  }
  DeniedKey(const DeniedKey&) = delete;
  DeniedKey& operator=(const DeniedKey&) = delete;

 private:
  HKEY key_ = nullptr;
  std::vector<BYTE> original_;
};

// The error an open for writing of path meets: 5 once it is denied. (Wine
// checks a key's own list when it is opened, not its parent's when a
// sub-key is made: the tests deny the very keys the program writes.)
LONG WriteRefusal(HKEY root, const std::string& path) {
  HKEY key;
  LONG rc = RegOpenKeyExA(root, path.c_str(), 0, KEY_SET_VALUE, &key);
  if (rc == ERROR_SUCCESS) RegCloseKey(key);
  return rc;
}

struct Captured {
  std::vector<std::string> shown;
  krx::AddOnMessage sink() {
    return [this](const std::string& text) { shown.push_back(text); };
  }
};

}  // namespace

TEST(Autorun, FollowsTheSettingAndAMissingValueIsNoError) {
  const std::string exe = krx::ProgramFolder() + "Kestrelix.exe";
  krx::ConfigSettings settings;
  LogWatch log;

  settings.Set(krx::kAutorun, 1);
  settings.ApplyAutorun();
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, krx::kRunKey, "Kestrelix"), Sz("\"" + exe + "\""));

  settings.Set(krx::kAutorun, 0);
  settings.ApplyAutorun();
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, krx::kRunKey, "Kestrelix").first, 0u);
  settings.ApplyAutorun();  // nothing left to delete: silent
  EXPECT_EQ(log.NewText(), "");
}

TEST(ToolbarButton, OverwritesItsSixValuesKeepsOthersAndRemovesTheWholeTreeWhenOff) {
  const std::string key = krx::ToolbarButtonKey();
  const std::string folder = krx::ProgramFolder();
  SHDeleteKeyA(HKEY_LOCAL_MACHINE, krx::kExtensionsKey);
  SetSz(HKEY_LOCAL_MACHINE, key, "Exec", "C:\\old\\Kestrelix.exe");
  SetSz(HKEY_LOCAL_MACHINE, key, "MenuText", "kept");
  SetSz(HKEY_LOCAL_MACHINE, key + "\\Nested\\Deeper", "x", "y");
  LogWatch log;

  krx::ConfigSettings settings;
  settings.Set(krx::kToolbarButton, 1);
  settings.ApplyToolbarButton();
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, key, "ButtonText"), Sz("Kestrelix"));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, key, "CLSID"), Sz("{1FBA04EE-3024-11D2-8F1F-0000F87ABD16}"));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, key, "Default Visible"), Sz("Yes"));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, key, "Exec"), Sz(folder + "Kestrelix.exe"));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, key, "HotIcon"), Sz(folder + "Kestrelix.ico"));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, key, "Icon"), Sz(folder + "Kestrelix.ico"));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, key, "MenuText"), Sz("kept"));

  settings.Set(krx::kToolbarButton, 0);
  settings.ApplyToolbarButton();
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, krx::kExtensionsKey));

  // Off with no Extensions key at all: the parent is made, nothing is logged.
  SHDeleteKeyA(HKEY_LOCAL_MACHINE, krx::kExtensionsKey);
  settings.ApplyToolbarButton();
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, krx::kExtensionsKey));
  EXPECT_EQ(log.NewText(), "");
}

TEST(InstallPath, IsTheProgramFolderAsBinaryWithoutNul) {
  SHDeleteValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Marrowin\\Kestrelix", "InstallPath");
  krx::WriteInstallPath();
  const std::string folder = krx::ProgramFolder();
  ASSERT_EQ(folder.back(), '\\');
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Marrowin\\Kestrelix", "InstallPath"),
            std::make_pair(DWORD(REG_BINARY), folder));
}

TEST(AddOnRegistration, AMissingLibraryIsShownAndLoggedWithItsErrorCode) {
  // The test program's folder holds no Kestrelix.dll: the real path, shown
  // in a real message box.
  const std::string path = krx::ProgramFolder() + "Kestrelix.dll";
  ASSERT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
  LogWatch log;
  int result;
  std::vector<std::string> boxes;
  {
    krx_test::MessageBoxCatcher catcher;
    result = krx::RegisterAddOn(1);
    boxes = catcher.texts();
  }
  const std::string text = "Unable to load " + path + ". Error code:126";
  EXPECT_EQ(result, 0);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find(text), std::string::npos) << boxes[0];
  EXPECT_EQ(log.NewText(), text + "\r\n");

  // Unregistering names no code; a "%" in the path is logged as it stands.
  const std::string odd = krx::ProgramFolder() + "100%d\\Kestrelix.dll";
  Captured captured;
  EXPECT_EQ(krx::CallAddOnEntry(krx::AddOnCall::kUnregister, odd, captured.sink()), 0);
  EXPECT_EQ(captured.shown, std::vector<std::string>{"Unable to load " + odd});
  EXPECT_EQ(log.NewText(), text + "\r\n" + "Unable to load " + odd + "\r\n");
}

TEST(AddOnRegistration, ALibraryWithoutDllUnregisterServerSaysSo) {
  const std::string path = krx::ProgramFolder() + "register_only.dll";
  SetEnvironmentVariableA("KRX_TEST_REGISTER_CALLS", "0");
  LogWatch log;
  Captured captured;

  EXPECT_EQ(krx::CallAddOnEntry(krx::AddOnCall::kRegister, path, captured.sink()), 1);
  char calls[16] = {};
  GetEnvironmentVariableA("KRX_TEST_REGISTER_CALLS", calls, sizeof calls);
  EXPECT_STREQ(calls, "1");
  EXPECT_TRUE(captured.shown.empty());

  EXPECT_EQ(krx::CallAddOnEntry(krx::AddOnCall::kUnregister, path, captured.sink()), 0);
  EXPECT_EQ(captured.shown, std::vector<std::string>{"Dll Unregister error!"});
  EXPECT_EQ(log.NewText(), "Dll Unregister error!\r\n");
  // Unloaded again after each call.
  EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr);
}

TEST(AddOnRegistration, TheStandInRecordsEachCallAndIsUnloadedAfter) {
  const std::string folder = krx::ProgramFolder() + "addon\\";
  const std::string path = folder + "Kestrelix.dll";
  DeleteFileA((folder + "addon-calls.txt").c_str());
  LogWatch log;
  Captured captured;
  EXPECT_EQ(krx::CallAddOnEntry(krx::AddOnCall::kRegister, path, captured.sink()), 1);
  EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr);
  EXPECT_EQ(krx::CallAddOnEntry(krx::AddOnCall::kUnregister, path, captured.sink()), 1);
  EXPECT_EQ(krx_test::ReadFileBytes(folder + "addon-calls.txt"), "DllRegisterServer\r\nDllUnregisterServer\r\n");
  EXPECT_TRUE(captured.shown.empty());
  EXPECT_EQ(log.NewText(), "");
}

// What a standard user meets: HKEY_LOCAL_MACHINE refused. The button goes
// to HKEY_CURRENT_USER instead and leaves both when off; the install path
// is setup's to write; nothing of it is an error for the log.
TEST(StandardUser, TheToolbarButtonFallsBackToTheUserAndLeavesBothWhenOff) {
  const std::string key = krx::ToolbarButtonKey();
  const std::string folder = krx::ProgramFolder();
  struct Row {
    const char* name;
    bool machineRefused;
  } const rows[] = {{"machine key refused", true}, {"machine key allowed, an old user copy", false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
    SHDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    if (!row.machineRefused) SetSz(HKEY_CURRENT_USER, key, "Exec", "C:\\old\\Kestrelix.exe");
    LogWatch log;
    krx::ConfigSettings settings;
    {
      DeniedKey denied(HKEY_LOCAL_MACHINE, row.machineRefused ? key : "Software\\KrxTestUnused");
      if (row.machineRefused) {
        ASSERT_EQ(WriteRefusal(HKEY_LOCAL_MACHINE, key), ERROR_ACCESS_DENIED);
      }
      settings.Set(krx::kToolbarButton, 1);
      settings.ApplyToolbarButton();
      const HKEY written = row.machineRefused ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
      EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, key, "ButtonText").first, row.machineRefused ? 0u : DWORD(REG_SZ));
      EXPECT_EQ(ReadValue(written, key, "ButtonText"), Sz("Kestrelix"));
      EXPECT_EQ(ReadValue(written, key, "CLSID"), Sz("{1FBA04EE-3024-11D2-8F1F-0000F87ABD16}"));
      EXPECT_EQ(ReadValue(written, key, "Default Visible"), Sz("Yes"));
      EXPECT_EQ(ReadValue(written, key, "Exec"), Sz(folder + "Kestrelix.exe"));
      EXPECT_EQ(ReadValue(written, key, "HotIcon"), Sz(folder + "Kestrelix.ico"));
      EXPECT_EQ(ReadValue(written, key, "Icon"), Sz(folder + "Kestrelix.ico"));

      settings.Set(krx::kToolbarButton, 0);
      settings.ApplyToolbarButton();
      EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key));
      // The refused machine key stays as it was (empty here): only its owner may remove it.
      EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, key), row.machineRefused);
    }
    EXPECT_EQ(log.NewText(), "");
  }
  SHDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
  SHDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\KrxTestUnused");
}

TEST(StandardUser, ARefusedInstallPathIsSetupsAndNotLogged) {
  const char* const keyPath = "SOFTWARE\\Marrowin\\Kestrelix";
  SHDeleteValueA(HKEY_LOCAL_MACHINE, keyPath, "InstallPath");
  LogWatch log;
  {
    DeniedKey denied(HKEY_LOCAL_MACHINE, keyPath);
    ASSERT_EQ(WriteRefusal(HKEY_LOCAL_MACHINE, keyPath), ERROR_ACCESS_DENIED);
    krx::WriteInstallPath();
  }
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, keyPath, "InstallPath").first, 0u);
  EXPECT_EQ(log.NewText(), "");
}

// The add-on's entry point ran and answered a refusal: logged with its
// answer, never shown, never counted as done.
TEST(StandardUser, ARefusedRegistrationIsLoggedAndNotClaimed) {
  const std::string path = krx::ProgramFolder() + "register_only.dll";
  struct Row {
    const char* answer;
    int result;
    const char* logged;
  } const rows[] = {
      {"0x80040201", 0,
       "DllRegisterServer answered 0x80040201: the add-on was not registered; it follows the option \"Enable "
       "Kestrelix\" in KRX.cfg.\r\n"},
      {"0x80070005", 0,
       "DllRegisterServer answered 0x80070005: the add-on was not registered; it follows the option \"Enable "
       "Kestrelix\" in KRX.cfg.\r\n"},
      {"0", 1, ""},
      {"1", 1, ""},  // S_FALSE is a success
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.answer);
    SetEnvironmentVariableA("KRX_TEST_REGISTER_RESULT", row.answer);
    LogWatch log;
    Captured captured;
    EXPECT_EQ(krx::CallAddOnEntry(krx::AddOnCall::kRegister, path, captured.sink()), row.result);
    EXPECT_TRUE(captured.shown.empty());
    EXPECT_EQ(log.NewText(), row.logged);
  }
  SetEnvironmentVariableA("KRX_TEST_REGISTER_RESULT", nullptr);
}
