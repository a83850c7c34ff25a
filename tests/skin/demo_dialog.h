#pragma once
#include <vector>

// A skinned dialog with a few push buttons and a text, as the program's own
// dialogs build them; used by the window tests and the screenshots.
#include "skin/mac_button.h"
#include "skin/skin_dialog.h"
#include "skin/skin_static.h"

namespace krx_test {

class DemoDialog : public krx::CSkinDialog {
 public:
  krx::CMacButton ok, cancel, latch, narrow, disabled, find, refresh;
  krx::CSkinStatic label;
  int width = 320, height = 210;
  std::vector<UINT> clicks;  // BN_CLICKED ids, in order

  BOOL OnInitDialog() override {
    SetWindowText("Skinned dialog");
    MoveWindow(40, 40, width, height);
    krx::CSkinDialog::OnInitDialog();
    label.Create("A skinned static text on the dialog", WS_CHILD | WS_VISIBLE, RECT{20, 40, 300, 56}, m_hWnd);
    label.SetFont(NormalFont());
    AddButton(ok, "&OK", RECT{20, 70, 100, 93}, IDOK);
    AddButton(cancel, "&Cancel", RECT{110, 70, 190, 93}, 1002);
    AddButton(latch, "Latch", RECT{200, 70, 280, 93}, 1003);
    latch.SetBehaviour(krx::CMacButton::kLatch);
    AddButton(narrow, "", RECT{20, 105, 49, 128}, 1004);
    AddButton(disabled, "Disabled", RECT{60, 105, 140, 128}, 1005);
    disabled.EnableWindow(FALSE);
    AddButton(find, "Find", RECT{150, 105, 230, 128}, 1006);
    find.SetIcon16(139);
    AddButton(refresh, "Refresh", RECT{240, 105, 300, 170}, 1007);
    refresh.SetIcon32(217);
    refresh.SetIconAbove(TRUE);
    return TRUE;
  }

 protected:
  bool OnCommand(UINT id, UINT code, HWND control) override {
    if (code == BN_CLICKED) clicks.push_back(id);
    if (id == IDOK || id == IDCANCEL) return true;  // stays open for the tests
    return krx::CSkinDialog::OnCommand(id, code, control);
  }

 private:
  void AddButton(krx::CMacButton& b, const char* text, const RECT& r, UINT id) {
    b.Create(text, WS_CHILD | WS_VISIBLE, r, m_hWnd, id);
    b.SetFont(NormalFont());
    b.SetTheme(GetTheme());
  }
};

}  // namespace krx_test
