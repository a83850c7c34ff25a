// The change-password dialog driven by messages, over a real user folder:
// its controls, its three refusals, and a change that re-stamps the files.
#include <windows.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "core/password_rules.h"
#include "core/record_cipher.h"
#include "dialog_driver.h"
#include "manager/change_pass_dlg.h"
#include "records/file_fault_hook.h"
#include "records/password_store.h"
#include "records/record_store.h"
#include "support/message_box_catcher_win32.h"
#include "skin/wait_window.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"

using krx::CChangePassDlg;
using krx_test::ChildRect;
using krx_test::ReadFileBytes;
using krx_test::SameRect;
using krx_test::TypeText;
using krx_test::WindowText;

namespace {

struct ChangePassTest : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(krx::WritePasswordFile(user.path(), "old"));
    ASSERT_TRUE(krx::SaveRecordFile(user / "visit.log", krx::SealedCopy("old"), visits));
    ASSERT_TRUE(krx::SaveRecordFile(user / "extra.log", krx::SealedCopy("old"), {"x"}));
    ASSERT_TRUE(krx::SaveRecordFile(user / "third.log", krx::SealedCopy("third"), {"y"}));
  }
  INT_PTR Run(const std::function<void(CChangePassDlg&)>& script) {
    CChangePassDlg dlg(current, user.path());
    dlg.SetThemeIndex(6);
    return krx_test::RunModal(dlg, script);
  }
  static void Fill(CChangePassDlg& dlg, const std::string& o, const std::string& n, const std::string& c) {
    dlg.OldEdit().SetWindowText("");
    dlg.NewEdit().SetWindowText("");
    dlg.ConfirmEdit().SetWindowText("");
    TypeText(dlg.OldEdit(), o);
    TypeText(dlg.NewEdit(), n);
    TypeText(dlg.ConfirmEdit(), c);
  }

  krx_test::TempFolder user;
  std::string current = "old";
  krx::StringArray visits{"<12/07/2026 09:00:00> http://a.example/ - A"};
};

TEST_F(ChangePassTest, ControlsSitWhereTheyBelong) {
  Run([&](CChangePassDlg& dlg) {
    EXPECT_EQ(WindowText(dlg), "Kestrelix - ChangePass");
    RECT window = dlg.GetWindowRect();
    EXPECT_EQ(window.right - window.left, 320);
    EXPECT_EQ(window.bottom - window.top, 180);
    const int w = dlg.GetClientRect().right;
    for (const char* label : {"Old password:", "New password:", "Confirm password:"}) {
      HWND l = FindWindowExA(dlg, nullptr, nullptr, label);
      ASSERT_NE(l, nullptr) << label;
      EXPECT_TRUE(GetWindowLongA(l, GWL_STYLE) & SS_RIGHT);
      EXPECT_EQ(ChildRect(l).right, 120);
    }
    const struct {
      UINT id;
      RECT rect;
    } edits[] = {{CChangePassDlg::kOldEditId, {130, 40, w - 20, 61}},
                 {CChangePassDlg::kNewEditId, {130, 70, w - 20, 91}},
                 {CChangePassDlg::kConfirmEditId, {130, 100, w - 20, 121}}};
    for (const auto& e : edits) {
      HWND edit = dlg.GetDlgItem(int(e.id));
      EXPECT_TRUE(SameRect(ChildRect(edit), e.rect)) << e.id;
      EXPECT_TRUE(GetWindowLongA(edit, GWL_STYLE) & ES_PASSWORD);
      EXPECT_TRUE(GetWindowLongA(edit, GWL_STYLE) & ES_AUTOHSCROLL);
      EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 32);
    }
    const struct {
      UINT id;
      const char* text;
      RECT rect;
    } buttons[] = {{1011, "&Help", {w - 235, 140, w - 170, 163}},
                   {IDOK, "&OK", {w - 160, 140, w - 95, 163}},
                   {IDCANCEL, "&Cancel", {w - 85, 140, w - 20, 163}}};
    for (const auto& b : buttons) {
      HWND button = FindWindowExA(dlg, nullptr, nullptr, b.text);  // id 2 is also the caption's close button
      ASSERT_NE(button, nullptr) << b.text;
      EXPECT_EQ(GetDlgCtrlID(button), int(b.id));
      EXPECT_TRUE(SameRect(ChildRect(button), b.rect)) << b.text;
    }
    Fill(dlg, "old", "new", "new");
    krx_test::PumpMessages();
    EXPECT_TRUE(krx_test::SaveScreenshot(dlg, "change_password"));
  });
}

TEST_F(ChangePassTest, ChangingRestampsTheOldPasswordsFilesOnly) {
  const std::string third = ReadFileBytes(user / "third.log");
  EXPECT_EQ(Run([&](CChangePassDlg& dlg) {
              Fill(dlg, "old", "n", "n");
              dlg.SendMessage(WM_COMMAND, IDOK);
            }),
            IDOK);
  // The re-stamping's wait window went with its work: nothing is left on
  // the screen once the dialog has closed.
  EXPECT_FALSE(krx::WaitWindowRunning());
  EXPECT_EQ(krx::WaitWindowHandle(), nullptr);
  EXPECT_EQ(current, "n");
  EXPECT_EQ(ReadFileBytes(user / "user.sav"), krx::SealedCopy("n"));
  krx::RecordCollections loaded;
  krx::LoadRecordFiles(user.path(), "n", loaded);
  EXPECT_EQ(loaded[krx::kVisitRecords], visits);
  EXPECT_EQ(ReadFileBytes(user / "extra.log").substr(1, 8), krx::SealedCopy("n"));
  EXPECT_EQ(ReadFileBytes(user / "third.log"), third);
}

TEST_F(ChangePassTest, RefusalsKeepTheDialogOpenAndChangeNothing) {
  const std::string sav = ReadFileBytes(user / "user.sav"), visit = ReadFileBytes(user / "visit.log");
  krx_test::MessageBoxCatcher boxes;
  Run([&](CChangePassDlg& dlg) {
    Fill(dlg, "OLD", "n", "n");
    dlg.SendMessage(WM_COMMAND, IDOK);
    EXPECT_FALSE(dlg.IsEnding());
    DWORD start = 0, end = 0;
    dlg.OldEdit().SendMessage(EM_GETSEL, WPARAM(&start), LPARAM(&end));
    EXPECT_EQ(end - start, 3u);

    Fill(dlg, "old", "n", "m");
    dlg.SendMessage(WM_COMMAND, IDOK);
    EXPECT_FALSE(dlg.IsEnding());
    EXPECT_EQ(WindowText(dlg.NewEdit()), "");
    EXPECT_EQ(WindowText(dlg.ConfirmEdit()), "");
    EXPECT_EQ(GetFocus(), dlg.NewEdit().m_hWnd);

    // Another program holds a record file: it cannot be re-stamped, so the
    // files already re-stamped and user.sav go back to the old password.
    HANDLE held = CreateFileA((user / "extra.log").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Fill(dlg, "old", "n", "n");
    dlg.SendMessage(WM_COMMAND, IDOK);
    CloseHandle(held);
    EXPECT_FALSE(dlg.IsEnding());

    Fill(dlg, "old", "old", "old");  // the same password: nothing happens, nothing is said
    dlg.SendMessage(WM_COMMAND, IDOK);
    EXPECT_FALSE(dlg.IsEnding());
  });
  EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"Old password input error.", "New password confirmed error.",
                                                      "Record file write failed, the password is not changed."}));
  EXPECT_EQ(current, "old");
  EXPECT_EQ(ReadFileBytes(user / "user.sav"), sav);
  EXPECT_EQ(ReadFileBytes(user / "visit.log"), visit);
}

TEST_F(ChangePassTest, AnEmptyNewPasswordIsAcceptedAndLaterLoginsAreSkipped) {
  EXPECT_EQ(Run([&](CChangePassDlg& dlg) {
              Fill(dlg, "old", "", "");
              dlg.SendMessage(WM_COMMAND, IDOK);
            }),
            IDOK);
  EXPECT_EQ(current, "");
  EXPECT_FALSE(krx::LoginRequired(user.path()));
}

// The disk fills up once the new user.sav is in place: the files can be
// neither re-stamped nor user.sav put back. The new password holds, and
// the dialog says so and ends.
TEST_F(ChangePassTest, AChangeThatCanGoNeitherWaySaysTheNewPasswordHolds) {
  struct FullAfterFirstReplace : krx::FileFaultHook {
    int replaced = 0;
    int Before(krx::FileOp op, const std::string&) override {
      return op == krx::FileOp::kReplace && ++replaced > 1 ? ENOSPC : 0;
    }
  } full;
  krx::FileFaultHook* previous = krx::SetFileFaultHook(&full);
  krx_test::MessageBoxCatcher boxes;
  EXPECT_EQ(Run([&](CChangePassDlg& dlg) {
              Fill(dlg, "old", "n", "n");
              dlg.SendMessage(WM_COMMAND, IDOK);
            }),
            IDOK);
  krx::SetFileFaultHook(previous);
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{krx::kChangedFilesLeftOldText});
  EXPECT_EQ(current, "n");
  EXPECT_EQ(krx::SubmitLogin(user.path(), "n"), krx::LoginResult::kAccepted);
}

}  // namespace
