#include "support/box_watcher_win32.h"

#include <windows.h>

namespace krx_test {
namespace {
// The system message box keeps its text and icon in statics with these ids.
constexpr int kBoxTextId = 0xFFFF;
constexpr int kBoxIconId = 0x0440;
}  // namespace

MessageBoxWatcher::MessageBoxWatcher(const std::string& caption, void* owner)
    : caption_(caption), owner_(owner), thread_(&MessageBoxWatcher::Run, this) {}

MessageBoxWatcher::~MessageBoxWatcher() {
  stop_ = true;
  thread_.join();
}

std::vector<SeenBox> MessageBoxWatcher::Seen() {
  // Only the watcher thread appends, and only before count_ moves on.
  int n = count_;
  return std::vector<SeenBox>(seen_.begin(), seen_.begin() + n);
}

void MessageBoxWatcher::Run() {
  while (!stop_) {
    HWND box = FindWindowA("#32770", caption_.c_str());
    if (box && IsWindowVisible(box)) {
      SeenBox seen;
      char text[1024] = {};
      GetDlgItemTextA(box, kBoxTextId, text, sizeof(text));
      seen.text = text;
      seen.hasIcon = SendDlgItemMessageA(box, kBoxIconId, STM_GETICON, 0, 0) != 0;
      seen.ownerMatches = GetWindow(box, GW_OWNER) == static_cast<HWND>(owner_);
      seen_.push_back(seen);
      ++count_;
      SendMessageA(box, WM_COMMAND, IDOK, 0);
      // Wait for this box to go before looking for the next one.
      for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(10);
    }
    Sleep(10);
  }
}

}  // namespace krx_test
