// manager_shots.exe OUTDIR: pictures of the manager window's tray menu in
// three themes, the Find question and the three answers of the online
// update check, for people to look at (scripts/manager_screenshots.sh runs
// it on a private display and compresses the files). Not a test: it checks
// nothing and exits 0 when every picture was written.
// Winsock's header must come before <windows.h>.
#include "support/loopback_http_win32.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "core/manager_views.h"
#include "core/settings_file.h"
#include "core/theme_table.h"
#include "manager/manager_dlg.h"
#include "support/box_answerer_win32.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"

namespace {

using namespace krx;

std::string g_out;
int g_failures = 0;

void Save(HWND hwnd, const std::string& name) {
  // A window opened over another may stay unpainted on the X display until
  // something moves it: nudge it there and back, then let it paint.
  RECT r;
  GetWindowRect(hwnd, &r);
  SetWindowPos(hwnd, nullptr, r.left + 1, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(hwnd, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  for (int i = 0; i < 5; ++i) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(60);
  }
  const std::string path = g_out + name + ".png";
  if (krx_test::SaveWindowPng(hwnd, path)) {
    std::printf("saved %s\n", path.c_str());
  } else {
    std::printf("could not save %s\n", path.c_str());
    ++g_failures;
  }
}

// One program folder, one manager window in the given theme.
struct Scene {
  explicit Scene(int theme) {
    CreateDirectoryA((folder.path() + "User").c_str(), nullptr);
    CreateDirectoryA((folder.path() + "tmp").c_str(), nullptr);
    SettingValues values = kDefaultSettings;
    values[kAddOnEnabled] = 0;
    values[kThemeIndex] = theme;
    values[kLastView] = IDC_TAB_WHITE;
    krx_test::WriteFileBytes(folder.path() + "User\\KRX.cfg", SerializeSettings(values));
    dlg = std::make_unique<CManagerDlg>(folder.path() + "User\\", folder.path() + "tmp\\", password);
    dlg->Settings().SetConfigPath(folder.path() + "User\\KRX.cfg");
    dlg->Create(CManagerDlg::kTemplateId, nullptr);
    krx_test::PumpMessages();
  }
  krx_test::TempFolder folder;
  std::string password;
  std::unique_ptr<CManagerDlg> dlg;
};

std::string g_menuShot;

void CALLBACK ShootMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  static int ticks = 0;
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  if (++ticks == 1) {
    // Move the highlight onto "Config" so the selection colours show.
    for (int i = 0; i < 3; ++i) {
      keybd_event(VK_DOWN, 0, 0, 0);
      keybd_event(VK_DOWN, 0, KEYEVENTF_KEYUP, 0);
    }
    return;
  }
  if (ticks < 4) return;
  ticks = 0;
  KillTimer(nullptr, timer);
  Save(menu, g_menuShot);
  EndMenu();
}

void TrayMenu(int theme) {
  Scene scene(theme);
  g_menuShot = "tray_menu_" + std::to_string(theme) + "_" + ThemeName(theme);
  SetCursorPos(420, 120);
  SetTimer(nullptr, 0, 150, &ShootMenu);
  scene.dlg->SendMessage(WM_TRAYNOTIFY, kTrayIconId, WM_RBUTTONDOWN);
  krx_test::PumpMessages();
}

void ShootBox(HWND box, const std::string& text) {
  std::string name = "update_offer";
  if (text.find("Search again") == 0) name = "find_question";
  if (text.find("Can not connect") == 0) name = "update_no_answer";
  if (text.find("already the newest") != std::string::npos) name = "update_newest";
  Save(box, name);
}

void FindQuestion() {
  Scene scene(3);
  CManagerDlg& dlg = *scene.dlg;
  dlg.CollectionOf(kWhiteList) = {"http://www.example.com/", "http://www.example.net/travel/",
                                  "http://mail.example.com/inbox"};
  dlg.ViewSelector().SelectById(IDC_TAB_WHITE);
  dlg.SendMessage(WM_COMMAND, IDC_TAB_WHITE, 0);
  dlg.ItemList().SetSel(2, TRUE);
  dlg.ItemList().SetCaretIndex(2, TRUE);
  dlg.InputBox().SetWindowText("example");
  krx_test::PumpMessages();
  krx_test::BoxAnswerer boxes({IDCANCEL});
  boxes.SetOnBox(&ShootBox);
  dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kIdFind, BN_CLICKED), LPARAM(dlg.GetDlgItem(kIdFind)));
  krx_test::PumpMessages();
}

void UpdateAnswer(const std::string& hostPort, int theme) {
  Scene scene(theme);
  SetEnvironmentVariableA("KESTRELIX_UPDATE_HOST", ("http://" + hostPort).c_str());
  krx_test::BoxAnswerer boxes({IDCANCEL});
  boxes.SetOnBox(&ShootBox);
  scene.dlg->SendMessage(WM_COMMAND, ID_TRAY_UPDATE, 0);
  krx_test::PumpMessages();
  SetEnvironmentVariableA("KESTRELIX_UPDATE_HOST", nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 2) {
    std::printf("usage: manager_shots OUTDIR\n");
    return 1;
  }
  g_out = argv[1];
  if (g_out.back() != '\\') g_out += '\\';
  SetEnvironmentVariableA("http_proxy", nullptr);
  for (int theme : {1, 3, 6}) TrayMenu(theme);
  FindQuestion();
  {
    krx_test::LoopbackHttpServer newest(200, "1.30");
    UpdateAnswer(newest.hostPort(), 5);
  }
  {
    krx_test::LoopbackHttpServer newer(200, "1.31");
    UpdateAnswer(newer.hostPort(), 5);
  }
  UpdateAnswer("127.0.0.1:" + std::to_string(krx_test::LoopbackHttpServer::FreePort()), 5);
  return g_failures == 0 ? 0 : 2;
}
