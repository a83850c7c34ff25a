// What the manager window leaves on the screen: after a view switch or a
// resize every button shows its face without the mouse passing over it.
// The screen is compared with what a fresh paint of the same control gives.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <map>
#include <vector>

#include "core/manager_views.h"
#include "core/settings_file.h"
#include "manager/manager_dlg.h"
#include "records/record_store.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"

namespace {

using namespace krx;

// The screen's pixels under a window, as 0x00RRGGBB.
std::vector<COLORREF> ScreenPixels(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::vector<COLORREF> out(size_t(w) * size_t(h));
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  GetDIBits(memory, bitmap, 0, UINT(h), out.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return out;
}

void Shot(HWND hwnd, const std::string& name) {
  if (const char* dir = std::getenv("KRX_SCREENSHOT_DIR")) krx_test::SaveWindowPng(hwnd, std::string(dir) + "\\" + name + ".png");
}

class ManagerDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA(user().c_str(), nullptr);
    CreateDirectoryA(tmp().c_str(), nullptr);
    SettingValues values = kDefaultSettings;
    values[kAddOnEnabled] = 0;
    krx_test::WriteFileBytes(user() + "KRX.cfg", SerializeSettings(values));
    RecordCollections records;
    records[kVisitRecords] = {"<12/01/2004 10:00:00> http://a.example/ - A", "<12/01/2004 10:01:00> http://b.example/ - B"};
    records[kWhiteList] = {"http://w.example/"};
    SaveRecordFiles(user(), password_, records);
  }
  std::string user() const { return folder_.path() + "User\\"; }
  std::string tmp() const { return folder_.path() + "tmp\\"; }

  std::unique_ptr<CManagerDlg> Open() {
    auto dlg = std::make_unique<CManagerDlg>(user(), tmp(), password_);
    dlg->Settings().SetConfigPath(user() + "KRX.cfg");
    EXPECT_TRUE(dlg->Create(CManagerDlg::kTemplateId, nullptr));
    dlg->ShowWindow(SW_SHOW);
    krx_test::PumpMessages();
    return dlg;
  }

  // What the user would see: the messages the action caused are handled,
  // nothing is forced.
  static void Settle() {
    for (int i = 0; i < 4; ++i) {
      krx_test::PumpMessages();
      Sleep(50);
    }
  }

  // The visible buttons whose screen pixels differ from a fresh paint.
  static std::vector<int> BlankButtons(CManagerDlg& dlg, const std::vector<int>& ids) {
    std::vector<int> wrong;
    for (int id : ids) {
      HWND button = dlg.GetDlgItem(id);
      if (!button || !IsWindowVisible(button)) continue;
      const std::vector<COLORREF> before = ScreenPixels(button);
      RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      krx_test::PumpMessages();
      if (ScreenPixels(button) != before) wrong.push_back(id);
    }
    return wrong;
  }

  krx_test::TempFolder folder_;
  std::string password_;
};

const std::vector<int> kAllButtons = {kIdFind,   kIdDelete, kIdAddToWhite, kIdAddToForbidden, kIdVisitPlay, kIdRefresh,
                                      kIdAddNewItem, kIdUpdateItem, kIdHelp, kIdAbout, kIdSendEmail,
                                      kIdOnlineUpdate, kIdWebSite, kIdConfig, IDCANCEL, 101, 102, kIdStatusLine};

TEST_F(ManagerDrawing, ButtonsShowTheirFacesAfterAViewSwitch) {
  auto dlg = Open();
  for (int view : {int(IDC_TAB_VISIT), int(IDC_TAB_WHITE), int(IDC_TAB_BLOCK), int(IDC_TAB_FORBID)}) {
    dlg->ViewSelector().SelectById(UINT(view));
    dlg->SendMessage(WM_COMMAND, WPARAM(view), 0);
    Settle();
    Shot(*dlg, "switch_" + std::to_string(view));
    EXPECT_EQ(BlankButtons(*dlg, kAllButtons), std::vector<int>()) << "view " << view;
  }
}

TEST_F(ManagerDrawing, ButtonsShowTheirFacesAfterAResize) {
  auto dlg = Open();
  for (SIZE size : {SIZE{853, 653}, SIZE{700, 500}}) {
    ::SetWindowPos(*dlg, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Settle();
    Shot(*dlg, "resize_" + std::to_string(size.cx));
    EXPECT_EQ(BlankButtons(*dlg, kAllButtons), std::vector<int>()) << size.cx << " x " << size.cy;
  }
}

}  // namespace
