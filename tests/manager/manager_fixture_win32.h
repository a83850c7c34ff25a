#pragma once
// A manager window over a program folder of its own: User\ holding KRX.cfg
// and the record files a test gives, tmp\ for the add-on's day files.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "core/settings_file.h"
#include "manager/manager_dlg.h"
#include "records/record_store.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"

namespace krx_test {

class ManagerWindowTest : public ::testing::Test {
 protected:
  // The add-on stays off: these tests never register it.
  void WriteUserFolder(krx::SettingValues options, const krx::RecordCollections& records) {
    CreateDirectoryA(user().c_str(), nullptr);
    CreateDirectoryA(tmp().c_str(), nullptr);
    options[krx::kAddOnEnabled] = 0;
    WriteFileBytes(user() + "KRX.cfg", krx::SerializeSettings(options));
    krx::SaveRecordFiles(user(), password_, records);
  }

  // The window made, shown and settled, as the program makes it.
  std::unique_ptr<krx::CManagerDlg> OpenManager() {
    auto dlg = std::make_unique<krx::CManagerDlg>(user(), tmp(), password_);
    dlg->Settings().SetConfigPath(user() + "KRX.cfg");
    EXPECT_TRUE(dlg->Create(krx::CManagerDlg::kTemplateId, nullptr));
    dlg->ShowWindow(SW_SHOW);
    PumpMessages();
    return dlg;
  }

  std::string user() const { return folder_.path() + "User\\"; }
  std::string tmp() const { return folder_.path() + "tmp\\"; }

  TempFolder folder_;
  std::string password_;
};

}  // namespace krx_test
