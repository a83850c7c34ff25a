// Damaged input, told: a record file found damaged at start, and lines of
// the add-on's day files that are no records.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/manager_views.h"
#include "core/record_cipher.h"
#include "manager/manager_fixture_win32.h"
#include "records/file_io.h"
#include "support/box_answerer_win32.h"

namespace {

using namespace krx;
using krx_test::BoxAnswerer;

class ManagerDamagedInput : public krx_test::ManagerWindowTest {
 protected:
  void Click(int id) {
    dlg_->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(dlg_->GetDlgItem(id)));
    krx_test::PumpMessages();
  }
  std::unique_ptr<CManagerDlg> dlg_;
};

// A damaged record file is named at start with the copy of its bytes; the
// records that can be records are shown.
TEST_F(ManagerDamagedInput, ADamagedRecordFileIsNamedAtStartWithItsCopy) {
  WriteUserFolder(kDefaultSettings, {});
  const std::string good = "<07/01/2004 10:00:01> http://a/ - A";
  ASSERT_TRUE(SaveRecordFile(user() + "visit.log", SealedCopy(password_), {good, "\x01\x02 spliced", "no stamp"}));
  {
    BoxAnswerer boxes;
    dlg_ = OpenManager();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"These record files of the User folder are damaged:\n"
                                                      "visit.log: its bytes as they were are kept in visit.log.bad.\n"
                                                      "The records that could be read are shown; the others are lost."});
  }
  EXPECT_EQ(dlg_->CollectionOf(kVisitRecords), StringArray{good});
  EXPECT_TRUE(FileExists(user() + "visit.log.bad"));
  dlg_->DestroyWindow();
}

// Day-file lines that are no records stay out of the log and its date list,
// and one notice after the merge names the files and how many lines.
TEST_F(ManagerDamagedInput, ARefreshLeavesOutDayFileLinesThatAreNoRecordsAndSaysSo) {
  SettingValues options = kDefaultSettings;
  options[kLastView] = IDC_TAB_VISIT;
  WriteUserFolder(options, {});
  dlg_ = OpenManager();
  krx_test::WriteFileBytes(tmp() + "20041231.vis",
                           std::string("<12/31/2004 10:00:00> http://new/ - New\r\n\x01\x02\xff\r\nno stamp\r\n"
                                       "<13/45/2026 25:61:61> http://odd/\r\n<12/31/2004 10:00:01> a\0b\r\n", 118));
  krx_test::WriteFileBytes(tmp() + "20041231.blc", "<12/31/2004 10:00:02> http://blocked/\r\n");
  BoxAnswerer boxes({IDOK});
  Click(kIdRefresh);
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{
                               "These day files of the tmp folder hold lines that are no records (text beginning with "
                               "\"<\"):\n20041231.vis: 3 lines left out.\nTheir other lines were read. The day files go at "
                               "the close as usual."});
  EXPECT_EQ(dlg_->CollectionOf(kVisitRecords),
            (StringArray{"<12/31/2004 10:00:00> http://new/ - New", "<13/45/2026 25:61:61> http://odd/"}));
  std::vector<std::string> days;
  for (int i = 0; i < dlg_->DateList().GetCount(); ++i) days.push_back(dlg_->DateList().GetText(i));
  std::sort(days.begin(), days.end());
  EXPECT_EQ(days, (std::vector<std::string>{"", "12/31/2004"}));  // the odd stamp is under the empty key
  // The lines already read are not told again.
  BoxAnswerer again;
  Click(kIdRefresh);
  EXPECT_TRUE(again.texts().empty());
  dlg_->DestroyWindow();
}

}  // namespace
