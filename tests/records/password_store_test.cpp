// user.sav and the record files on a real disk: the start-up check, the
// login's check and first use, and the password change with re-stamping.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/password_rules.h"
#include "core/record_cipher.h"
#include "records/file_io.h"
#include "records/password_store.h"
#include "records/record_store.h"
#include "support/test_support.h"

using krx::LoginResult;
using krx::PasswordChangeResult;
using krx_test::Bytes;
using krx_test::Hex;
using krx_test::ProgressLog;
using krx_test::ReadFileBytes;
using krx_test::TempFolder;
using krx_test::WriteFileBytes;

namespace {

TEST(PasswordStore, FirstUseCreatesTheSealedFileAndLaterLoginsCompareExactly) {
  TempFolder user;
  EXPECT_TRUE(krx::IsFirstUse(user.path()));
  EXPECT_TRUE(krx::LoginRequired(user.path()));
  EXPECT_EQ(krx::SubmitLogin(user.path(), "abc"), LoginResult::kAccepted);
  EXPECT_EQ(Hex(ReadFileBytes(user / "user.sav")), Hex(krx::SealedCopy("abc")));
  EXPECT_EQ(ReadFileBytes(user / "user.sav").size(), 8u);
  EXPECT_FALSE(krx::FileExists(user / "user.sav.tmp"));

  EXPECT_FALSE(krx::IsFirstUse(user.path()));
  EXPECT_TRUE(krx::LoginRequired(user.path()));
  EXPECT_EQ(krx::SubmitLogin(user.path(), "ABC"), LoginResult::kIncorrect);
  EXPECT_EQ(krx::SubmitLogin(user.path(), "ab"), LoginResult::kIncorrect);
  EXPECT_EQ(krx::SubmitLogin(user.path(), "abc"), LoginResult::kAccepted);
}

TEST(PasswordStore, SevenAnd32CharacterPasswordsAndTheEmptyOne) {
  for (std::string pw : {"1234567", "abcdefghijklmnopqrstuvwxyz012345"}) {
    TempFolder user;
    ASSERT_EQ(krx::SubmitLogin(user.path(), pw), LoginResult::kAccepted);
    EXPECT_EQ(krx::SubmitLogin(user.path(), pw), LoginResult::kAccepted) << pw;
  }
  TempFolder user;
  ASSERT_EQ(krx::SubmitLogin(user.path(), ""), LoginResult::kAccepted);
  EXPECT_EQ(ReadFileBytes(user / "user.sav").size(), 8u);
  EXPECT_FALSE(krx::LoginRequired(user.path()));
}

TEST(PasswordStore, AFileThatCannotBeReadLetsNobodyIn) {
  TempFolder user;
  std::filesystem::create_directory(user / "user.sav");  // there, but no file to read
  EXPECT_FALSE(krx::IsFirstUse(user.path()));
  EXPECT_TRUE(krx::LoginRequired(user.path()));
  EXPECT_EQ(krx::SubmitLogin(user.path(), ""), LoginResult::kUnreadable);
  EXPECT_EQ(krx::SubmitLogin(user.path(), "abc"), LoginResult::kUnreadable);
}

TEST(PasswordStore, DamagedFilesMatchNoPassword) {
  TempFolder user;
  {
    krx_test::ParameterErrorCounter errors;
    WriteFileBytes(user / "user.sav", "12345");
    EXPECT_TRUE(krx::LoginRequired(user.path()));
    EXPECT_EQ(krx::SubmitLogin(user.path(), "12345"), LoginResult::kIncorrect);
    EXPECT_EQ(errors.count(), 2);
  }
  // Deleting it goes back to first use.
  std::filesystem::remove(user / "user.sav");
  EXPECT_EQ(krx::SubmitLogin(user.path(), "new"), LoginResult::kAccepted);
  EXPECT_EQ(krx::SubmitLogin(user.path(), "new"), LoginResult::kAccepted);
}

// A zero-length user.sav lost its sealed password, but every record file
// still opens with a sealed copy of it (its stamp): that copy guards the
// login, and the accepted password is written back to user.sav. With no
// record file there is nothing to guard and nothing to lose: first use.
TEST(PasswordStore, AZeroLengthFileFallsBackToTheRecordFilesStamp) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;  // record file, stamp
    bool firstUse, loginRequired;
    std::string wrong, right;
  } cases[] = {
      {"no record files", {}, true, true, "", "new"},
      {"visit log under abc", {{"visit.log", krx::SealedCopy("abc")}}, false, true, "ABC", "abc"},
      // An unusable stamp is passed over for the next file's.
      {"forbid list under abc",
       {{"visit.log", "12345"}, {"media.log", ""}, {"forbid.log", krx::SealedCopy("abc")}},
       false, true, "", "abc"},
      {"empty password", {{"white.log", krx::SealedCopy("")}}, false, false, "x", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    krx_test::ParameterErrorCounter errors;
    TempFolder user;
    WriteFileBytes(user / "user.sav", "");
    for (const auto& f : c.files) ASSERT_TRUE(krx::SaveRecordFile(user / f.first, f.second, {"<r> kept"}));
    EXPECT_EQ(krx::IsFirstUse(user.path()), c.firstUse);
    EXPECT_EQ(krx::LoginRequired(user.path()), c.loginRequired);
    if (!c.firstUse) {
      EXPECT_EQ(krx::SubmitLogin(user.path(), c.wrong), LoginResult::kIncorrect);
    }
    EXPECT_EQ(ReadFileBytes(user / "user.sav"), "");  // a wrong password repairs nothing
    EXPECT_EQ(krx::SubmitLogin(user.path(), c.right), LoginResult::kAccepted);
    EXPECT_EQ(Hex(ReadFileBytes(user / "user.sav")), Hex(krx::SealedCopy(c.right)));
    EXPECT_EQ(errors.count(), 0);  // the unusable stamps are passed over quietly
    // The records stay readable under the password that was accepted.
    size_t stamped = 0, loadedCount = 0;
    for (const auto& f : c.files) stamped += f.second == krx::SealedCopy(c.right);
    krx::RecordCollections loaded;
    krx::LoadRecordFiles(user.path(), c.right, loaded);
    for (const auto& list : loaded.lists) loadedCount += list.size();
    EXPECT_EQ(loadedCount, stamped);
  }
}

TEST(PasswordStore, FirstUseThatCannotWriteSaysSo) {
  TempFolder dir;
  EXPECT_EQ(krx::SubmitLogin(dir / "missing" + "/", "abc"), LoginResult::kCreateFailed);
}

// A user folder as a password change finds it.
struct ChangeFixture : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(krx::WritePasswordFile(user.path(), "old password"));  // 12 characters: a 16-byte stamp
    const std::string stamp = krx::SealedCopy("old password");
    ASSERT_TRUE(krx::SaveRecordFile(user / "visit.log", stamp, visits));
    ASSERT_TRUE(krx::SaveRecordFile(user / "white.log", stamp, {"http://a.example/"}));
    ASSERT_TRUE(krx::SaveRecordFile(user / "notes.log", stamp, {"kept by hand"}));
    ASSERT_TRUE(krx::SaveRecordFile(user / "third.log", krx::SealedCopy("third"), {"not ours"}));
    ASSERT_TRUE(krx::SaveRecordFile(user / "cut.log", stamp, visits));
    std::string cut = ReadFileBytes(user / "cut.log");
    WriteFileBytes(user / "cut.log", cut.substr(0, cut.size() - 5));  // ends inside its last record
    WriteFileBytes(user / "other.txt", ReadFileBytes(user / "white.log"));
    before["third.log"] = ReadFileBytes(user / "third.log");
    before["cut.log"] = ReadFileBytes(user / "cut.log");
    before["other.txt"] = ReadFileBytes(user / "other.txt");
  }
  std::string Change(const std::string& o, const std::string& n, const std::string& c, PasswordChangeResult expect) {
    EXPECT_EQ(krx::ChangePassword(user.path(), current, o, n, c, progress, &report), expect);
    return current;
  }
  TempFolder user;
  std::string current = "old password";
  krx::StringArray visits{"<12/07/2026 09:00:00> http://a.example/ - A", "<12/07/2026 09:01:00> http://b.example/ - B"};
  std::map<std::string, std::string> before;
  ProgressLog progress;
  krx::RestampReport report;
};

TEST_F(ChangeFixture, RestampsEveryLogFileWithTheOldStampAndNothingElse) {
  EXPECT_EQ(Change("old password", "n", "n", PasswordChangeResult::kChanged), "n");
  EXPECT_EQ(Hex(ReadFileBytes(user / "user.sav")), Hex(krx::SealedCopy("n")));
  // A shorter stamp: the files are rewritten whole, no stale bytes after the records.
  EXPECT_EQ(Hex(ReadFileBytes(user / "notes.log")), Hex(Bytes("08") + krx::SealedCopy("n") + Bytes("01 00 0C") + "kept by hand"));
  krx::RecordCollections loaded;
  krx::LoadRecordFiles(user.path(), "n", loaded);
  EXPECT_EQ(loaded[krx::kVisitRecords], visits);
  EXPECT_EQ(loaded[krx::kWhiteList], krx::StringArray{"http://a.example/"});
  for (const auto& [name, bytes] : before) EXPECT_EQ(ReadFileBytes(user / name), bytes) << name;
  EXPECT_EQ(report.files, 5);
  EXPECT_EQ(report.restamped, 3);
  EXPECT_EQ(report.otherStamp, 1);
  EXPECT_EQ(report.leftUntouched, 1);
  EXPECT_EQ(progress.calls, (std::vector<std::string>{"Updating record, please wait... 5", "step 1", "step 2", "step 3",
                                                      "step 4", "step 5", "done"}));
  EXPECT_TRUE(krx::LoginRequired(user.path()));
  EXPECT_EQ(krx::SubmitLogin(user.path(), "old password"), LoginResult::kIncorrect);
  EXPECT_EQ(krx::SubmitLogin(user.path(), "n"), LoginResult::kAccepted);
}

TEST_F(ChangeFixture, WrongOldMismatchedConfirmAndAnUnchangedPasswordChangeNothing) {
  const std::string visit = ReadFileBytes(user / "visit.log"), sav = ReadFileBytes(user / "user.sav");
  EXPECT_EQ(Change("Old password", "n", "n", PasswordChangeResult::kOldPasswordWrong), "old password");
  EXPECT_EQ(Change("old password", "n", "m", PasswordChangeResult::kConfirmMismatch), "old password");
  EXPECT_EQ(Change("old password", "old password", "old password", PasswordChangeResult::kUnchanged), "old password");
  EXPECT_TRUE(progress.calls.empty());
  EXPECT_EQ(ReadFileBytes(user / "visit.log"), visit);
  EXPECT_EQ(ReadFileBytes(user / "user.sav"), sav);
}

TEST_F(ChangeFixture, AnEmptyNewPasswordSkipsLaterLogins) {
  EXPECT_EQ(Change("old password", "", "", PasswordChangeResult::kChanged), "");
  EXPECT_FALSE(krx::LoginRequired(user.path()));
  krx::RecordCollections loaded;
  krx::LoadRecordFiles(user.path(), "", loaded);
  EXPECT_EQ(loaded[krx::kVisitRecords], visits);
}

TEST_F(ChangeFixture, WithoutANewUserFileTheOldPasswordAndStampsStay) {
  std::filesystem::remove(user / "user.sav");
  std::filesystem::create_directory(user / "user.sav");  // cannot be replaced by a file
  const std::string visit = ReadFileBytes(user / "visit.log");
  EXPECT_EQ(Change("old password", "n", "n", PasswordChangeResult::kUserFileNotWritten), "old password");
  EXPECT_EQ(ReadFileBytes(user / "visit.log"), visit);
  EXPECT_TRUE(progress.calls.empty());
}

}  // namespace
