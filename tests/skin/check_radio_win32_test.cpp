// The skinned check box and radio button in a real dialog: what each input
// does to the state, which inputs notify the parent, and where the glyph is.
#include <gtest/gtest.h>

#include <vector>

#include "core/theme_table.h"
#include "framework/dialog.h"
#include "framework/dialog_template.h"
#include "framework/static.h"
#include "skin/mac_check_box.h"
#include "skin/mac_radio_button.h"
#include "skin/skin_dialog.h"
#include "host_dialog.h"
#include "support/window_capture_win32.h"

namespace {

using krx::CMacCheckBox;
using krx::CMacRadioButton;
using krx_test::ClientPixel;
using krx_test::PumpMessages;

using HostDialog = krx_test::CommandRecordingDialog;

class CheckRadioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    krx_test::CreateHostDialog(dialog, "Check test");
  }

  void Send(HWND hwnd, UINT msg, WPARAM w, int x, int y) { SendMessageA(hwnd, msg, w, MAKELPARAM(x, y)); }

  // A key as the dialog's modal loop would deliver it: pre-translated, then
  // offered to the dialog manager, then dispatched.
  void Key(HWND target, UINT vk) {
    for (UINT msg : {UINT(WM_KEYDOWN), UINT(WM_KEYUP)}) {
      MSG m = {target, msg, vk, msg == WM_KEYDOWN ? 1 : LPARAM(0xC0000001u), 0, {0, 0}};
      krx::CWnd* wnd = krx::CWnd::FromHandle(target);
      if (wnd && wnd->PreTranslateMessage(&m)) continue;
      if (IsDialogMessageA(dialog.m_hWnd, &m)) continue;
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    PumpMessages();
  }

  HostDialog dialog;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

TEST_F(CheckRadioTest, CheckBoxClickToggles_ReleaseOutsideAndSpaceAreSilent) {
  CMacCheckBox box;
  ASSERT_TRUE(box.Create("Remember", kChild | BS_AUTOCHECKBOX, {10, 10, 150, 30}, dialog, 1001));
  EXPECT_EQ(box.GetStyle() & BS_TYPEMASK, DWORD(BS_OWNERDRAW));

  krx_test::ClickClient(box, 5, 10);
  PumpMessages();
  EXPECT_TRUE(box.GetCheck());
  ASSERT_EQ(dialog.commands.size(), 1u);
  EXPECT_EQ(dialog.commands[0].id, 1001u);
  EXPECT_EQ(dialog.commands[0].code, UINT(BN_CLICKED));
  EXPECT_EQ(dialog.commands[0].control, box.m_hWnd);
  EXPECT_EQ(GetFocus(), box.m_hWnd);

  // Press, drag out, release outside: nothing changes, nothing is posted.
  dialog.commands.clear();
  Send(box, WM_LBUTTONDOWN, MK_LBUTTON, 5, 10);
  EXPECT_TRUE(box.IsPressed());
  Send(box, WM_MOUSEMOVE, MK_LBUTTON, 300, 10);
  EXPECT_FALSE(box.IsPressed());
  Send(box, WM_LBUTTONUP, 0, 300, 10);
  // The same without the move in between.
  Send(box, WM_LBUTTONDOWN, MK_LBUTTON, 5, 10);
  Send(box, WM_LBUTTONUP, 0, -5, 10);
  PumpMessages();
  EXPECT_TRUE(box.GetCheck());
  EXPECT_FALSE(box.IsPressed());
  EXPECT_TRUE(dialog.commands.empty());
  EXPECT_NE(GetCapture(), box.m_hWnd);

  // Dragging back in before the release still counts as a click.
  Send(box, WM_LBUTTONDOWN, MK_LBUTTON, 5, 10);
  Send(box, WM_MOUSEMOVE, MK_LBUTTON, 300, 10);
  Send(box, WM_MOUSEMOVE, MK_LBUTTON, 6, 10);
  Send(box, WM_LBUTTONUP, 0, 6, 10);
  PumpMessages();
  EXPECT_FALSE(box.GetCheck());
  EXPECT_EQ(dialog.commands.size(), 1u);

  // Space toggles on key up, without a notification.
  dialog.commands.clear();
  Key(box, VK_SPACE);
  EXPECT_TRUE(box.GetCheck());
  Key(box, VK_SPACE);
  EXPECT_FALSE(box.GetCheck());
  EXPECT_TRUE(dialog.commands.empty());
}

TEST_F(CheckRadioTest, CheckBoxGlyphPlacementTickAndColours) {
  CMacCheckBox left, right;
  ASSERT_TRUE(left.Create("Left", kChild | BS_CHECKBOX, {10, 10, 150, 30}, dialog, 1001));
  ASSERT_TRUE(right.Create("Right", kChild | BS_CHECKBOX | BS_LEFTTEXT, {10, 40, 150, 60}, dialog, 1002));
  left.SetTheme(2);
  right.SetTheme(2);
  const krx::ThemeColours& lime = krx::GetThemeColours(2);
  const COLORREF mid = krx::MidColour(lime[1], lime[3]);

  // The box is 12 x 12, vertically centred: (0,4)-(12,16) in a 20-pixel row.
  EXPECT_EQ(left.BoxArea().left, 0);
  EXPECT_EQ(left.BoxArea().top, 4);
  EXPECT_EQ(left.BoxArea().right, 14);  // two pixels of tick past the box
  EXPECT_EQ(right.BoxArea().left, 140 - 12);

  // Checking repaints exactly that area.
  ValidateRect(left, nullptr);
  left.SetCheck(TRUE);
  RECT update;
  ASSERT_TRUE(GetUpdateRect(left, &update, FALSE));
  EXPECT_EQ(update.left, 0);
  EXPECT_EQ(update.right, 14);
  right.SetCheck(TRUE);
  PumpMessages();

  EXPECT_EQ(ClientPixel(left, 0, 4), lime[4]);    // frame in the border colour
  EXPECT_EQ(ClientPixel(left, 11, 15), lime[4]);
  EXPECT_EQ(ClientPixel(left, 1, 5), lime[0]);    // raised: highlight top-left
  EXPECT_EQ(ClientPixel(left, 10, 14), mid);      // and mid bottom-right
  EXPECT_EQ(ClientPixel(left, 12, 4 + 1), lime[4]);  // the tick's stroke past the box
  EXPECT_EQ(ClientPixel(left, 13, 4 + 2), mid);      // and its shading two pixels out
  EXPECT_EQ(ClientPixel(right, 128, 4), lime[4]);    // BS_LEFTTEXT: box at the right
  EXPECT_NE(ClientPixel(right, 0, 4), lime[4]);

  // Held down, the 3-D edges swap.
  SendMessageA(left, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 10));
  PumpMessages();
  EXPECT_EQ(ClientPixel(left, 1, 5), mid);
  EXPECT_EQ(ClientPixel(left, 10, 14), lime[0]);
  SendMessageA(left, WM_LBUTTONUP, 0, MAKELPARAM(5, 10));
  PumpMessages();

  // Disabled: the frame and tick turn to the shadow colour, text to column 8.
  left.EnableWindow(FALSE);
  PumpMessages();
  EXPECT_EQ(ClientPixel(left, 0, 4), lime[3]);
  bool greyText = false;
  for (int x = 17; x < 60 && !greyText; ++x)
    for (int y = 1; y < 20 && !greyText; ++y) greyText = ClientPixel(left, x, y) == lime[8];
  EXPECT_TRUE(greyText);
}

TEST_F(CheckRadioTest, RadioGroupByMouseAndArrowKeys) {
  CMacRadioButton a, b, c;
  CMacCheckBox other;  // a separate group after the radios
  ASSERT_TRUE(a.Create("Sky", kChild | WS_GROUP | BS_AUTORADIOBUTTON, {10, 10, 150, 28}, dialog, 1101));
  ASSERT_TRUE(b.Create("Lime", kChild | BS_AUTORADIOBUTTON, {10, 30, 150, 48}, dialog, 1102));
  ASSERT_TRUE(c.Create("Orange", kChild | BS_AUTORADIOBUTTON, {10, 50, 150, 68}, dialog, 1103));
  ASSERT_TRUE(other.Create("Other", kChild | WS_GROUP | BS_AUTOCHECKBOX, {10, 80, 150, 98}, dialog, 1104));
  other.SetCheck(TRUE);

  krx_test::ClickClient(b, 5, 9);
  PumpMessages();
  EXPECT_FALSE(a.GetCheck());
  EXPECT_TRUE(b.GetCheck());
  ASSERT_EQ(dialog.commands.size(), 1u);
  EXPECT_EQ(dialog.commands[0].id, 1102u);

  krx_test::ClickClient(a, 5, 9);
  PumpMessages();
  EXPECT_TRUE(a.GetCheck());
  EXPECT_FALSE(b.GetCheck());
  EXPECT_TRUE(other.GetCheck());  // other groups are left alone
  EXPECT_EQ(dialog.commands.size(), 2u);

  // Arrow keys: the selection follows the focus, silently, and wraps.
  dialog.commands.clear();
  SetFocus(a);
  Key(a, VK_DOWN);
  EXPECT_TRUE(b.GetCheck());
  EXPECT_FALSE(a.GetCheck());
  EXPECT_EQ(GetFocus(), b.m_hWnd);
  Key(b, VK_RIGHT);
  EXPECT_TRUE(c.GetCheck());
  Key(c, VK_DOWN);
  EXPECT_TRUE(a.GetCheck());
  EXPECT_FALSE(c.GetCheck());
  Key(a, VK_UP);
  EXPECT_TRUE(c.GetCheck());
  EXPECT_FALSE(a.GetCheck() || b.GetCheck());
  EXPECT_TRUE(dialog.commands.empty());

  // Space shows the press but selects nothing.
  Key(b, VK_SPACE);
  EXPECT_FALSE(b.GetCheck());
  EXPECT_FALSE(b.IsPressed());
  EXPECT_TRUE(dialog.commands.empty());
}

TEST_F(CheckRadioTest, ArrowOntoAControlThatIsNoRadioKeepsTheSelection) {
  // A label that shares the radios' group cannot be turned on, so the
  // selected radio must keep its selection rather than leave none.
  CMacRadioButton a, b;
  krx::CStatic label;
  ASSERT_TRUE(a.Create("Sky", kChild | WS_GROUP | BS_AUTORADIOBUTTON, {10, 10, 150, 28}, dialog, 1101));
  ASSERT_TRUE(b.Create("Lime", kChild | BS_AUTORADIOBUTTON, {10, 30, 150, 48}, dialog, 1102));
  ASSERT_TRUE(label.Create("Label", WS_CHILD | WS_VISIBLE | SS_LEFT, {10, 50, 150, 68}, dialog));
  b.SetCheck(TRUE);
  SetFocus(b);
  Key(b, VK_DOWN);
  EXPECT_TRUE(b.GetCheck());
  EXPECT_FALSE(a.GetCheck());
}

TEST_F(CheckRadioTest, RadioShadingTurnsWhenSelected) {
  CMacRadioButton radio, flat;
  ASSERT_TRUE(radio.Create("Sky", kChild | WS_GROUP | BS_RADIOBUTTON, {10, 10, 150, 30}, dialog, 1101));
  ASSERT_TRUE(flat.Create("Flat", kChild | WS_GROUP | BS_RADIOBUTTON | BS_FLAT | BS_LEFTTEXT, {10, 40, 150, 60},
                          dialog, 1102));
  EXPECT_EQ(radio.GetStyle() & BS_TYPEMASK, DWORD(BS_OWNERDRAW));  // from 4, not 4 | 11
  const krx::ThemeColours& silver = krx::GetThemeColours(5);
  PumpMessages();
  // Origin (0,4). Idle: pixel (2,2) in face, the shadow arc at the bottom right.
  EXPECT_EQ(ClientPixel(radio, 2, 6), silver[1]);
  EXPECT_EQ(ClientPixel(radio, 5, 14), silver[3]);
  radio.SetCheck(TRUE);
  PumpMessages();
  // Selected: the same pixels half a turn away, and the dot in the border colour.
  EXPECT_EQ(ClientPixel(radio, 9, 13), silver[1]);
  EXPECT_EQ(ClientPixel(radio, 6, 5), silver[3]);
  EXPECT_EQ(ClientPixel(radio, 5, 9), silver[4]);
  // Flat: filled with the highlight, circle at the right.
  EXPECT_EQ(ClientPixel(flat, 128 + 6, 4 + 6), silver[0]);
  EXPECT_EQ(flat.CircleArea().left, 128);
  EXPECT_EQ(flat.CircleArea().right, 140);
}

class ThemedOptions : public krx::CSkinDialog {
 public:
  CMacCheckBox box;
  CMacRadioButton radio;
  BOOL OnInitDialog() override {
    krx::CSkinDialog::OnInitDialog();
    box.Create("Box", kChild | BS_AUTOCHECKBOX, {10, 30, 150, 50}, m_hWnd, 1001);
    radio.Create("Radio", kChild | BS_AUTORADIOBUTTON, {10, 60, 150, 80}, m_hWnd, 1002);
    return TRUE;
  }
};

TEST(CheckRadioTheme, SkinnedDialogReThemesBoth) {
  ThemedOptions dlg;
  ASSERT_TRUE(dlg.Create(129, nullptr));
  dlg.SetTheme(3);
  EXPECT_EQ(dlg.box.GetTheme(), 3);
  EXPECT_EQ(dlg.radio.GetTheme(), 3);
  PumpMessages();
  const RECT area = dlg.box.BoxArea();
  EXPECT_EQ(ClientPixel(dlg.box, area.left, area.top), krx::GetThemeColours(3)[4]);
}

}  // namespace
