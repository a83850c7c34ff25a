// Day files in a real tmp folder: the progress range and steps of a merge,
// what counts as a day file, deletion at shutdown, and the shutdown order
// merge - save - delete.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "core/record_cipher.h"
#include "records/day_files.h"
#include "records/file_fault_hook.h"
#include "records/file_io.h"
#include "core/day_file_marks.h"
#include "records/record_shutdown.h"
#include "records/record_store.h"
#include "support/test_support.h"

using krx_test::ProgressLog;
using krx_test::ReadFileBytes;
using krx_test::TempFolder;
using krx_test::WriteFileBytes;

namespace {

void MakeFolder(const std::string& path) { ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)); }

TEST(DayFiles, RangeLeavesOutInsFilesAndEachDayFileIsOneStep) {
  TempFolder tmp;
  WriteFileBytes(tmp / "1.vis", "<12/06/2026 08:00:00> http://a.example/ - A\r\n<12/06/2026 08:00:01> http://b.example/ - B\r\n");
  WriteFileBytes(tmp / "2.vis", "<12/07/2026 09:00:00> http://c.example/ - C");
  WriteFileBytes(tmp / "3.vis", "<12/06/2026 08:00:00> http://a.example/ - A\r\n");
  WriteFileBytes(tmp / "4.blc", "<12/07/2026 09:30:00> http://pop.example/ - http://c.example/\r\n");
  WriteFileBytes(tmp / "5.ins", "x");
  WriteFileBytes(tmp / "6.ins", "y");

  krx::RecordCollections c;
  c[krx::kVisitRecords] = {"<12/05/2026 07:00:00> http://old.example/ - Old"};
  krx::DayFileMerger merger(c);
  krx::StringArray dates{"12/05/2026"};
  ProgressLog log;
  int fills = 0;
  krx::DayFileMergeResult r = merger.MergeDayFiles(tmp.path(), 179, dates, log, [&] { ++fills; });

  EXPECT_TRUE(r.found);
  EXPECT_EQ(r.range, 4);
  EXPECT_EQ(r.recordsAdded, 4u);
  EXPECT_EQ(fills, 1);
  EXPECT_EQ(c[krx::kVisitRecords].size(), 4u);
  EXPECT_EQ(c[krx::kBlockRecords], krx::StringArray{"<12/07/2026 09:30:00> http://pop.example/ - http://c.example/"});
  EXPECT_EQ(c[krx::kVisitRecords][0], "<12/05/2026 07:00:00> http://old.example/ - Old");
  std::vector<std::string> merge(log.calls.begin(), log.calls.begin() + 6);
  EXPECT_EQ(merge, (std::vector<std::string>{"Reading records, please wait... 4", "step 1", "step 2", "step 3",
                                             "step 4", "done"}));
  EXPECT_EQ(log.calls[6], "Reading VisitLog, please wait... 4");
  std::sort(dates.begin() + 1, dates.end());
  EXPECT_EQ(dates, (krx::StringArray{"12/05/2026", "12/06/2026", "12/07/2026"}));

  // A second refresh reads the same files and adds nothing.
  log.calls.clear();
  r = merger.MergeDayFiles(tmp.path(), 179, dates, log, [&] { ++fills; });
  EXPECT_EQ(r.recordsAdded, 0u);
  EXPECT_EQ(dates.size(), 3u);
  EXPECT_EQ(fills, 2);
}

TEST(DayFiles, DayFilesInASubFolderCountInTheRangeButAreNotRead) {
  TempFolder tmp;
  MakeFolder(tmp / "sub");
  WriteFileBytes(tmp / "sub\\a.vis", "<12/07/2026 x> http://a.example/ - A");
  WriteFileBytes(tmp / "sub\\b.blc", "<12/07/2026 x> http://b.example/ - B");
  krx::RecordCollections c;
  krx::DayFileMerger merger(c);
  krx::StringArray dates;
  ProgressLog log;
  int fills = 0;
  krx::DayFileMergeResult r = merger.MergeDayFiles(tmp.path(), 179, dates, log, [&] { ++fills; });
  EXPECT_FALSE(r.found);
  EXPECT_EQ(log.calls, (std::vector<std::string>{"Reading records, please wait... 2", "done"}));
  EXPECT_EQ(fills, 0);
  EXPECT_TRUE(c[krx::kVisitRecords].empty());
  EXPECT_TRUE(dates.empty());
}

TEST(DayFiles, ShortNameMatchesAreNotDayFilesAndAMissingFolderShowsNothing) {
  TempFolder tmp;
  WriteFileBytes(tmp / "a.visx", "<12/07/2026 x> http://x.example/ - not a day file");
  WriteFileBytes(tmp / "b.VIS", "<12/07/2026 y> http://y.example/ - Y");
  krx::RecordCollections c;
  krx::DayFileMerger merger(c);
  ProgressLog log;
  krx::DayFileMergeResult r = merger.MergeAll(tmp.path(), log);
  EXPECT_EQ(r.range, 2);
  EXPECT_EQ(r.filesRead, 1);
  EXPECT_EQ(c[krx::kVisitRecords], krx::StringArray{"<12/07/2026 y> http://y.example/ - Y"});

  log.calls.clear();
  r = merger.MergeAll(tmp / "missing\\", log);
  EXPECT_FALSE(r.found);
  EXPECT_TRUE(log.calls.empty());
}

TEST(DayFiles, CountFilesInTreeCountsFilesAtEveryDepthButNoFolders) {
  TempFolder tmp;
  MakeFolder(tmp / "a");
  MakeFolder(tmp / "a\\b");
  MakeFolder(tmp / "empty");
  WriteFileBytes(tmp / "1.txt", "");
  WriteFileBytes(tmp / "a\\2.vis", "");
  WriteFileBytes(tmp / "a\\b\\3.ins", "");
  WriteFileBytes(tmp / "a\\b\\4", "");
  EXPECT_EQ(krx::CountFilesInTree(tmp.path()), 4);
  EXPECT_EQ(krx::CountFilesInTree(tmp / "a"), 3);  // no trailing backslash
  EXPECT_EQ(krx::CountFilesInTree(""), 0);
  EXPECT_EQ(krx::CountFilesInTree(tmp / "nowhere"), 0);
}

TEST(DayFiles, DeleteDayFilesRemovesReadOnlyDayFilesAndLeavesTheRest) {
  TempFolder tmp;
  for (const char* name : {"a.vis", "b.blc", "c.fla", "d.mms", "e.ins", "f.visx"}) WriteFileBytes(tmp / name, "x");
  MakeFolder(tmp / "sub");
  WriteFileBytes(tmp / "sub\\g.vis", "x");
  ASSERT_TRUE(SetFileAttributesA((tmp / "a.vis").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(krx::DeleteDayFiles(tmp.path()), 4);
  for (const char* gone : {"a.vis", "b.blc", "c.fla", "d.mms"}) EXPECT_FALSE(krx::FileExists(tmp / gone)) << gone;
  for (const char* kept : {"e.ins", "f.visx", "sub\\g.vis"}) EXPECT_TRUE(krx::FileExists(tmp / kept)) << kept;
  EXPECT_FALSE(krx::DeleteFileForced(tmp / "a.vis"));
}

TEST(DayFiles, ShutdownSavesLinesWrittenAfterTheLastRefreshBeforeDeleting) {
  TempFolder program;
  const std::string tmp = program / "tmp\\", user = program / "User\\";
  MakeFolder(tmp);
  MakeFolder(user);
  WriteFileBytes(tmp + "1.vis", "<12/07/2026 09:00:00> http://a.example/ - A\r\n");
  WriteFileBytes(tmp + "2.fla", "<12/07/2026 09:00:05> http://a.example/ - http://a.example/intro.swf\r\n");
  krx::RecordCollections c;
  krx::DayFileMerger merger(c);
  krx::NoProgress quiet;
  merger.MergeAll(tmp, quiet);
  // The add-on goes on writing after the refresh...
  WriteFileBytes(tmp + "1.vis", "<12/07/2026 09:00:00> http://a.example/ - A\r\n<12/07/2026 09:05:00> http://b.example/ - B\r\n");
  // ...and once more while the final merge closes its progress window.
  ProgressLog log;
  log.onDone = [&] { WriteFileBytes(tmp + "3.vis", "<12/07/2026 09:09:00> http://c.example/ - C"); };
  WriteFileBytes(tmp + "3.vis", "");
  krx::RecordShutdownReport report = krx::SaveRecordsAndDeleteDayFiles(merger, c, tmp, user, "pw", log);

  EXPECT_TRUE(report.unsaved.empty());
  krx::RecordCollections loaded;
  krx::LoadRecordFiles(user, "pw", loaded);
  EXPECT_EQ(loaded[krx::kVisitRecords], (krx::StringArray{"<12/07/2026 09:00:00> http://a.example/ - A",
                                                          "<12/07/2026 09:05:00> http://b.example/ - B"}));
  EXPECT_EQ(loaded[krx::kFlashRecords].size(), 1u);
  EXPECT_FALSE(krx::FileExists(tmp + "1.vis"));
  EXPECT_FALSE(krx::FileExists(tmp + "2.fla"));
  EXPECT_TRUE(krx::FileExists(tmp + "3.vis"));  // grew after it was read: kept for the next start
  EXPECT_EQ(report.dayFilesDeleted, 2);
  EXPECT_EQ(report.dayFilesKept, 1);
}

// A writer whose lock wait ran out writes out of turn: here at the moment
// the close has looked at the size and not yet deleted. Its open is
// refused when the close bars writers first; the add-on's retry then
// writes the line after the delete.
class WriterInTheGap : public krx::FileFaultHook {
 public:
  explicit WriterInTheGap(std::string day) : day_(std::move(day)) {}
  int Before(krx::FileOp op, const std::string& path) override {
    if (op != krx::FileOp::kDelete || path != day_ || tried_) return 0;
    tried_ = true;
    refused_ = !AppendOutOfTurn();
    return 0;
  }
  bool AppendOutOfTurn() const {
    HANDLE h = CreateFileA(day_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    WriteFile(h, "B\r\n", 3, &put, nullptr);
    CloseHandle(h);
    return put == 3;
  }
  bool refused() const { return refused_; }

 private:
  std::string day_;
  bool tried_ = false, refused_ = false;
};

// A line the add-on is writing never goes with its file. It holds its lock
// byte while it appends: the close sees the file grown and keeps it. Or it
// opened the file and waits for the lock: the file is kept for the line
// still to come. Or it writes between the close's look and its delete.
TEST(DayFiles, TheCloseKeepsADayFileWhoseLineIsBeingWritten) {
  enum Writer { kLockedFirst, kWaitsForLock, kInTheGap };
  const struct {
    Writer writer;
    const char* what;
    const char* left;  // the day file afterwards
  } rows[] = {
      {kLockedFirst, "the add-on holds the lock", "<12/07/2026 09:00:00> http://a.example/ - A\r\nB\r\n"},
      {kWaitsForLock, "the add-on waits for the lock", "<12/07/2026 09:00:00> http://a.example/ - A\r\nB\r\n"},
      {kInTheGap, "the add-on writes after the size was looked at", "B\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    TempFolder program;
    const std::string tmp = program / "tmp\\", user = program / "User\\", day = tmp + "1.vis";
    MakeFolder(tmp);
    MakeFolder(user);
    WriteFileBytes(day, "<12/07/2026 09:00:00> http://a.example/ - A\r\n");
    krx::RecordCollections c;
    krx::DayFileMerger merger(c);
    krx::NoProgress quiet;
    merger.MergeAll(tmp, quiet);
    if (row.writer == kInTheGap) {
      WriterInTheGap writer(day);
      krx::FileFaultHook* before = krx::SetFileFaultHook(&writer);
      krx::SaveRecordsAndDeleteDayFiles(merger, c, tmp, user, "pw", quiet);
      krx::SetFileFaultHook(before);
      EXPECT_TRUE(writer.refused());
      if (writer.refused()) {
        EXPECT_TRUE(writer.AppendOutOfTurn());
      }
      EXPECT_EQ(krx_test::ReadFileBytes(day), row.left);
      continue;
    }
    HANDLE addOn = CreateFileA(day.c_str(), GENERIC_READ | FILE_APPEND_DATA,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                               nullptr);
    OVERLAPPED at = {};
    at.OffsetHigh = 0x40000000;
    auto append = [&] {
      DWORD put = 0;
      WriteFile(addOn, "B\r\n", 3, &put, nullptr);
      UnlockFileEx(addOn, 0, 1, 0, &at);
      CloseHandle(addOn);
    };
    std::thread writing;
    if (row.writer == kLockedFirst) {
      ASSERT_TRUE(LockFileEx(addOn, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at));
      writing = std::thread([&] {
        Sleep(50);
        append();
      });
    }
    krx::RecordShutdownReport report = krx::SaveRecordsAndDeleteDayFiles(merger, c, tmp, user, "pw", quiet);
    if (row.writer == kLockedFirst) {
      writing.join();
    } else {
      ASSERT_TRUE(LockFileEx(addOn, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at));
      append();
    }
    EXPECT_EQ(report.dayFilesKept, 1);
    EXPECT_EQ(krx_test::ReadFileBytes(day), row.left);
  }
}

TEST(DayFiles, DayFilesStayWhenTheirRecordFileCannotBeSaved) {
  TempFolder program;
  const std::string tmp = program / "tmp\\";
  MakeFolder(tmp);
  WriteFileBytes(tmp + "1.vis", "<12/07/2026 09:00:00> http://a.example/ - A");
  krx::RecordCollections c;
  krx::DayFileMerger merger(c);
  krx::NoProgress quiet;
  krx::RecordShutdownReport report =
      krx::SaveRecordsAndDeleteDayFiles(merger, c, tmp, program / "no such folder\\", "", quiet);
  EXPECT_EQ(report.unsaved.size(), 6u);
  EXPECT_TRUE(krx::FileExists(tmp + "1.vis"));
  EXPECT_EQ(report.dayFilesDeleted, 0);
}

// The add-on's folder for when tmp\ refuses: its day files are merged
// beside tmp\'s (one of the same name too), marked under a name no file
// can have, deleted at the close, and one still growing is continued from
// its mark at the next start.
TEST(DayFiles, TheSpareFolderIsMergedMarkedAndEmptiedLikeTmp) {
  TempFolder program;
  const std::string tmp = program / "tmp\\", user = program / "User\\", spare = program / "low\\";
  for (const std::string& f : {tmp, user, spare}) MakeFolder(f);
  WriteFileBytes(tmp + "1.vis", "<12/07/2026 09:00:00> http://a.example/ - A\r\n");
  WriteFileBytes(spare + "1.vis", "<12/07/2026 09:01:00> http://b.example/ - B\r\n");
  WriteFileBytes(spare + "2.blc", "<12/07/2026 09:02:00> http://c.example/ - http://d.example/\r\n");
  krx::RecordCollections c;
  krx::DayFileMerger merger(c);
  merger.SetSpareFolder(spare);
  ProgressLog log;
  log.steps = false;
  // The add-on writes once more to the low folder while the close merges.
  log.onDone = [&] {
    if (log.calls.size() == 4) {
      WriteFileBytes(spare + "1.vis", "<12/07/2026 09:01:00> http://b.example/ - B\r\n<12/07/2026 09:03:00> x - E\r\n");
    }
  };
  merger.MergeAll(tmp, log);
  EXPECT_EQ(c[krx::kVisitRecords].size(), 2u);
  EXPECT_EQ(c[krx::kBlockRecords].size(), 1u);
  krx::RecordShutdownReport report = krx::SaveRecordsAndDeleteDayFiles(merger, c, tmp, user, "pw", log);
  EXPECT_EQ(log.calls, (std::vector<std::string>{std::string(krx::kReadingRecordsText) + " 3", "done",
                                                 std::string(krx::kReadingRecordsText) + " 3", "done"}));
  EXPECT_EQ(report.dayFilesDeleted, 2);
  EXPECT_EQ(report.dayFilesKept, 1);
  for (const std::string& gone : {tmp + "1.vis", spare + "2.blc"}) EXPECT_FALSE(krx::FileExists(gone)) << gone;
  krx::DayFileMarks marks;
  ASSERT_TRUE(krx::ParseDayFileMarks(ReadFileBytes(user + krx::kDayFileMarksName), marks));
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(marks.begin()->first, std::string(krx::kSpareMarkPrefix) + "1.vis");

  // The next start goes on where the close stopped: the new line only.
  krx::RecordCollections next;
  krx::LoadRecordFiles(user, "pw", next);
  next[krx::kVisitRecords].clear();  // as if the user had deleted every visit
  krx::DayFileMerger again(next);
  again.SetSpareFolder(spare);
  again.UseSavedMarks(user, tmp, {true, true, true, true, true, true});
  krx::NoProgress quiet;
  again.MergeAll(tmp, quiet);
  EXPECT_EQ(next[krx::kVisitRecords], krx::StringArray{"<12/07/2026 09:03:00> x - E"});
}

}  // namespace
