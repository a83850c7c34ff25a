// The skinned message box: sizes from the text, the buttons of each mode,
// and Enter / Escape answering as the program expects.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/theme_table.h"
#include "skin/skin_message_box.h"
#include "skin/skin_message_dlg.h"
#include "core/skin_geometry.h"
#include "support/window_capture_win32.h"

namespace {

using krx::CSkinMessageDlg;

// The message box this thread shows now, or null.
CSkinMessageDlg* OpenBox() {
  return dynamic_cast<CSkinMessageDlg*>(krx::CWnd::FromHandle(GetActiveWindow()));
}

// Runs `look` on the box once it is up, then presses `key` in it.
void WhenOpen(std::function<void(CSkinMessageDlg&)> look, UINT key) {
  krx_test::RunInLoop([look, key] {
    CSkinMessageDlg* box = OpenBox();
    ASSERT_NE(box, nullptr);
    krx_test::PumpMessages();
    if (look) look(*box);
    // The key goes where the keyboard focus is, as a user's would.
    HWND focus = GetFocus();
    krx_test::PostKey(focus && (focus == box->m_hWnd || IsChild(*box, focus)) ? focus : box->m_hWnd, key);
  });
}

RECT ChildRect(krx::CWnd& child, HWND parent) {
  RECT r = child.GetWindowRect();
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST(SkinMessageBox, OneWordIsCentredInTheNarrowestBox) {
  WhenOpen(
      [](CSkinMessageDlg& box) {
        RECT w = box.GetWindowRect();
        EXPECT_EQ(w.right - w.left, 220);
        RECT t = ChildRect(box.TextControl(), box);
        EXPECT_EQ(t.left, (220 - (t.right - t.left)) / 2);
        EXPECT_EQ(t.top, 55);
        EXPECT_EQ(w.bottom - w.top, (t.bottom - t.top) + 120);
        EXPECT_EQ(box.GetWindowText(), "Message");
        EXPECT_FALSE(box.CloseButton().IsWindowVisible());
        EXPECT_TRUE(box.Button(0).IsWindowVisible());
        EXPECT_FALSE(box.Button(1).IsWindowVisible());
        EXPECT_EQ(box.Button(0).GetWindowText(), "&OK");
        RECT ok = ChildRect(box.Button(0), box);
        EXPECT_EQ(ok.left, (220 - 68) / 2);
        EXPECT_EQ(ok.right - ok.left, 68);
        EXPECT_EQ(ok.top, (w.bottom - w.top) - 40);
      },
      VK_ESCAPE);
  krx::SkinMessageBox("Saved.", 5);
  EXPECT_EQ(OpenBox(), nullptr);
}

TEST(SkinMessageBox, LongTextWrapsAt440InA500PixelBox) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "wrapping words ";
  WhenOpen(
      [](CSkinMessageDlg& box) {
        RECT w = box.GetWindowRect();
        EXPECT_EQ(w.right - w.left, 500);
        RECT t = ChildRect(box.TextControl(), box);
        EXPECT_EQ(t.left, 30);
        EXPECT_EQ(t.right, 470);
        EXPECT_GT(t.bottom - t.top, 3 * 12);  // several lines
        EXPECT_EQ(w.bottom - w.top, (t.bottom - t.top) + 120);
      },
      VK_RETURN);
  krx::SkinMessageBox(text, 2);
}

TEST(SkinMessageBox, YesNoAnswersEnterYesEscapeNo) {
  WhenOpen(
      [](CSkinMessageDlg& box) {
        EXPECT_EQ(box.GetWindowText(), "Please select");
        EXPECT_EQ(box.Button(0).GetWindowText(), "&Yes");
        EXPECT_EQ(box.Button(1).GetWindowText(), "&No");
        RECT w = box.GetWindowRect();
        RECT yes = ChildRect(box.Button(0), box), no = ChildRect(box.Button(1), box);
        EXPECT_EQ(yes.left, ((w.right - w.left) - 176) / 2);
        EXPECT_EQ(no.left, yes.left + 108);
        EXPECT_EQ(box.Button(0).GetTheme(), 6);
      },
      VK_RETURN);
  EXPECT_TRUE(krx::SkinYesNoBox("Delete the selected items?", 6));
  WhenOpen(nullptr, VK_ESCAPE);
  EXPECT_FALSE(krx::SkinYesNoBox("Delete the selected items?", 6));
  // Y and N alone, as Windows' own Yes/No box takes them.
  WhenOpen(nullptr, 'Y');
  EXPECT_TRUE(krx::SkinYesNoBox("Delete the selected items?", 6));
  WhenOpen(nullptr, 'N');
  EXPECT_FALSE(krx::SkinYesNoBox("Delete the selected items?", 6));
  // Typed where the keyboard focus is, as a user types them: the box has it,
  // not the field of the window behind that had it before.
  HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                               nullptr, nullptr);
  HWND field = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 10, 200, 20, owner, nullptr, nullptr, nullptr);
  SetActiveWindow(owner);
  SetFocus(field);
  krx_test::RunInLoop([] {
    krx_test::PumpMessages();
    krx_test::PostKey(GetFocus() ? GetFocus() : GetActiveWindow(), 'N');
  });
  EXPECT_FALSE(krx::SkinYesNoBox("Delete the selected items?", 6));
  EXPECT_EQ(GetWindowTextLengthA(field), 0);
  DestroyWindow(owner);
  // Only in a box that has them: Y in a Retry/Cancel box answers nothing,
  // and the Escape after it cancels.
  CSkinMessageDlg retry;
  krx_test::RunInLoop([] {
    HWND box = GetActiveWindow();
    krx_test::PostKey(GetFocus() ? GetFocus() : box, 'Y');
    krx_test::PostKey(GetFocus() ? GetFocus() : box, VK_ESCAPE);
  });
  EXPECT_EQ(retry.ShowModal("Try again?", krx::kModeRetryCancel), IDCANCEL);
  EXPECT_EQ(retry.ResultIndex(), 1);
}

TEST(SkinMessageBox, ButtonsGiveTheirResultIndex) {
  CSkinMessageDlg box;
  box.SetCustomLabels({"One", "Two", "Three", "Four", "Five"});
  box.SetCustomCaption("Choose");
  krx_test::RunInLoop([] {
    CSkinMessageDlg* open = OpenBox();
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->GetWindowText(), "Choose");
    EXPECT_EQ(open->Button(3).GetWindowText(), "Four");
    RECT third = ChildRect(open->Button(2), *open), fourth = ChildRect(open->Button(3), *open);
    EXPECT_EQ(third.right + 10, fourth.left);
    open->Button(2).Click();
  });
  EXPECT_EQ(box.ShowModal("Which one?", krx::kModeCustom), IDOK);
  EXPECT_EQ(box.ResultIndex(), 2);

  CSkinMessageDlg retry;
  krx_test::RunInLoop([] { OpenBox()->Button(1).Click(); });
  EXPECT_EQ(retry.ShowModal("Try again?", krx::kModeRetryCancel), IDCANCEL);
  EXPECT_EQ(retry.ResultIndex(), 1);
}

TEST(SkinMessageBox, OwnerIsDisabledWhileItShows) {
  HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                               nullptr, nullptr);
  SetActiveWindow(owner);
  bool ownerEnabled = true;
  WhenOpen([&](CSkinMessageDlg&) { ownerEnabled = IsWindowEnabled(owner) != FALSE; }, VK_ESCAPE);
  krx::SkinMessageBox("Busy.", 5);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);
  DestroyWindow(owner);
}


// Dark pixels of what `paint` draws into a white bitmap of the given size.
int InkPixels(int width, int height, const std::function<void(HDC)>& paint) {
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(mem, bitmap);
  RECT all = {0, 0, width, height};
  FillRect(mem, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
  SetBkMode(mem, TRANSPARENT);
  paint(mem);
  int ink = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (GetRValue(GetPixel(mem, x, y)) < 128) ++ink;
  SelectObject(mem, old);
  DeleteObject(bitmap);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ink;
}

// A text of whole words whose single-line extent in `font` is just above or
// just below `limit` pixels, ending in a full stop.
std::string TextNear(HFONT font, int limit, bool above) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  std::string text = "Please check", longer;
  for (int i = 0;; ++i) {
    longer = text + (i % 2 ? " your network" : " connection") + ".";
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, longer.c_str(), int(longer.size()), &size);
    if (size.cx > limit) break;
    text = longer.substr(0, longer.size() - 1);
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return above ? longer : text + ".";
}

// Every character of the message shows: the text control holds as much ink
// as the same text drawn without any clipping, wrapped at the same width.
TEST(SkinMessageBox, TheWholeTextIsDrawnInsideItsControl) {
  HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Tahoma");
  const std::vector<std::string> texts = {
      "Can not connect to 127.0.0.1:34357, Please check your network connection.",
      TextNear(font, krx::kMessageMaxTextWidth, false), TextNear(font, krx::kMessageMaxTextWidth, true),
      TextNear(font, 2 * krx::kMessageMaxTextWidth, true), "Saved."};
  DeleteObject(font);
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    WhenOpen(
        [&text](CSkinMessageDlg& box) {
          krx::CSkinStatic& control = box.TextControl();
          const RECT client = control.GetClientRect();
          HFONT own = control.GetFont();
          const int shown = InkPixels(client.right, client.bottom, [&](HDC dc) {
            control.SendMessage(WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT | PRF_ERASEBKGND);
          });
          const int whole = InkPixels(client.right + 100, client.bottom + 30, [&](HDC dc) {
            HGDIOBJ old = SelectObject(dc, own);
            RECT r = {0, 0, client.right, client.bottom};
            DrawTextA(dc, text.c_str(), -1, &r, DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP);
            SelectObject(dc, old);
          });
          EXPECT_GT(whole, 0);
          EXPECT_GE(shown, whole);
          // Just above the limit wraps, just below does not.
          RECT one = {0, 0, 0, 0};
          HDC dc = GetDC(control);
          HGDIOBJ old = SelectObject(dc, own);
          DrawTextA(dc, text.c_str(), -1, &one, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
          SelectObject(dc, old);
          ReleaseDC(control, dc);
          if (one.right > krx::kMessageMaxTextWidth) {
            EXPECT_EQ(client.right, krx::kMessageMaxTextWidth);
            EXPECT_GT(client.bottom, one.bottom);
          } else {
            EXPECT_EQ(client.right, one.right);
            EXPECT_EQ(client.bottom, one.bottom);
          }
        },
        VK_RETURN);
    krx::SkinMessageBox(text, 1);
  }
}

}  // namespace
