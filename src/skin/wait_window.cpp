#include "skin/wait_window.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "framework/dialog_template.h"
#include "skin/wait_dlg.h"

namespace krx {

namespace {

// The state shared with the wait thread. Step and done change while it
// runs; the rest is written before it starts and only read afterwards.
struct SharedWait {
  std::atomic<int> step{0};
  std::atomic<bool> done{false};
  std::atomic<bool> running{false};
  std::atomic<HWND> window{nullptr};
  int total = 0;
  std::string text;
  int theme = 5;
  std::thread thread;

  // A thread still running at exit is told to finish and waited for.
  ~SharedWait() {
    done = true;
    if (thread.joinable()) thread.join();
  }
};

SharedWait& Shared() {
  static SharedWait shared;
  return shared;
}

std::mutex g_startLock;

void WaitThread(HWND owner) {
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
  SharedWait& s = Shared();
  const int total = s.total;
  {
    CWaitDlg dlg;
    dlg.SetText(s.text);
    dlg.SetRange(0, total);
    // No WS_VISIBLE: a visible template would take the activation from the
    // caller's window; it is shown below without activating it.
    DialogTemplate t(WS_POPUP | WS_DLGFRAME, WS_EX_TOOLWINDOW, 0, 0, 300, 150, "");
    dlg.SetThemeIndex(s.theme);
    if (dlg.CreateIndirect(t.Get(), GetDesktopWindow())) {
      SetWindowPos(dlg, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
      s.window = dlg.m_hWnd;
      MSG msg;
      while (!s.done) {
        Sleep(10);
        // Answer messages other threads send to the window, so no sender
        // ever waits on this thread; posted input stays unread.
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const int p = s.step;
        if (dlg.IsWindowVisible()) dlg.SetStep(p);  // the last step hides it
        dlg.UpdateWindow();
      }
      dlg.SetStep(total);
      // Marked for repainting rather than painted from here: painting the
      // owner synchronously would wait on the caller's thread.
      if (owner) InvalidateRect(owner, nullptr, TRUE);
      s.window = nullptr;
      dlg.DestroyWindow();
    }
  }
  s.running = false;
}

}  // namespace

void WaitWindowStart(HWND owner, const std::string& text, int total, int theme) {
  std::lock_guard<std::mutex> lock(g_startLock);
  SharedWait& s = Shared();
  if (s.thread.joinable()) {
    s.done = true;  // a caller that forgot WaitWindowDone
    s.thread.join();
  }
  s.step = 0;
  s.done = false;
  s.total = total;
  s.text = text;
  s.theme = theme;
  s.running = true;
  try {
    s.thread = std::thread(WaitThread, owner);
  } catch (...) {
    s.running = false;  // no wait window then; the work goes on without it
  }
}

void WaitWindowStep(int step) { Shared().step = step; }

void WaitWindowDone() {
  std::lock_guard<std::mutex> lock(g_startLock);
  SharedWait& s = Shared();
  s.done = true;
  // The window goes with the work: wait until the thread has destroyed it,
  // or a window that closes right after (the password change) left the
  // empty box on the screen until something repainted the place. Messages
  // the thread sends this one meanwhile are answered; posted input waits.
  while (s.running) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  if (s.thread.joinable()) s.thread.join();
}

HWND WaitWindowHandle() { return Shared().window; }

bool WaitWindowRunning() { return Shared().running; }

}  // namespace krx
