// A disk that fills up in the middle of a save (native only: /dev/full).
#include <gtest/gtest.h>
#include <unistd.h>

#include "records/record_store.h"
#include "support/test_support.h"

namespace {

TEST(RecordStoreDiskFull, AWriteThatFailsMidwayKeepsTheOldFile) {
  krx_test::TempFolder dir;
  krx::RecordCollections c;
  c[krx::kVisitRecords] = {"<2026-12-07 08:00:00> http://a.example/ - A"};
  ASSERT_TRUE(krx::SaveRecordFiles(dir.path(), "", c).empty());
  std::string before = krx_test::ReadFileBytes(dir / "visit.log");
  // The temporary file lands on a device that is always full.
  ASSERT_EQ(0, symlink("/dev/full", (dir / "visit.log.tmp").c_str()));
  c[krx::kVisitRecords].assign(10000, std::string(100, 'v'));
  EXPECT_EQ(krx::SaveRecordFiles(dir.path(), "", c), std::vector<std::string>{"visit.log"});
  EXPECT_EQ(krx_test::ReadFileBytes(dir / "visit.log"), before);
}

}  // namespace
