#pragma once
// The plain dialog the control tests put their controls on, and a variant
// that records every command its children send it.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "framework/dialog.h"
#include "framework/dialog_template.h"
#include "support/window_capture_win32.h"

namespace krx_test {

struct Command {
  UINT id;
  UINT code;
  HWND control;
};

class CommandRecordingDialog : public krx::CDialog {
 public:
  std::vector<Command> commands;

 protected:
  bool OnCommand(UINT id, UINT code, HWND control) override {
    commands.push_back({id, code, control});
    return true;
  }
};

// Creates `dialog` modeless and visible, 200 x 140 dialog units at (20,20)
// in Tahoma 9, and lets it paint once.
inline void CreateHostDialog(krx::CDialog& dialog, const char* title) {
  krx::DialogTemplate t(WS_POPUP | WS_VISIBLE | DS_SETFONT, 0, 20, 20, 200, 140, title, "Tahoma", 9);
  ASSERT_TRUE(dialog.CreateIndirect(t.Get(), nullptr));
  PumpMessages();
}

}  // namespace krx_test
