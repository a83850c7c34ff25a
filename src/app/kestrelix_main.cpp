// Start-up of Kestrelix.exe. For now: the folders, the single-instance mutex
// and a plain window that reports what the record store loaded; the login
// and the manager window take its place as they arrive.
#include <windows.h>

#include <string>

#include "core/record_file.h"
#include "records/folders.h"
#include "records/plain_message_box.h"
#include "records/record_store.h"

namespace {

std::string g_status;

LRESULT CALLBACK StatusWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      InflateRect(&r, -10, -10);
      DrawTextA(dc, g_status.c_str(), -1, &r, DT_LEFT | DT_WORDBREAK);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, krx::kProductName);
  krx::InstallParameterErrorBox();
  krx::CreateFolderPath(krx::UserFolder(), nullptr);
  krx::CreateFolderPath(krx::TmpFolder(), nullptr);
  if (WaitForSingleObject(mutex, 50) == WAIT_TIMEOUT) return 0;

  krx::RecordCollections collections;
  krx::LoadRecordFiles(krx::UserFolder(), "", collections);
  g_status = "Program folder: " + krx::ProgramFolder() + "\r\n\r\n";
  for (int i = 0; i < krx::kRecordCollectionCount; ++i) {
    g_status += std::string(krx::kRecordFileNames[i]) + ": " + std::to_string(collections.lists[i].size()) + " records\r\n";
  }

  WNDCLASSA wc = {};
  wc.lpfnWndProc = StatusWndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "KestrelixStatus";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowA("KestrelixStatus", krx::kProductName, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                            620, 420, nullptr, nullptr, instance, nullptr);
  ShowWindow(hwnd, show);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  krx::SaveRecordFiles(krx::UserFolder(), "", collections);
  ReleaseMutex(mutex);
  return 0;
}
