// KRX.cfg byte for byte: what a new object writes, how short and long
// files are read, and that a save never leaves a half-written file.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include "config/config_settings.h"
#include "config_test_support.h"
#include "core/integration_entries.h"
#include "support/test_support.h"

using krx_test::ReadFileBytes;
using krx_test::WriteFileBytes;

namespace {

std::string Ints(std::initializer_list<int32_t> values) {
  std::string out;
  for (int32_t v : values)
    for (int b = 0; b < 4; ++b) out.push_back(char(uint32_t(v) >> (8 * b)));
  return out;
}

const std::string kDefaultBytes = Ints({1, 1, 1, 1, 120, 120, 17, 1, 1, 1, 1, 0, 0, 0, 620, 420, 1, 179, 1, 1, 1, 1,
                                        1, 0, 1});

}  // namespace

TEST(ConfigFile, ANewObjectSavesTheDefaultsAsHundredBytes) {
  krx_test::TempFolder folder;
  krx::ConfigSettings settings;
  settings.SetConfigPath(folder / "KRX.cfg");
  settings.SaveConfig();
  EXPECT_EQ(ReadFileBytes(folder / "KRX.cfg"), kDefaultBytes);
  // Written beside and moved into place: nothing else is left behind.
  EXPECT_EQ(GetFileAttributesA((folder / "KRX.cfg.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(ConfigFile, FirstUseWritesWhatTheObjectHolds) {
  krx_test::TempFolder folder;
  krx::ConfigSettings settings;
  settings.SetConfigPath(folder / "KRX.cfg");
  settings.Set(krx::kThemeIndex, 6);
  settings.LoadConfig();
  EXPECT_EQ(settings.Get(krx::kThemeIndex), 6);
  std::string expected = kDefaultBytes;
  expected[36] = 6;
  EXPECT_EQ(ReadFileBytes(folder / "KRX.cfg"), expected);
}

TEST(ConfigFile, AShortFileKeepsWhatItHoldsAndIsRewrittenInFull) {
  krx_test::TempFolder folder;
  const std::string path = folder / "KRX.cfg";
  // Two whole values and half of a third.
  WriteFileBytes(path, Ints({0, 0}) + std::string("\x07\x00", 2));
  krx::ConfigSettings settings;
  settings.SetConfigPath(path);
  settings.Set(krx::kLastView, 183);  // held before loading: kept for the missing part
  settings.LoadConfig();
  EXPECT_EQ(settings.Get(krx::kPopupBlocking), 0);
  EXPECT_EQ(settings.Get(krx::kBlockLog), 0);
  EXPECT_EQ(settings.Get(krx::kVisitLog), 1);
  std::string expected = Ints({0, 0}) + kDefaultBytes.substr(8);
  expected[68] = char(183);
  EXPECT_EQ(ReadFileBytes(path), expected);
}

TEST(ConfigFile, ExtraBytesAreIgnoredAndDroppedAtTheNextSaveOddValuesKept) {
  krx_test::TempFolder folder;
  const std::string path = folder / "KRX.cfg";
  std::string content = kDefaultBytes;
  content.replace(16, 4, Ints({121}));      // a flash key of no list entry
  content.replace(36, 4, Ints({-3}));       // no such theme
  content.replace(48, 4, Ints({0x12345678}));  // the spare value, carried as it is
  WriteFileBytes(path, content + "\xAA\xBB\xCC\xDD");
  krx::ConfigSettings settings;
  settings.SetConfigPath(path);
  settings.LoadConfig();
  EXPECT_EQ(settings.Get(krx::kFlashKey), 121);
  EXPECT_EQ(settings.Get(krx::kThemeIndex), -3);
  EXPECT_EQ(ReadFileBytes(path).size(), 104u);  // a full file is not rewritten at load
  settings.SaveConfig();
  EXPECT_EQ(ReadFileBytes(path), content);
}

TEST(ConfigFile, AFileHeldByAReaderIsNeverLeftHalfWritten) {
  krx_test::TempFolder folder;
  const std::string path = folder / "KRX.cfg";
  WriteFileBytes(path, kDefaultBytes);
  krx::ConfigSettings settings;
  settings.SetConfigPath(path);
  settings.Set(krx::kAutorun, 0);
  {
    // The add-on reading the file at that moment: the replace cannot
    // happen, so the old file stays whole and the save is skipped.
    HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    settings.SaveConfig();
    CloseHandle(reader);
  }
  EXPECT_EQ(ReadFileBytes(path), kDefaultBytes);
  EXPECT_EQ(GetFileAttributesA((path + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
  settings.SaveConfig();
  EXPECT_EQ(ReadFileBytes(path)[40], 0);

  // A folder that does not exist: silently nothing.
  settings.SetConfigPath(folder / "missing\\KRX.cfg");
  settings.SaveConfig();
  EXPECT_EQ(GetFileAttributesA((folder / "missing").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(ConfigFile, AFileHeldExclusivelyAtLoadIsNeitherReadNorOverwritten) {
  krx_test::TempFolder folder;
  const std::string path = folder / "KRX.cfg";
  std::string content = kDefaultBytes;
  content[40] = 0;  // autorun off
  WriteFileBytes(path, content);
  krx::ConfigSettings settings;
  settings.SetConfigPath(path);
  HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  settings.LoadConfig();
  CloseHandle(holder);
  // The user's file is not replaced by defaults just because it was busy.
  EXPECT_EQ(ReadFileBytes(path), content);
  EXPECT_EQ(settings.Get(krx::kAutorun), 1);
  settings.LoadConfig();
  EXPECT_EQ(settings.Get(krx::kAutorun), 0);
}

TEST(ConfigFile, AReaderThatSharesWritingStillGetsTheNewOptions) {
  krx_test::TempFolder folder;
  const std::string path = folder / "KRX.cfg";
  WriteFileBytes(path, kDefaultBytes + "tail");  // 104 bytes: the rewrite drops the last 4
  krx::ConfigSettings settings;
  settings.SetConfigPath(path);
  settings.Set(krx::kAutorun, 0);
  // The add-on holding the file open the way readers usually do: it lets
  // others read and write, but not rename over it.
  HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  settings.SaveConfig();
  std::string seen(128, '\0');
  DWORD got = 0;
  ReadFile(reader, &seen[0], DWORD(seen.size()), &got, nullptr);
  CloseHandle(reader);
  std::string expected = kDefaultBytes;
  expected[40] = 0;
  EXPECT_EQ(seen.substr(0, got), expected);  // what the reader itself reads next
  EXPECT_EQ(ReadFileBytes(path), expected);
  EXPECT_EQ(GetFileAttributesA((path + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(ConfigFile, AFileThatCouldNotBeReadIsNeitherAppliedNorOverwrittenAtExit) {
  krx_test::TempFolder folder;
  const std::string path = folder / "KRX.cfg";
  std::string content = kDefaultBytes;
  content[40] = 0;  // the user turned autorun off
  content[72] = 0;  // and the toolbar button
  WriteFileBytes(path, content);
  SHDeleteValueA(HKEY_CURRENT_USER, krx::kRunKey, krx::kAutorunValueName);
  SHDeleteKeyA(HKEY_LOCAL_MACHINE, krx::ToolbarButtonKey().c_str());

  krx::ConfigSettings settings;
  settings.SetConfigPath(path);
  HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  settings.LoadAndApply();
  CloseHandle(holder);
  // The defaults in memory say "on" for both; the user's file says "off".
  EXPECT_EQ(krx_test::ReadValue(HKEY_CURRENT_USER, krx::kRunKey, krx::kAutorunValueName).first, 0u);
  EXPECT_FALSE(krx_test::KeyExists(HKEY_LOCAL_MACHINE, krx::ToolbarButtonKey()));

  settings.SaveConfig();  // what the manager does at exit
  EXPECT_EQ(ReadFileBytes(path), content);

  // Once the file reads, saving works again.
  settings.LoadConfig();
  settings.Set(krx::kThemeIndex, 3);
  settings.SaveConfig();
  content[36] = 3;
  EXPECT_EQ(ReadFileBytes(path), content);
}
