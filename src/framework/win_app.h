#pragma once
// CWinApp: the one application object of the process.
//
//   class CMyApp : public CWinApp { BOOL InitInstance() override; };
//   static CMyApp theApp;
//   int WINAPI WinMain(HINSTANCE i, HINSTANCE, LPSTR, int show) { return AfxWinMain(i, show); }
//
// AfxWinMain calls InitInstance; when it returns FALSE (a program whose life
// is a sequence of modal dialogs) ExitInstance runs at once and its result
// is the exit code; otherwise the message loop runs until WM_QUIT first.
#include <windows.h>

namespace krx {

class CWinApp {
 public:
  CWinApp();
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual BOOL InitInstance();
  virtual int ExitInstance();
  // Help requests of the framework end here.
  virtual void WinHelp(DWORD_PTR data, UINT command);

  HINSTANCE m_hInstance = nullptr;
  HWND m_hMainWnd = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;

  static CWinApp* Current();

 protected:
  int Run();
  WPARAM m_exitCode = 0;

  friend int AfxWinMain(HINSTANCE instance, int show);
};

int AfxWinMain(HINSTANCE instance, int show);

}  // namespace krx
