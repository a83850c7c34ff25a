// Every write path of the record store, run once for each file operation it
// makes with that one operation failing as a full disk or a failing device
// makes it fail. After each run every file holds its old bytes or its new
// ones, nothing a day file held is gone unless it was saved, a failure is
// reported as one, and a second run without the fault finishes the job.
// The same source drives the POSIX file layer natively and the Windows one
// under Wine; the password change also meets two faults in one run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <new>
#include <set>
#include <sstream>
#include <streambuf>

#include "core/day_file_marks.h"
#include "core/password_rules.h"
#include "core/record_cipher.h"
#include "core/settings_file.h"
#include "records/export_file.h"
#include "records/fault_driver.h"
#include "records/file_fault_hook.h"
#include "records/file_io.h"
#include "records/password_store.h"
#include "records/record_shutdown.h"
#include "records/record_store.h"
#include "support/test_support.h"
#include "tools/krxtool/krxtool.h"

namespace fs = std::filesystem;
using krx::FileOp;

namespace {

using krx_test::Drive;
using krx_test::Figures;
using krx_test::RunFolder;
using krx_test::WritePath;

std::string Visit(int day, int i) {
  return "<2026-12-0" + std::to_string(day) + " 08:00:" + std::to_string(10 + i) + "> http://v" + std::to_string(i) +
         ".example/ - V";
}

krx::RecordCollections OldRecords() {
  krx::RecordCollections c;
  c[krx::kVisitRecords] = {Visit(1, 1), Visit(1, 2)};
  c[krx::kMediaRecords] = {"<2026-12-01 09:00:00> http://m.example/a.wmv - clip"};
  c[krx::kBlockRecords] = {"<2026-12-01 10:00:00> http://pop.example/ - popup"};
  c[krx::kFlashRecords] = {"<2026-12-01 11:00:00> http://f.example/ - C:\\cache\\a.swf"};
  c[krx::kWhiteList] = {"http://a.example/"};
  c[krx::kForbiddenList] = {"http://bad.example/"};
  return c;
}

krx::RecordCollections NewRecords() {
  krx::RecordCollections c = OldRecords();
  for (auto& list : c.lists) list.push_back(list.front() + " again");
  return c;
}

std::string UserOf(const std::string& root) { return root + "User/"; }
std::string TmpOf(const std::string& root) { return root + "tmp/"; }

void SaveOld(const std::string& root, const std::string& password) {
  fs::create_directories(UserOf(root));
  fs::create_directories(TmpOf(root));
  ASSERT_TRUE(krx::SaveRecordFiles(UserOf(root), password, OldRecords()).empty());
}

// The day files of a session: two visit files (one repeats a saved line),
// one of each other log, and an *.ins file that is never touched.
const std::map<std::string, std::string> kDayFiles = {
    {"a.vis", Visit(1, 1) + "\r\n" + Visit(2, 3) + "\r\n"},
    {"b.vis", Visit(2, 4)},
    {"c.blc", "<2026-12-02 10:00:00> http://pop2.example/ - popup\r\n"},
    {"d.mms", "<2026-12-02 09:00:00> http://m.example/b.wmv - clip\r\n"},
    {"e.fla", "<2026-12-02 11:00:00> http://f.example/ - C:\\cache\\b.swf\r\n"},
    {"f.ins", "install"},
};
const char kLateLine[] = "\r\n<2026-12-02 23:59:59> http://late.example/ - written after the last refresh";
const std::string kDeletedLine = Visit(2, 3);  // came in from a.vis; the user deletes it

krx::RecordCollection LogOf(const std::string& dayFile) {
  const std::string ext = fs::path(dayFile).extension().string();
  return ext == ".vis" ? krx::kVisitRecords : ext == ".blc" ? krx::kBlockRecords
                                            : ext == ".mms" ? krx::kMediaRecords : krx::kFlashRecords;
}

// The next start: the record files, then what the day files left hold
// from their saved marks on.
krx::RecordCollections NextStart(const std::string& root, const std::string& password) {
  krx::RecordCollections c;
  const krx::RecordLoadReport loaded = krx::LoadRecordFiles(UserOf(root), password, c);
  std::array<bool, krx::kRecordCollectionCount> fine{};
  for (int i = 0; i < krx::kRecordCollectionCount; ++i) fine[i] = loaded.outcome[i] == krx::RecordFileOutcome::kLoaded;
  krx::DayFileMerger merger(c);
  merger.UseSavedMarks(UserOf(root), TmpOf(root), fine);
  krx::NoProgress progress;
  merger.MergeAll(TmpOf(root), progress);
  return c;
}

// The next start must show every line the day files held, but for the one
// the user deleted, which must never come back once visit.log was saved.
std::string LostDayLines(const std::string& root, const std::string& password) {
  const krx::RecordCollections saved = NextStart(root, password);
  const krx::StringArray& visits = saved[krx::kVisitRecords];
  krx::StringSink oldVisits;
  krx::WriteRecordFile(oldVisits, krx::SealedCopy(password), OldRecords()[krx::kVisitRecords]);
  if (krx_test::ReadFileBytes(UserOf(root) + "visit.log") != oldVisits.bytes &&
      std::find(visits.begin(), visits.end(), kDeletedLine) != visits.end()) {
    return "a deleted line came back";
  }
  for (const auto& day : kDayFiles) {
    if (day.first == "f.ins") continue;
    std::string text = day.second + (day.first == "b.vis" ? kLateLine : "");
    krx::StringArray lines;
    krx::MergeTarget(lines).MergeDayText(text);
    const krx::StringArray& log = saved[LogOf(day.first)];
    for (const std::string& line : lines) {
      if (line != kDeletedLine && std::find(log.begin(), log.end(), line) == log.end()) return day.first + ": " + line;
    }
  }
  return "";
}

// The manager's close: the session loaded the files and merged the day
// files, the user deleted a line that came from one and added to the white
// list, the add-on wrote one more line.
struct Session {
  krx::RecordCollections collections;
  krx::DayFileMerger merger{collections};
  krx::NoProgress progress;
};

std::shared_ptr<Session> StartSession(const std::string& root) {
  SaveOld(root, "pw");
  for (const auto& day : kDayFiles) krx_test::WriteFileBytes(TmpOf(root) + day.first, day.second);
  auto session = std::make_shared<Session>();
  krx::LoadRecordFiles(UserOf(root), "pw", session->collections);
  session->merger.UseSavedMarks(UserOf(root), TmpOf(root), {true, true, true, true, true, true});
  session->merger.MergeAll(TmpOf(root), session->progress);
  krx::StringArray& visits = session->collections[krx::kVisitRecords];
  visits.erase(std::find(visits.begin(), visits.end(), kDeletedLine));
  session->merger.Invalidate(krx::kVisitRecords);
  session->collections[krx::kWhiteList].push_back("http://added.example/");
  return session;
}

void AddOnWritesLate(const std::string& root) {
  std::FILE* f = std::fopen((TmpOf(root) + "b.vis").c_str(), "ab");
  std::fputs(kLateLine, f);
  std::fclose(f);
}

std::function<bool()> PrepareClose(const std::string& root, bool addOnWritesLate) {
  auto session = StartSession(root);
  if (addOnWritesLate) AddOnWritesLate(root);
  return [session, root] {
    krx::RecordShutdownReport r = krx::SaveRecordsAndDeleteDayFiles(session->merger, session->collections,
                                                                     TmpOf(root), UserOf(root), "pw", session->progress);
    return r.unsaved.empty() && r.dayFilesKept == 0 && r.marksSaved;
  };
}

// The password change; a run after a change that went through has nothing
// left to do. The small folder (one record file of the six) is for every
// two faults in a row: the same steps, a sixth of the runs.
std::function<bool()> PrepareChangePassword(const std::string& root, bool small) {
  if (small) {
    fs::create_directories(UserOf(root));
    krx::SaveRecordFile(UserOf(root) + "white.log", krx::SealedCopy("pw"), OldRecords()[krx::kWhiteList]);
  } else {
    SaveOld(root, "pw");
  }
  krx::WritePasswordFile(UserOf(root), "pw");
  krx::SaveRecordFile(UserOf(root) + "extra.log", krx::SealedCopy("pw"), {"an extra log"});
  krx::SaveRecordFile(UserOf(root) + "other.log", krx::SealedCopy("third"), {"another password's"});
  auto current = std::make_shared<std::string>("pw");
  return [current, root] {
    if (*current == "new") return true;
    krx::NoProgress progress;
    const bool changed = krx::ChangePassword(UserOf(root), *current, "pw", "new", "new", progress) ==
                         krx::PasswordChangeResult::kChanged;
    // What the session goes on with (and the close stamps with) is what the next start asks for.
    EXPECT_TRUE(krx::SealedMatches(krx_test::ReadFileBytes(UserOf(root) + "user.sav"), *current)) << *current;
    return changed;
  };
}

// Every file that had the old stamp must open with the password user.sav
// holds, or the next start drops it.
std::string StampsDisagree(const std::string& root) {
  std::string sealed = krx_test::ReadFileBytes(UserOf(root) + "user.sav");
  const std::string password = krx::SealedMatches(sealed, "new") ? "new" : "pw";
  for (const auto& file : fs::directory_iterator(UserOf(root))) {
    const std::string path = file.path().string();
    if (file.path().extension() != ".log" || file.path().filename() == "other.log") continue;
    std::unique_ptr<krx::FileSource> source = krx::FileSource::Open(path);
    if (!source || krx::ReadRecordFile(*source, password).status != krx::RecordFileStatus::kLoaded) {
      return path + " does not open with user.sav's password";
    }
  }
  return "";
}

// Standard output redirected to a file, through the file layer's seam.
class OutputFile : public std::streambuf {
 public:
  explicit OutputFile(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "wb")) {}
  ~OutputFile() override { std::fclose(file_); }

 protected:
  int_type overflow(int_type c) override {
    if (c == traits_type::eof()) return traits_type::not_eof(c);
    char ch = char(c);
    return Put(&ch, 1) ? c : traits_type::eof();
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override { return Put(s, size_t(n)) ? n : 0; }
  int sync() override {
    return krx::InjectedFileFault(FileOp::kFlush, path_) || std::fflush(file_) != 0 ? -1 : 0;
  }

 private:
  bool Put(const char* s, size_t n) {
    return !krx::InjectedFileFault(FileOp::kWrite, path_) && std::fwrite(s, 1, n, file_) == n;
  }
  std::string path_;
  std::FILE* file_;
};

int RunTool(const std::vector<std::string>& args, const std::string& input, const std::string& outputPath) {
  std::istringstream in(input);
  std::ostringstream err;
  std::ostringstream text;
  std::unique_ptr<OutputFile> file;
  std::streambuf* buffer = text.rdbuf();
  if (!outputPath.empty()) buffer = (file = std::make_unique<OutputFile>(outputPath)).get();
  std::ostream out(buffer);
  return krx::RunKrxTool(args, in, out, err, nullptr, [] { return std::string("12/07/2026 21:30:00"); });
}

const WritePath kWritePaths[] = {
    {"SaveRecordFile (white.log)",
     [](const std::string& root) -> std::function<bool()> {
       SaveOld(root, "pw");
       return [root] {
         return krx::SaveRecordFile(UserOf(root) + "white.log", krx::SealedCopy("pw"), NewRecords()[krx::kWhiteList]);
       };
     }},
    {"SaveRecordFiles (all six)",
     [](const std::string& root) -> std::function<bool()> {
       SaveOld(root, "pw");
       return [root] { return krx::SaveRecordFiles(UserOf(root), "pw", NewRecords()).empty(); };
     }},
    // A late line that the close cannot read stays in its day file for the
    // next start: the log is then saved as the session had it.
    {"LoadRecordFiles, then SaveRecordFiles",
     [](const std::string& root) -> std::function<bool()> {
       SaveOld(root, "pw");
       return [root] {
         krx::RecordCollections c;
         krx::LoadRecordFiles(UserOf(root), "pw", c);
         krx::StringArray& white = c[krx::kWhiteList];
         if (std::find(white.begin(), white.end(), "http://added.example/") == white.end()) {
           white.push_back("http://added.example/");  // as "Add new item" does
         }
         return krx::SaveRecordFiles(UserOf(root), "pw", c).empty();
       };
     }},
    {"SaveRecordsAndDeleteDayFiles (the close)", [](const std::string& root) { return PrepareClose(root, true); },
     [](const std::string& root) { return LostDayLines(root, "pw"); }, {},
     [](const std::string& root) { return PrepareClose(root, false); },
     [](const std::string& name, const std::string& bytes) {
       krx::DayFileMarks marks;
       return name == (fs::path("User") / krx::kDayFileMarksName).string() && krx::ParseDayFileMarks(bytes, marks);
     }},
    {"ChangePassword (user.sav, re-stamping)", [](const std::string& root) { return PrepareChangePassword(root, false); },
     &StampsDisagree},
    {"ChangePassword, two faults (small folder)",
     [](const std::string& root) { return PrepareChangePassword(root, true); }, &StampsDisagree, {}, nullptr, nullptr,
     true},
    {"SubmitLogin (first use writes user.sav)",
     [](const std::string& root) -> std::function<bool()> {
       fs::create_directories(UserOf(root));
       return [root] { return krx::SubmitLogin(UserOf(root), "pw") == krx::LoginResult::kAccepted; };
     }},
    {"WriteSharedFile (KRX.cfg)",
     [](const std::string& root) -> std::function<bool()> {
       fs::create_directories(UserOf(root));
       krx_test::WriteFileBytes(UserOf(root) + "KRX.cfg", krx::SerializeSettings(krx::kDefaultSettings));
       return [root] {
         krx::SettingValues v = krx::kDefaultSettings;
         v[krx::kThemeIndex] = 3;
         return krx::WriteSharedFile(UserOf(root) + "KRX.cfg", krx::SerializeSettings(v));
       };
     }},
    {"krxtool import",
     [](const std::string& root) -> std::function<bool()> {
       SaveOld(root, "pw");
       krx::WritePasswordFile(UserOf(root), "pw");
       return [root] {
         return RunTool({"import", UserOf(root) + "white.log", "--password", "pw"},
                        "http://new1.example/\r\nhttp://a.example/\nhttp://new2.example/", "") == krx::kExitOk;
       };
     }},
    {"krxtool export (to a file)",
     [](const std::string& root) -> std::function<bool()> {
       SaveOld(root, "pw");
       return [root] {
         return RunTool({"export", UserOf(root) + "visit.log", "--password", "pw", "--format", "csv"}, "",
                        root + "visits.csv") == krx::kExitOk;
       };
     },
     nullptr, {"visits.csv"}},
    {"WriteExportFile (the window's export)",
     [](const std::string& root) -> std::function<bool()> {
       SaveOld(root, "pw");
       krx_test::WriteFileBytes(root + "visits.htm", "an older export");
       return [root] {
         krx::ExportRequest request;
         request.format = krx::ExportFormat::kHtml;
         request.name = "Visit log";
         // A title longer than the stream's buffer: the file is written in
         // more than one piece, and a piece may fail after another went out.
         krx::StringArray visits = NewRecords()[krx::kVisitRecords];
         visits.push_back(Visit(3, 1) + std::string(100000, 'T'));
         return krx::WriteExportFile(root + "visits.htm", request, visits);
       };
     }},
};

TEST(FileFaults, EveryWritePathSurvivesEveryFailingFileOperation) {
  for (const WritePath& path : kWritePaths) {
    Figures f = Drive(path);
    EXPECT_GT(f.faultPoints, 0) << path.name;
  }
}

// A start that stops part-way never writes over what it did not load. A
// read that throws (memory ran out in a log of years) keeps its file and
// its log's day files as they are, and the other files load and save; a
// close that comes before the start read anything (the session ends while
// the first notice is up) leaves every file, the marks included, byte for
// byte.
TEST(FileFaults, AReadThatThrowsAndAStartThatReadNothingKeepTheFilesAsTheyAre) {
  struct ThrowAtRead : krx::FileFaultHook {
    std::string file;
    int Before(FileOp op, const std::string& path) override {
      if (op == FileOp::kRead && fs::path(path).filename() == file) throw std::bad_alloc();
      return 0;
    }
  };
  const int kNothingRead = krx::kRecordCollectionCount;
  for (int row = 0; row <= kNothingRead; ++row) {
    RunFolder dir;
    const std::string root = dir.path();
    {
      // A run before this one left its marks.
      auto earlier = StartSession(root);
      ASSERT_TRUE(earlier->merger.SaveMarks(UserOf(root), TmpOf(root), {}));
    }
    std::map<std::string, std::string> before;
    for (const auto& file : fs::directory_iterator(UserOf(root))) {
      before[file.path().filename().string()] = krx_test::ReadFileBytes(file.path().string());
    }
    krx::RecordCollections c;
    c.unreadable.fill(true);  // as the window holds them until they are loaded
    krx::DayFileMerger merger(c);
    krx::NoProgress progress;
    if (row != kNothingRead) {
      ThrowAtRead fault;
      fault.file = krx::kRecordFileNames[row];
      krx::FileFaultHook* previous = krx::SetFileFaultHook(&fault);
      const krx::RecordLoadReport report = krx::LoadRecordFiles(UserOf(root), "pw", c);
      krx::SetFileFaultHook(previous);
      std::array<bool, krx::kRecordCollectionCount> loaded{};
      for (int i = 0; i < krx::kRecordCollectionCount; ++i) {
        EXPECT_EQ(report.outcome[i], i == row ? krx::RecordFileOutcome::kNotRead : krx::RecordFileOutcome::kLoaded)
            << fault.file << ": " << krx::kRecordFileNames[i];
        loaded[i] = report.outcome[i] == krx::RecordFileOutcome::kLoaded;
      }
      merger.UseSavedMarks(UserOf(root), TmpOf(root), loaded);
      merger.MergeAll(TmpOf(root), progress);
    }
    const krx::RecordShutdownReport closed =
        krx::SaveRecordsAndDeleteDayFiles(merger, c, TmpOf(root), UserOf(root), "pw", progress);
    const std::string what = row == kNothingRead ? "nothing read" : krx::kRecordFileNames[row];
    for (const auto& [name, bytes] : before) {
      if (row == kNothingRead || name == krx::kRecordFileNames[row]) {
        EXPECT_EQ(krx_test::ReadFileBytes(UserOf(root) + name), bytes) << what << ": " << name;
      }
    }
    EXPECT_EQ(closed.heldBack.size(), row == kNothingRead ? 6u : 1u) << what;
    // Nothing the files or the day files held is gone at the next start.
    const krx::RecordCollections next = NextStart(root, "pw"), old = OldRecords();
    for (int i = 0; i < krx::kRecordCollectionCount; ++i) {
      for (const std::string& line : old.lists[i]) {
        EXPECT_NE(std::find(next.lists[i].begin(), next.lists[i].end(), line), next.lists[i].end())
            << what << ": " << line;
      }
    }
    const bool visitsKept = row == krx::kVisitRecords || row == kNothingRead;
    EXPECT_EQ(krx::FileExists(TmpOf(root) + "a.vis"), visitsKept) << what;
  }
}

// A file that shrinks while it is read is not read whole, on either
// platform: a caller must not take what came for all of it.
TEST(FileFaults, AFileThatShrinksWhileItIsReadIsNotReadWhole) {
  struct Shrink : krx::FileFaultHook {
    int Before(FileOp op, const std::string& path) override {
      if (op == FileOp::kRead) fs::resize_file(path, 8);
      return 0;
    }
  } shrink;
  RunFolder dir;
  const std::string path = dir.path() + "user.sav";
  krx_test::WriteFileBytes(path, std::string(64, 's'));
  krx::FileFaultHook* previous = krx::SetFileFaultHook(&shrink);
  std::string bytes;
  EXPECT_FALSE(krx::ReadWholeFile(path, bytes));
  krx::SetFileFaultHook(previous);
}

}  // namespace
