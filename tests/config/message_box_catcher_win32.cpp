#include "message_box_catcher.h"

#include <windows.h>

#include <set>

namespace krx_test {
namespace {

struct Search {
  DWORD process;
  std::set<HWND>* seen;
  HWND found = nullptr;
};

BOOL CALLBACK FindNewWindow(HWND hwnd, LPARAM param) {
  Search* s = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != s->process || !IsWindowVisible(hwnd) || s->seen->count(hwnd)) return TRUE;
  s->found = hwnd;
  return FALSE;
}

BOOL CALLBACK CollectText(HWND child, LPARAM param) {
  char text[1024] = {};
  GetWindowTextA(child, text, sizeof text);
  if (text[0]) {
    std::string* all = reinterpret_cast<std::string*>(param);
    if (!all->empty()) all->push_back('|');
    *all += text;
  }
  return TRUE;
}

}  // namespace

MessageBoxCatcher::MessageBoxCatcher() : thread_([this] { Run(); }) {}

MessageBoxCatcher::~MessageBoxCatcher() {
  stop_ = true;
  thread_.join();
}

std::vector<std::string> MessageBoxCatcher::Boxes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return boxes_;
}

void MessageBoxCatcher::Run() {
  std::set<HWND> seen;
  while (!stop_) {
    Search search{GetCurrentProcessId(), &seen};
    EnumWindows(FindNewWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found) {
      Sleep(10);
      continue;
    }
    seen.insert(search.found);
    std::string texts;
    EnumChildWindows(search.found, CollectText, reinterpret_cast<LPARAM>(&texts));
    {
      std::lock_guard<std::mutex> lock(mutex_);
      boxes_.push_back(texts);
    }
    PostMessageA(search.found, WM_COMMAND, IDOK, 0);
  }
}

}  // namespace krx_test
