// The six record files on a real disk: load order, stamps, crash-safe saves
// and what happens to a damaged file.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "core/record_cipher.h"
#include "records/file_fault_hook.h"
#include "records/file_io.h"
#include "records/record_store.h"
#include "support/test_support.h"

using krx_test::Bytes;
using krx_test::Hex;
using krx_test::ReadFileBytes;
using krx_test::TempFolder;
using krx_test::WriteFileBytes;

namespace {

krx::RecordCollections Sample() {
  krx::RecordCollections c;
  c[krx::kVisitRecords] = {"<2026-12-07 08:00:00> http://a.example/ - A", "<2026-12-07 08:00:01> http://b.example/ - B"};
  c[krx::kMediaRecords] = {"<2026-12-06 09:00:00> http://m.example/clip.wmv - clip"};
  c[krx::kBlockRecords] = {"<2026-12-05 10:00:00> http://pop.example/ - popup"};
  c[krx::kFlashRecords] = {"<2026-12-05 11:00:00> http://f.example/ - C:\\cache\\movie.swf"};
  c[krx::kWhiteList] = {"http://a.example/"};
  c[krx::kForbiddenList] = {"http://bad.example/"};
  return c;
}

TEST(RecordStore, NoFilesGiveSixEmptyCollectionsAndTheFirstSaveCreatesThem) {
  TempFolder dir;
  krx::RecordCollections c;
  krx::RecordLoadReport report = krx::LoadRecordFiles(dir.path(), "", c);
  for (int i = 0; i < krx::kRecordCollectionCount; ++i) {
    EXPECT_EQ(report.outcome[i], krx::RecordFileOutcome::kMissing);
    EXPECT_TRUE(c.lists[i].empty());
  }
  EXPECT_TRUE(krx::SaveRecordFiles(dir.path(), "", c).empty());
  for (const char* name : krx::kRecordFileNames) {
    EXPECT_EQ(Hex(ReadFileBytes(dir / name)), Hex(Bytes("08") + krx::SealedCopy("") + Bytes("00 00"))) << name;
    EXPECT_FALSE(krx::FileExists(dir / (std::string(name) + ".tmp")));
  }
}

TEST(RecordStore, SaveThenLoadKeepsEveryCollectionInOrder) {
  TempFolder dir;
  krx::RecordCollections saved = Sample();
  ASSERT_TRUE(krx::SaveRecordFiles(dir.path(), "secret", saved).empty());
  EXPECT_EQ(Hex(ReadFileBytes(dir / "white.log")),
            Hex(Bytes("08") + krx::SealedCopy("secret") + Bytes("01 00 11") + "http://a.example/"));
  krx::RecordCollections loaded;
  krx::LoadRecordFiles(dir.path(), "secret", loaded);
  EXPECT_EQ(loaded.lists, saved.lists);
}

TEST(RecordStore, AnotherPasswordsFilesStayUnloadedAndAreReplacedAtTheNextSave) {
  TempFolder dir;
  ASSERT_TRUE(krx::SaveRecordFiles(dir.path(), "A", Sample()).empty());
  krx::RecordCollections c;
  krx::RecordLoadReport report = krx::LoadRecordFiles(dir.path(), "B", c);
  for (int i = 0; i < krx::kRecordCollectionCount; ++i) {
    EXPECT_EQ(report.outcome[i], krx::RecordFileOutcome::kStampMismatch);
    EXPECT_TRUE(c.lists[i].empty());
  }
  c[krx::kWhiteList] = {"http://new.example/"};
  ASSERT_TRUE(krx::SaveRecordFiles(dir.path(), "B", c).empty());
  krx::RecordCollections again;
  krx::LoadRecordFiles(dir.path(), "B", again);
  EXPECT_EQ(again[krx::kWhiteList], krx::StringArray{"http://new.example/"});
  EXPECT_TRUE(again[krx::kVisitRecords].empty());
}

TEST(RecordStore, ADamagedFileKeepsItsWholeRecordsAndACopyOfItsBytes) {
  TempFolder dir;
  ASSERT_TRUE(krx::SaveRecordFiles(dir.path(), "pw", Sample()).empty());
  std::string visit = ReadFileBytes(dir / "visit.log");
  std::string cut = visit.substr(0, visit.size() - 5);  // the second record loses its tail
  WriteFileBytes(dir / "visit.log", cut);

  krx::RecordCollections c;
  krx::RecordLoadReport report = krx::LoadRecordFiles(dir.path(), "pw", c);
  EXPECT_EQ(report.outcome[krx::kVisitRecords], krx::RecordFileOutcome::kDamaged);
  EXPECT_EQ(c[krx::kVisitRecords], krx::StringArray{Sample()[krx::kVisitRecords][0]});
  EXPECT_EQ(c[krx::kMediaRecords], Sample()[krx::kMediaRecords]);  // the next files still load
  ASSERT_EQ(report.damagedCopies.size(), 1u);
  EXPECT_EQ(ReadFileBytes(dir / "visit.log.bad"), cut);

  // A second damage never overwrites the first copy.
  WriteFileBytes(dir / "visit.log", cut.substr(0, 20));
  krx::RecordCollections d;
  report = krx::LoadRecordFiles(dir.path(), "pw", d);
  EXPECT_EQ(ReadFileBytes(dir / "visit.log.bad"), cut);
  EXPECT_EQ(ReadFileBytes(dir / "visit.log.bad2"), cut.substr(0, 20));
}

// A log holding records that cannot be records is damaged inside: the
// others are kept, the bytes copied first; without the copy no save writes
// over it. A list keeps whatever its entries hold.
TEST(RecordStore, ALogWithRecordsThatAreNoRecordsIsDamagedAndNeverSavedOverWithoutItsCopy) {
  struct FailCopies : krx::FileFaultHook {
    bool on = false;
    int Before(krx::FileOp op, const std::string& path) override {
      return on && op == krx::FileOp::kOpen && path.find(".bad") != std::string::npos ? EACCES : 0;
    }
  } faults;
  krx::SetFileFaultHook(&faults);
  for (const bool copyFails : {false, true}) {
    SCOPED_TRACE(copyFails);
    TempFolder dir;
    krx::RecordCollections saved = Sample();
    saved[krx::kBlockRecords] = {"<a 1", std::string("<b\0 2", 5), "\xff\xfe", "<c\t3"};
    saved[krx::kWhiteList] = {"plain", std::string("x\0", 2)};
    ASSERT_TRUE(krx::SaveRecordFiles(dir.path(), "pw", saved).empty());
    const std::string before = ReadFileBytes(dir / "block.log");
    faults.on = copyFails;
    krx::RecordCollections c;
    krx::RecordLoadReport report = krx::LoadRecordFiles(dir.path(), "pw", c);
    faults.on = false;
    EXPECT_EQ(report.outcome[krx::kBlockRecords], krx::RecordFileOutcome::kDamaged);
    EXPECT_EQ(c[krx::kBlockRecords], (krx::StringArray{"<a 1", "<c\t3"}));
    EXPECT_EQ(report.outcome[krx::kWhiteList], krx::RecordFileOutcome::kLoaded);
    EXPECT_EQ(c[krx::kWhiteList], saved[krx::kWhiteList]);
    ASSERT_EQ(report.damagedCopies.size(), 1u);
    EXPECT_EQ(report.damagedCopies[0].empty(), copyFails);
    EXPECT_EQ(c.unreadable[krx::kBlockRecords], copyFails);
    const std::vector<std::string> unsaved = krx::SaveRecordFiles(dir.path(), "pw", c);
    EXPECT_EQ(unsaved, copyFails ? std::vector<std::string>{"block.log"} : std::vector<std::string>{});
    if (copyFails) {
      EXPECT_EQ(ReadFileBytes(dir / "block.log"), before);
    } else {
      EXPECT_EQ(ReadFileBytes(dir / "block.log.bad"), before);
    }
  }
  krx::SetFileFaultHook(nullptr);
}

TEST(RecordStore, AFailedWriteLeavesTheOldFileAsItWas) {
  TempFolder dir;
  ASSERT_TRUE(krx::SaveRecordFiles(dir.path(), "pw", Sample()).empty());
  std::string before = ReadFileBytes(dir / "block.log");
  // A folder standing where the temporary file must go makes the write fail.
  ASSERT_TRUE(std::filesystem::create_directory(dir / "block.log.tmp"));
  krx::RecordCollections changed = Sample();
  changed[krx::kBlockRecords].push_back("<2026-12-07 12:00:00> http://x.example/ - x");
  std::vector<std::string> failed = krx::SaveRecordFiles(dir.path(), "pw", changed);
  EXPECT_EQ(failed, std::vector<std::string>{"block.log"});
  EXPECT_EQ(ReadFileBytes(dir / "block.log"), before);
  krx::RecordCollections loaded;
  krx::LoadRecordFiles(dir.path(), "pw", loaded);
  EXPECT_EQ(loaded[krx::kWhiteList], changed[krx::kWhiteList]);  // the others were written
}

}  // namespace
