// The registry wrapper and the error log, against Wine's real registry and
// the real User\ErrorMsg.txt beside the test program.
#include <windows.h>

#include <gtest/gtest.h>

#include "config/error_log.h"
#include "config/registry_key.h"
#include "config_test_support.h"
#include "support/test_support.h"

using krx::CRegistryKey;
using krx_test::LogWatch;
using krx_test::ScratchKey;

namespace {

bool KeyExists(const std::string& path) { return krx_test::KeyExists(HKEY_CURRENT_USER, path); }
std::pair<DWORD, std::string> ReadValue(const std::string& path, const std::string& name) {
  return krx_test::ReadValue(HKEY_CURRENT_USER, path, name);
}

}  // namespace

TEST(RegistryKey, WritesStringsWithTheirNulAndBinaryWithout) {
  ScratchKey scratch("values");
  LogWatch log;
  CRegistryKey key(HKEY_CURRENT_USER, scratch.path());
  ASSERT_TRUE(key.IsOpen());
  EXPECT_TRUE(key.SetStringValue("Text", "Z:\\pro gram\\"));
  const char path[] = "Z:\\pro gram\\";
  EXPECT_TRUE(key.SetBinaryValue("Raw", path, DWORD(strlen(path))));

  EXPECT_EQ(ReadValue(scratch.path(), "Text"), std::make_pair(DWORD(REG_SZ), std::string("Z:\\pro gram\\", 13)));
  EXPECT_EQ(ReadValue(scratch.path(), "Raw"), std::make_pair(DWORD(REG_BINARY), std::string("Z:\\pro gram\\")));

  EXPECT_TRUE(key.DeleteValue("Text"));
  EXPECT_EQ(ReadValue(scratch.path(), "Text").first, 0u);
  // A value that is not there: FALSE, and nothing logged.
  EXPECT_FALSE(key.DeleteValue("Text"));
  EXPECT_EQ(log.NewText(), "");
}

TEST(RegistryKey, DeleteKeyTreeRemovesThreeNestedLevelsAndOnlyThem) {
  ScratchKey scratch("tree");
  {
    CRegistryKey deep(HKEY_CURRENT_USER, scratch.path() + "\\Button\\One\\Two\\Three");
    ASSERT_TRUE(deep.SetStringValue("v", "deep"));
    CRegistryKey side(HKEY_CURRENT_USER, scratch.path() + "\\Button\\One\\Side");
    ASSERT_TRUE(side.SetStringValue("v", "side"));
    CRegistryKey button(HKEY_CURRENT_USER, scratch.path() + "\\Button");
    ASSERT_TRUE(button.SetStringValue("Exec", "x"));
    CRegistryKey sibling(HKEY_CURRENT_USER, scratch.path() + "\\Sibling");
    ASSERT_TRUE(sibling.IsOpen());
  }
  CRegistryKey parent(HKEY_CURRENT_USER, scratch.path());
  EXPECT_TRUE(parent.DeleteKeyTree("Button"));
  EXPECT_FALSE(KeyExists(scratch.path() + "\\Button"));
  EXPECT_TRUE(KeyExists(scratch.path() + "\\Sibling"));
  EXPECT_TRUE(KeyExists(scratch.path()));
  // Gone already: a silent FALSE.
  EXPECT_FALSE(parent.DeleteKeyTree("Button"));
  EXPECT_FALSE(parent.DeleteKeyTree(""));
  EXPECT_TRUE(KeyExists(scratch.path()));
}

TEST(RegistryKey, AKeyThatCannotBeCreatedLogsOneLineAndLeavesNoHandle) {
  ScratchKey scratch("volatile");
  // A non-volatile key cannot live under a volatile one.
  HKEY parent;
  DWORD disposition;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, scratch.path().c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &parent, &disposition),
            ERROR_SUCCESS);
  RegCloseKey(parent);

  LogWatch log;
  const std::string path = scratch.path() + "\\Extensions\\{5A3C91E2}";
  CRegistryKey key(HKEY_CURRENT_USER, path);
  EXPECT_FALSE(key.IsOpen());
  EXPECT_EQ(log.NewText(), "Can not open registry" + path + ".\r\n");
  // The value operations on it fail; only the binary write says so.
  EXPECT_FALSE(key.SetStringValue("a", "b"));
  EXPECT_FALSE(key.DeleteValue("a"));
  EXPECT_FALSE(key.DeleteKeyTree("a"));
  EXPECT_EQ(log.NewText(), "Can not open registry" + path + ".\r\n");
}

TEST(RegistryKey, TwoFailedBinaryWritesAppendTwoLinesToTheExistingLog) {
  ScratchKey scratch("deleted");
  krx::LogError("an earlier line");
  LogWatch log;
  const std::string before = krx_test::ReadFileBytes(krx::ErrorLogPath());
  ASSERT_GE(before.size(), 2u);

  CRegistryKey key(HKEY_CURRENT_USER, scratch.path());
  ASSERT_TRUE(key.IsOpen());
  // Pull the key away under the open handle: every write through it fails.
  ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, scratch.path().c_str()), ERROR_SUCCESS);
  const char raw[] = {'Z', ':', '\\', 'a', '%', 'd', '\\', '!'};  // no NUL of its own
  EXPECT_FALSE(key.SetBinaryValue("InstallPath", raw, 7));
  EXPECT_FALSE(key.SetBinaryValue("Other", raw, 3));

  const std::string added = log.NewText();
  EXPECT_EQ(added,
            "SetValueEx Failed. Name:InstallPath,Value:Z:\\a%d\\,Err:1018\r\n"
            "SetValueEx Failed. Name:Other,Value:Z:\\,Err:1018\r\n");
  // Appended, never rewritten.
  EXPECT_EQ(krx_test::ReadFileBytes(krx::ErrorLogPath()), before + added);
}

TEST(ErrorLog, ReadyMadeTextIsWrittenAsItStands) {
  LogWatch log;
  krx::LogErrorText("Unable to load Z:\\100%s\\%d%%\\Kestrelix.dll");
  EXPECT_EQ(log.NewText(), "Unable to load Z:\\100%s\\%d%%\\Kestrelix.dll\r\n");
}

TEST(ErrorLog, FormatsLikeWvsprintfAndCutsAt1023Characters) {
  LogWatch log;
  krx::LogError("Name:%s,Err:%d", "x", -5);
  krx::LogErrorText(std::string(3000, 'a'));
  EXPECT_EQ(log.NewText(), "Name:x,Err:-5\r\n" + std::string(1023, 'a') + "\r\n");
}

TEST(ErrorLog, ALogHeldOpenElsewhereLosesTheLine) {
  LogWatch log;
  HANDLE holder = CreateFileA(krx::ErrorLogPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  krx::LogErrorText("lost");
  CloseHandle(holder);
  krx::LogErrorText("kept");
  EXPECT_EQ(log.NewText(), "kept\r\n");
}
