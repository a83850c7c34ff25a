// The real krxtool binary against the failures a shell hands it: standard
// output on a full device, standard input that cannot be read.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

#include "core/record_cipher.h"
#include "records/file_io.h"
#include "records/record_store.h"
#include "support/test_support.h"

namespace {

int Shell(const std::string& command) {
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(KrxToolBinary, FullDiskAndUnreadableInputFailLoudly) {
  krx_test::TempFolder dir;
  const std::string file = dir / "visit.log";
  ASSERT_TRUE(krx::SaveRecordFile(file, krx::SealedCopy(""), {"<d 1> http://a.example/ - A"}));
  const std::string before = krx_test::ReadFileBytes(file);
  const std::string tool = std::string("'") + KRX_KRXTOOL_EXE + "' ";
  EXPECT_EQ(Shell(tool + "export '" + file + "' --password '' >/dev/full 2>/dev/null"), 2);
  EXPECT_EQ(Shell(tool + "--help >/dev/full"), 2);
  // A folder opens for reading but every read of it fails.
  EXPECT_EQ(Shell(tool + "import '" + file + "' --password '' <'" + dir.path() + "' >/dev/null 2>&1"), 2);
  EXPECT_EQ(krx_test::ReadFileBytes(file), before);
  EXPECT_EQ(Shell("printf 'http://b.example/\\n' | " + tool + "import '" + file + "' --password '' >/dev/null"), 0);
}

}  // namespace
