// The user folder's creation and the two texts that go through the plain
// system message box, seen as a user sees them.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/record_cipher.h"
#include "records/folders.h"
#include "records/plain_message_box.h"
#include "support/box_watcher_win32.h"
#include "support/test_support.h"

namespace {

bool IsFolder(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(CreateFolderPath, CreatesEveryMissingFolderSilently) {
  krx_test::TempFolder dir;
  krx_test::MessageBoxWatcher boxes(krx::kProductName);
  std::string deep = dir.path() + "a\\b c\\User";
  EXPECT_TRUE(krx::CreateFolderPath(deep, nullptr));
  EXPECT_TRUE(IsFolder(dir.path() + "a\\b c\\User"));
  EXPECT_TRUE(krx::CreateFolderPath(deep + "\\", nullptr));  // all there: nothing to do
  EXPECT_TRUE(boxes.Seen().empty());
}

TEST(CreateFolderPath, AFileInTheWayIsAFailureNamingThatFolder) {
  // A file where a folder must go: creating the folder answers "already
  // exists", which is no folder at all. The walk stops at that name.
  for (const std::string below : {"User\\tmp\\", "User"}) {
    krx_test::TempFolder dir;
    krx_test::WriteFileBytes(dir.path() + "User", "not a folder");
    std::vector<krx_test::SeenBox> seen;
    {
      krx_test::MessageBoxWatcher boxes(krx::kProductName);
      EXPECT_FALSE(krx::CreateFolderPath(dir.path() + below, nullptr)) << below;
      seen = boxes.Seen();
    }
    ASSERT_EQ(seen.size(), 1u) << below;
    EXPECT_EQ(seen[0].text, dir.path() + "User\\ directory create error.");
  }
}

TEST(PlainMessageBox, ParameterErrorShowsTheProgramsBox) {
  krx::InstallParameterErrorBox();
  std::vector<krx_test::SeenBox> seen;
  {
    krx_test::MessageBoxWatcher boxes(krx::kProductName);
    std::string twelve(12, 'x');
    EXPECT_EQ(krx::UnsealString(twelve, twelve.size()), -1);
    seen = boxes.Seen();
  }
  krx::SetParameterErrorReporter(nullptr);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "parameter error");
  EXPECT_TRUE(seen[0].ownerMatches);  // no owner window
}

TEST(ProgramFolder, IsTheExecutablesFolder) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = krx::ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  EXPECT_EQ(std::string(path).rfind(folder, 0), 0u);
  EXPECT_EQ(krx::UserFolder(), folder + "User\\");
  EXPECT_EQ(krx::TmpFolder(), folder + "tmp\\");
}

}  // namespace
