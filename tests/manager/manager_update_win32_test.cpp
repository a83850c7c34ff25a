// The online update from the real manager window, against a server of the
// test's own on 127.0.0.1: "Yes" opens the installer and closes the window
// through its normal shutdown, "No" leaves it open.
// Winsock's header must come before <windows.h>.
#include "support/loopback_http_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "core/manager_views.h"
#include "core/settings_file.h"
#include "manager/manager_dlg.h"
#include "records/record_store.h"
#include "support/box_answerer_win32.h"
#include "support/open_recorder_win32.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"

namespace {

using namespace krx;

class ManagerUpdate : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA((folder_.path() + "User").c_str(), nullptr);
    CreateDirectoryA((folder_.path() + "tmp").c_str(), nullptr);
    SettingValues values = kDefaultSettings;
    values[kAddOnEnabled] = 0;
    krx_test::WriteFileBytes(user() + "KRX.cfg", SerializeSettings(values));
    SetEnvironmentVariableA("http_proxy", nullptr);
    SetEnvironmentVariableA("KESTRELIX_UPDATE_HOST", ("http://" + server_.hostPort()).c_str());
  }
  void TearDown() override { SetEnvironmentVariableA("KESTRELIX_UPDATE_HOST", nullptr); }
  std::string user() const { return folder_.path() + "User\\"; }

  // Runs the window modally; script runs inside its loop.
  INT_PTR Run(CManagerDlg& dlg, const std::function<void()>& script) {
    dlg.Settings().SetConfigPath(user() + "KRX.cfg");
    krx_test::RunInLoop(script, 100);
    return dlg.DoModal();
  }

  krx_test::TempFolder folder_;
  krx_test::LoopbackHttpServer server_{200, "1.31"};
  std::string password_;
};

TEST_F(ManagerUpdate, YesOpensTheInstallerAndClosesWithTheRecordsSaved) {
  krx_test::OpenRecorder opened("http", folder_ / "opened.txt");
  CManagerDlg dlg(user(), folder_.path() + "tmp\\", password_);
  krx_test::BoxAnswerer boxes({IDOK});
  INT_PTR result = Run(dlg, [&] {
    dlg.CollectionOf(kWhiteList) = {"http://kept.example/"};
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kIdOnlineUpdate, BN_CLICKED), LPARAM(dlg.GetDlgItem(kIdOnlineUpdate)));
  });
  EXPECT_EQ(result, IDCANCEL);
  ASSERT_EQ(boxes.texts().size(), 1u);  // the offer alone: no exit question
  EXPECT_EQ(boxes.texts()[0].rfind("A new version 1.31 is available", 0), 0u);
  EXPECT_EQ(opened.Opened(), std::vector<std::string>{"http://" + server_.hostPort() + "/download/krx.exe"});
  RecordCollections saved;
  LoadRecordFiles(user(), password_, saved);
  EXPECT_EQ(saved[kWhiteList], StringArray{"http://kept.example/"});
}

TEST_F(ManagerUpdate, NoAndTheTrayCommandLeaveTheWindowOpen) {
  CManagerDlg dlg(user(), folder_.path() + "tmp\\", password_);
  krx_test::BoxAnswerer boxes({IDCANCEL, IDCANCEL});
  bool stillOpen = false;
  INT_PTR result = Run(dlg, [&] {
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kIdOnlineUpdate, BN_CLICKED), LPARAM(dlg.GetDlgItem(kIdOnlineUpdate)));
    dlg.SendMessage(WM_COMMAND, ID_TRAY_UPDATE, 0);
    stillOpen = !dlg.IsEnding() && dlg.IsWindowVisible();
    dlg.EndDialog(IDOK);
  });
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(boxes.texts().size(), 2u);
  EXPECT_EQ(server_.requests().size(), 2u);
}

}  // namespace
