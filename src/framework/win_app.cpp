#include "framework/win_app.h"

#include "framework/handler_fault.h"
#include "framework/wnd.h"

namespace krx {
namespace {
CWinApp* g_app = nullptr;
}  // namespace

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

CWinApp* CWinApp::Current() { return g_app; }

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return int(m_exitCode); }

void CWinApp::WinHelp(DWORD_PTR, UINT) {}

int CWinApp::Run() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    // Offer the message to the window objects from the target upwards.
    bool handled = false;
    try {
      for (HWND h = msg.hwnd; h && !handled; h = ::GetParent(h)) {
        if (CWnd* w = CWnd::FromHandle(h)) handled = w->PreTranslateMessage(&msg);
      }
    } catch (...) {
      handled = true;
      ReportHandlerFault(msg.hwnd);
    }
    if (handled) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  m_exitCode = msg.wParam;
  return ExitInstance();
}

int AfxWinMain(HINSTANCE instance, int show) {
  CWinApp* app = CWinApp::Current();
  if (!app) return -1;
  app->m_hInstance = instance;
  app->m_nCmdShow = show;
  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}

}  // namespace krx
