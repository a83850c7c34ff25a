#include "app/manager_user_actions_win32.h"

#include "records/file_io.h"
#include "records/password_store.h"
#include "records/record_store.h"
#include "support/test_support.h"

namespace krx_test {

std::string Text(HWND hwnd) {
  char buffer[512] = {};
  SendMessageA(hwnd, WM_GETTEXT, sizeof buffer, LPARAM(buffer));
  return buffer;
}

bool WaitUntil(const std::function<bool()>& done) {
  for (int waited = 0; waited < 20000 && !done(); waited += 50) Sleep(50);
  return done();
}

namespace {

GUITHREADINFO GuiInfo(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info;
}

// Whether the condition holds now and still holds after the target had
// time to handle what is queued for it.
bool Settled(const std::function<bool()>& holds) {
  if (!holds()) return false;
  Sleep(100);
  return holds();
}

}  // namespace

bool ClickToFocus(HWND main, HWND control) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    SetForegroundWindow(main);
    const auto active = [&] { return GetForegroundWindow() == main && GuiInfo(main).hwndActive == main; };
    if (!WaitUntil([&] { return Settled(active); })) continue;
    RECT r;
    GetWindowRect(control, &r);
    SetCursorPos(r.right - 5, (r.top + r.bottom) / 2);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    const auto focused = [&] { return GuiInfo(main).hwndFocus == control && GetForegroundWindow() == main; };
    if (WaitUntil([&] { return Settled(focused); })) return true;
  }
  return false;
}

void PressKey(BYTE key, bool shift) {
  if (shift) keybd_event(VK_SHIFT, 0, 0, 0);
  keybd_event(key, 0, 0, 0);
  keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
  if (shift) keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
}

int CountDayFiles(const std::string& tmp) {
  int n = 0;
  for (const char* pattern : {"*.vis", "*.blc", "*.fla", "*.mms"}) {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((tmp + pattern).c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) continue;
    do ++n; while (FindNextFileA(h, &data));
    FindClose(h);
  }
  return n;
}

void Prepare(const krx_test::ProgramFolder& folder, const std::string& password,
             std::initializer_list<std::pair<krx::Setting, int>> changed) {
  folder.MakeFolders();
  krx::WritePasswordFile(folder.user(), password);
  krx::SettingValues values = krx::kDefaultSettings;
  for (const auto& c : changed) values[c.first] = c.second;
  krx::WriteFileAtomic(folder.user() + "KRX.cfg", krx::SerializeSettings(values));
}

void TypeAndOk(HWND login, const char* text) {
  SendMessageA(GetDlgItem(login, 1000), WM_SETTEXT, 0, LPARAM(text));
  PostMessageA(login, WM_COMMAND, IDOK, 0);
}

bool HasChildText(HWND parent, const std::string& wanted) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (Text(child) == wanted) return true;
  }
  return false;
}

std::vector<std::string> LinesOfTheDay(HWND main, const std::string& date) {
  HWND dates = GetDlgItem(main, 1007), items = GetDlgItem(main, 1008);
  int day = -1;
  WaitUntil([&] {
    const int count = int(SendMessageA(dates, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count && day < 0; ++i) {
      if (date.empty() ? count == 1 : krx_test::ListLine(dates, i) == date) day = i;
    }
    return day >= 0;
  });
  SendMessageA(dates, LB_SETCURSEL, WPARAM(day), 0);
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(1007, LBN_SELCHANGE), LPARAM(dates));
  std::vector<std::string> lines;
  for (int i = 0; i < int(SendMessageA(items, LB_GETCOUNT, 0, 0)); ++i) lines.push_back(krx_test::ListLine(items, i));
  return lines;
}

bool DeleteFirstLine(HWND main, HANDLE app) {
  HWND items = GetDlgItem(main, 1008);
  const LRESULT before = SendMessageA(items, LB_GETCOUNT, 0, 0);
  SendMessageA(items, LB_SETSEL, TRUE, 0);
  PostMessageA(main, WM_COMMAND, MAKEWPARAM(1016, BN_CLICKED), 0);
  HWND question = krx_test::WaitForWindow(app, "Please select");
  return question && PostMessageA(question, WM_COMMAND, IDOK, 0) &&
         WaitUntil([&] { return SendMessageA(items, LB_GETCOUNT, 0, 0) == before - 1; });
}

krx::StringArray SavedVisits(const krx_test::ProgramFolder& folder, const std::string& password) {
  krx::RecordCollections saved;
  krx::LoadRecordFiles(folder.user(), password, saved);
  return saved[krx::kVisitRecords];
}

}  // namespace krx_test
