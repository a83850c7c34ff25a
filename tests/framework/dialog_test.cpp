// CDialog's modal run: pre-translation order, Enter and Escape as the
// dialog decides, WM_QUIT during the run, and the owner's state.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/dialog_template.h"
#include "framework/edit.h"
#include "support/window_capture_win32.h"

namespace {

using krx::CDialog;
using krx::DialogTemplate;

constexpr WORD kEditId = 1001;

DialogTemplate TestTemplate() {
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME, 0, 10, 10, 150, 80,
                   "Framework test", "Tahoma", 9);
  t.AddControl("EDIT", "typed", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 0, 10, 10, 100, 14, kEditId);
  t.AddControl("BUTTON", "&OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 10, 40, 50, 14, IDOK);
  return t;
}

std::vector<std::string> g_log;

class KeyEdit : public krx::CEdit {
 public:
  bool PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN) g_log.push_back("edit:" + std::to_string(msg->wParam));
    return false;
  }
};

class TestDialog : public CDialog {
 public:
  KeyEdit edit;
  int refuseCancel = 0;
  bool sawEnabledOwner = true;
  HWND owner = nullptr;
  std::function<void(TestDialog&)> onInit;

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    edit.SubclassDlgItem(kEditId, m_hWnd);
    if (owner) sawEnabledOwner = ::IsWindowEnabled(owner) != FALSE;
    if (onInit) onInit(*this);
    return TRUE;
  }
  bool PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN) g_log.push_back("dialog:" + std::to_string(msg->wParam));
    return false;
  }
  void OnCancel() override {
    g_log.push_back("cancel");
    if (refuseCancel-- > 0) return;
    CDialog::OnCancel();
  }
  void OnOK() override {
    g_log.push_back("ok:" + edit.GetWindowText());
    CDialog::OnOK();
  }
};

TEST(Dialog, TemplateBuildsControlsAndModelessLives) {
  DialogTemplate t = TestTemplate();
  TestDialog dlg;
  ASSERT_TRUE(dlg.CreateIndirect(t.Get(), nullptr));
  EXPECT_EQ(dlg.GetWindowText(), "Framework test");
  EXPECT_EQ(dlg.edit.GetWindowText(), "typed");
  EXPECT_NE(dlg.GetDlgItem(IDOK), nullptr);
  EXPECT_TRUE(dlg.IsWindowVisible());
  dlg.EndDialog(IDOK);  // a modeless dialog only hides
  EXPECT_FALSE(dlg.IsWindowVisible());
  EXPECT_TRUE(IsWindow(dlg));
}

TEST(Dialog, KeysArePreTranslatedFromTargetUpToDialog) {
  g_log.clear();
  DialogTemplate t = TestTemplate();
  TestDialog dlg;
  dlg.onInit = [](TestDialog& d) {
    krx_test::RunInLoop([&d] {
      ::SetFocus(d.edit);
      krx_test::PostKey(d.edit, 'Q');
      krx_test::PostKey(d.edit, VK_RETURN);
    });
  };
  EXPECT_EQ(dlg.DoModalIndirect(t.Get()), IDOK);
  EXPECT_EQ(g_log, (std::vector<std::string>{"edit:81", "dialog:81", "edit:13", "dialog:13", "ok:typed"}));
  EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(Dialog, EscapeEndsOnlyWhenTheDialogAgrees) {
  g_log.clear();
  DialogTemplate t = TestTemplate();
  TestDialog dlg;
  dlg.refuseCancel = 1;
  dlg.onInit = [](TestDialog& d) {
    krx_test::RunInLoop([&d] {
      krx_test::PostKey(d.edit, VK_ESCAPE);
      krx_test::PostKey(d.edit, VK_ESCAPE);
    });
  };
  EXPECT_EQ(dlg.DoModalIndirect(t.Get()), IDCANCEL);
  EXPECT_EQ(g_log, (std::vector<std::string>{"edit:27", "dialog:27", "cancel", "edit:27", "dialog:27", "cancel"}));
}

TEST(Dialog, QuitDuringModalRunIsPostedAgain) {
  DialogTemplate t = TestTemplate();
  TestDialog dlg;
  dlg.onInit = [](TestDialog&) { krx_test::RunInLoop([] { PostQuitMessage(7); }); };
  EXPECT_EQ(dlg.DoModalIndirect(t.Get()), -1);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST(Dialog, OwnerIsDisabledDuringRunAndActiveAfter) {
  HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_POPUP | WS_VISIBLE | WS_CAPTION, 300, 300, 200, 100, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(owner, nullptr);
  SetActiveWindow(owner);
  krx_test::PumpMessages();
  DialogTemplate t = TestTemplate();
  TestDialog dlg;
  dlg.owner = owner;
  dlg.onInit = [](TestDialog& d) { krx_test::RunInLoop([&d] { d.EndDialog(42); }); };
  EXPECT_EQ(dlg.DoModalIndirect(t.Get()), 42);
  EXPECT_FALSE(dlg.sawEnabledOwner);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);
  DestroyWindow(owner);
}

TEST(Dialog, MissingResourceTemplateFailsCleanly) {
  CDialog dlg(4711);
  EXPECT_EQ(dlg.DoModal(), -1);
  EXPECT_FALSE(dlg.Create(4711, nullptr));
}

}  // namespace
