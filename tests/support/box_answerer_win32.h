#pragma once
// Answers the program's skinned message boxes ("Message", and "Please
// select" for questions) on this thread
// from a list: IDOK is "&OK"/"&Yes", IDCANCEL is "&No". Once the list is
// used up every further box gets IDOK. Records each box's text. A thread
// timer does the looking, so it works inside any modal loop.
#include <windows.h>

#include <deque>
#include <string>
#include <vector>

namespace krx_test {

class BoxAnswerer {
 public:
  explicit BoxAnswerer(std::deque<int> answers = {}) : answers_(std::move(answers)) {
    Current() = this;
    timer_ = SetTimer(nullptr, 0, 20, &BoxAnswerer::OnTimer);
  }
  ~BoxAnswerer() {
    KillTimer(nullptr, timer_);
    Current() = nullptr;
  }
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  const std::vector<std::string>& texts() const { return texts_; }
  // Called with each box before it is answered (e.g. to take a picture).
  void SetOnBox(void (*onBox)(HWND box, const std::string& text)) { onBox_ = onBox; }

 private:
  static BoxAnswerer*& Current() {
    static BoxAnswerer* current = nullptr;
    return current;
  }
  static std::string TextOf(HWND hwnd) {
    char buffer[1024] = {};
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
  }
  static BOOL CALLBACK FindBox(HWND hwnd, LPARAM found) {
    std::string caption = TextOf(hwnd);
    if (IsWindowVisible(hwnd) && (caption == "Message" || caption == "Please select")) {
      *reinterpret_cast<HWND*>(found) = hwnd;
      return FALSE;
    }
    return TRUE;
  }
  static BOOL CALLBACK CollectText(HWND hwnd, LPARAM out) {
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    std::string text = TextOf(hwnd);
    if (lstrcmpiA(cls, "Static") == 0 && !text.empty() && text != "Message" && text != "Please select") {
      *reinterpret_cast<std::string*>(out) += text;
    }
    return TRUE;
  }
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    BoxAnswerer* self = Current();
    if (!self) return;
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box || box == self->last_) return;
    std::string text;
    EnumChildWindows(box, &CollectText, reinterpret_cast<LPARAM>(&text));
    self->texts_.push_back(text);
    if (self->onBox_) self->onBox_(box, text);
    int answer = IDOK;
    if (!self->answers_.empty()) {
      answer = self->answers_.front();
      self->answers_.pop_front();
    }
    self->last_ = box;
    PostMessageA(box, WM_COMMAND, WPARAM(answer), 0);
  }

  std::deque<int> answers_;
  std::vector<std::string> texts_;
  void (*onBox_)(HWND, const std::string&) = nullptr;
  HWND last_ = nullptr;
  UINT_PTR timer_ = 0;
};

}  // namespace krx_test
