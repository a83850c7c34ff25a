// The login dialog driven the way a user drives it: typed characters, OK,
// Cancel, and the message boxes it answers with.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "config/html_help.h"
#include "dialog_driver.h"
#include "manager/change_pass_dlg.h"
#include "manager/login_dlg.h"
#include "records/file_io.h"
#include "records/password_store.h"
#include "support/message_box_catcher_win32.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"

using krx::CLoginDlg;
using krx_test::ChildRect;
using krx_test::ReadFileBytes;
using krx_test::SameRect;
using krx_test::TypeText;
using krx_test::WindowText;

namespace {

struct LoginTest : ::testing::Test {
  // Runs the dialog modally; script runs inside its loop once it is up.
  INT_PTR Run(const std::function<void(CLoginDlg&)>& script) {
    CLoginDlg dlg(current, user.path());
    dlg.SetThemeIndex(3);
    return krx_test::RunModal(dlg, script);
  }
  void Ok(CLoginDlg& dlg) { dlg.SendMessage(WM_COMMAND, IDOK); }
  void Type(CLoginDlg& dlg, const std::string& text) {
    dlg.PasswordEdit().SetWindowText("");
    TypeText(dlg.PasswordEdit(), text);
  }

  krx_test::TempFolder user;
  std::string current = "unchanged";
};

TEST_F(LoginTest, FirstUseAsksForANewPasswordAndSealsIt) {
  EXPECT_EQ(Run([&](CLoginDlg& dlg) {
              EXPECT_TRUE(dlg.IsFirstUseMode());
              EXPECT_EQ(WindowText(dlg), "Kestrelix - Login");
              RECT window = dlg.GetWindowRect();
              EXPECT_EQ(window.right - window.left, 280);
              EXPECT_EQ(window.bottom - window.top, 145);
              EXPECT_EQ(WindowText(dlg.Prompt()), "Please initialize a new password:");
              EXPECT_TRUE(SameRect(ChildRect(dlg.Prompt()), RECT{10, 37, 270, 52}));
              EXPECT_TRUE(dlg.Reminder().IsWindowVisible());
              EXPECT_EQ(WindowText(dlg.Reminder()), "Please remember it and keep it safely.");
              EXPECT_TRUE(SameRect(ChildRect(dlg.Reminder()), RECT{10, 85, 265, 100}));
              EXPECT_TRUE(SameRect(ChildRect(dlg.PasswordEdit()), RECT{10, 60, 262, 80}));
              EXPECT_TRUE(dlg.PasswordEdit().GetStyle() & ES_PASSWORD);
              EXPECT_EQ(GetFocus(), dlg.PasswordEdit().m_hWnd);
              const struct {
                UINT id;
                const char* text;
                RECT rect;
              } buttons[] = {{101, "&Help", {30, 108, 100, 130}}, {IDOK, "&OK", {110, 108, 180, 130}},
                             {IDCANCEL, "&Cancel", {190, 108, 260, 130}}};
              for (const auto& b : buttons) {
                HWND button = FindWindowExA(dlg, nullptr, nullptr, b.text);  // id 2 is also the close button
                ASSERT_NE(button, nullptr) << b.text;
                EXPECT_EQ(GetDlgCtrlID(button), int(b.id));
                EXPECT_TRUE(SameRect(ChildRect(button), b.rect)) << b.text;
              }
              krx_test::PumpMessages();
              EXPECT_TRUE(krx_test::SaveScreenshot(dlg, "login_first_use"));
              TypeText(dlg.PasswordEdit(), "abc");
              Ok(dlg);
            }),
            IDOK);
  EXPECT_EQ(current, "abc");
  EXPECT_EQ(ReadFileBytes(user / "user.sav").size(), 8u);
  EXPECT_TRUE(krx::LoginRequired(user.path()));
}

TEST_F(LoginTest, AWrongPasswordIsAskedForAgainWithTheTextSelected) {
  ASSERT_TRUE(krx::WritePasswordFile(user.path(), "abc"));
  krx_test::MessageBoxCatcher boxes;
  EXPECT_EQ(Run([&](CLoginDlg& dlg) {
              EXPECT_FALSE(dlg.IsFirstUseMode());
              EXPECT_EQ(WindowText(dlg.Prompt()), "Please input your password:");
              EXPECT_FALSE(dlg.Reminder().IsWindowVisible());
              krx_test::PumpMessages();
              EXPECT_TRUE(krx_test::SaveScreenshot(dlg, "login"));
              Type(dlg, "ABC");
              Ok(dlg);
              EXPECT_FALSE(dlg.IsEnding());
              EXPECT_EQ(current, "unchanged");
              EXPECT_EQ(GetFocus(), dlg.PasswordEdit().m_hWnd);
              DWORD start = 0, end = 0;
              dlg.PasswordEdit().SendMessage(EM_GETSEL, WPARAM(&start), LPARAM(&end));
              EXPECT_EQ(start, 0u);
              EXPECT_EQ(end, 3u);
              Type(dlg, "abc");
              Ok(dlg);
            }),
            IDOK);
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Incorrect password, please input again."});
  EXPECT_EQ(current, "abc");
}

TEST_F(LoginTest, SevenAnd32CharacterPasswordsAndNoThirtyThirdCharacter) {
  for (std::string pw : {"abcdefg", "abcdefghijklmnopqrstuvwxyz012345"}) {
    std::remove((user / "user.sav").c_str());
    ASSERT_EQ(Run([&](CLoginDlg& dlg) {
                Type(dlg, pw);
                Ok(dlg);
              }),
              IDOK);
    ASSERT_EQ(Run([&](CLoginDlg& dlg) {
                Type(dlg, pw);
                TypeText(dlg.PasswordEdit(), "6");  // a 33rd character is refused
                if (pw.size() == 7) Type(dlg, pw);
                EXPECT_EQ(WindowText(dlg.PasswordEdit()), pw);
                Ok(dlg);
              }),
              IDOK)
        << pw;
    EXPECT_EQ(current, pw);
  }
}

TEST_F(LoginTest, AnEmptyFirstPasswordSkipsLaterLoginsAndCancelWritesNothing) {
  EXPECT_EQ(Run([&](CLoginDlg& dlg) { dlg.SendMessage(WM_COMMAND, IDCANCEL); }), IDCANCEL);
  EXPECT_FALSE(krx::FileExists(user / "user.sav"));
  EXPECT_EQ(current, "unchanged");
  EXPECT_EQ(Run([&](CLoginDlg& dlg) { Ok(dlg); }), IDOK);
  EXPECT_EQ(ReadFileBytes(user / "user.sav").size(), 8u);
  EXPECT_FALSE(krx::LoginRequired(user.path()));
  EXPECT_EQ(current, "");
}

TEST_F(LoginTest, AnUnreadableUserFileLetsNobodyInUntilItCanBeRead) {
  ASSERT_TRUE(krx::WritePasswordFile(user.path(), "abc"));
  HANDLE lock = CreateFileA((user / "user.sav").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  krx_test::MessageBoxCatcher boxes;
  EXPECT_EQ(Run([&](CLoginDlg& dlg) {
              Type(dlg, "abc");
              Ok(dlg);
              EXPECT_FALSE(dlg.IsEnding());
              Type(dlg, "");
              Ok(dlg);
              EXPECT_FALSE(dlg.IsEnding());
              CloseHandle(lock);
              Type(dlg, "abc");
              Ok(dlg);
            }),
            IDOK);
  EXPECT_EQ(boxes.texts(), std::vector<std::string>(2, "User file read failed, please check it and try again."));
}

TEST_F(LoginTest, FirstUseThatCannotCreateTheFileEndsWithCancel) {
  krx_test::MessageBoxCatcher boxes;
  CLoginDlg dlg(current, user / "missing\\");
  krx_test::RunInLoop([&] {
    TypeText(dlg.PasswordEdit(), "abc");
    dlg.SendMessage(WM_COMMAND, IDOK);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"User file create failed, please contact us by email."});
  EXPECT_EQ(current, "unchanged");
}

TEST_F(LoginTest, StartUpAsksOnlyWhenAPasswordIsSet) {
  bool shown = false;
  krx_test::RunInLoop([&] {
    HWND login = FindWindowA(nullptr, "Kestrelix - Login");
    shown = login != nullptr;
    if (login) SendMessageA(login, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_FALSE(krx::LoginAtStartup(user.path(), current, 5));  // first use, cancelled
  EXPECT_TRUE(shown);
  ASSERT_TRUE(krx::WritePasswordFile(user.path(), ""));
  EXPECT_TRUE(krx::LoginAtStartup(user.path(), current, 5));  // no dialog: nothing would answer it
  EXPECT_EQ(current, "");
}

// The help viewer's frame window of this process, if one is shown.
bool HelpShown() {
  HWND help = nullptr;
  while ((help = FindWindowExA(nullptr, help, "HH Parent", nullptr)) != nullptr) {
    DWORD pid = 0;
    GetWindowThreadProcessId(help, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(help)) return true;
  }
  return false;
}

TEST_F(LoginTest, BothHelpButtonsOpenTheirTopicAndLeaveTheDialogOpen) {
  Run([&](CLoginDlg& dlg) {
    dlg.SendMessage(WM_COMMAND, CLoginDlg::kHelpId);
    EXPECT_TRUE(HelpShown());
    EXPECT_FALSE(dlg.IsEnding());
  });
  krx::CloseAllHelp();
  krx_test::PumpUntil([] { return !HelpShown(); });
  ASSERT_FALSE(HelpShown());

  krx::CChangePassDlg change(current, user.path());
  krx_test::RunInLoop([&] {
    change.SendMessage(WM_COMMAND, krx::CChangePassDlg::kHelpId);
    EXPECT_TRUE(HelpShown());
    EXPECT_FALSE(change.IsEnding());
    change.SendMessage(WM_COMMAND, IDCANCEL);
  });
  EXPECT_EQ(change.DoModal(), IDCANCEL);
  krx::CloseAllHelp();
}

}  // namespace
